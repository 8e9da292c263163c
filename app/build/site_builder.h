#pragma once

// The site builder: turns the open site into a folder of web pages and the pictures they show. A caller (publish,
// preview, print, local output) fills the options, runs one CSiteBuilder once and reads the result; the builder
// keeps the page records of its run until it goes, so the caller may still read them.
//
// The run, in order: one page record per page with an object record for every item that reaches onto the page;
// the text and counter layout; a check that no mouse-over item is covered; the output folders; the pictures of
// every page (background and objects); one HTML file per page. Nothing of the user's pages changes: selection,
// z-order and the saved and changed flags stay as they were.

#include <memory>
#include <string>
#include <vector>

#include "app/model/link_info.h"
#include "image/image.h"
#include "platform/win/win_types.h"

class CWebsite;
class CSitePage;
class CPictureWriter;
class CPageItem;
class CPageObject;
class CTaskPool;
class CPixMap;

// What the caller asks of a run. Folders end with their separator.
struct SiteBuildOptions
{
    // Nonzero for builds that no web server serves (preview and print): counters become pictures there.
    int offline = 0;
    // Where the pages go.
    std::string siteFolder;
    // Where the pictures and other files go; the pages reach it as "files/".
    std::string filesFolder;
    // Nonzero: the page background continues over the whole browser window; zero: outsideColor shows around the
    // page.
    BYTE fillOutside = 1;
    CColor outsideColor = CColor(255, 255, 255);
    // The threads that draw and write the pictures, the caller's among them; 0: one for each of the machine's
    // cores. The files come out the same with any number.
    unsigned threads = 0;
};

// The build's modes, which decide the notice shown for pages with HTML objects.
enum SiteBuildMode : int
{
    buildForPublish = 0,
    buildForPreview = 1, // preview and print
    buildForLocalOutput = 2,
};

// How a run ended.
enum SiteBuildCode : int
{
    buildDone = 0,
    buildMouseOverCovered = 1, // a mouse-over item is covered by an item above it
    buildTextProblem = 2,      // a text object cannot be built; callers treat it like 1
    buildCancelled = 3,
    buildWriteFailed = 4,  // a page, picture or copied file could not be written; message names the file
    buildFolderFailed = 5, // an output folder could neither be entered nor made; message names the folder
};

struct SiteBuildResult
{
    int code = buildDone;
    // The page on which the run stopped for codes 1, 2 and 4 (when a page was being built), else empty.
    std::string pageName;
    // Codes 1 and 2: the text to show the user. Codes 4 and 5: the file or folder that failed, with the cause.
    std::string message;
    // Code 1: the covered item.
    CPageItem* item = nullptr;
};

// One distinct text style of a page's HTML text; the page writer numbers styles by their place in the list.
struct TextStyleEntry
{
    int reserved = 0; // kept with the entry, never compared
    std::string face;
    int height = 0; // points
    BYTE italic = 0;
    BYTE bold = 0;
    BYTE underline = 0;
    COLORREF color = 0;

    bool SameStyle(const TextStyleEntry& other) const
    {
        return face == other.face && height == other.height && italic == other.italic && bold == other.bold &&
               underline == other.underline && color == other.color;
    }
};

// Where the style changes inside one object's HTML text: the character index counts over the object's whole text
// from 0 (paragraph ends not counted).
struct TextStyleRun
{
    int firstChar = 0;
    int style = 0;
};

// A maximal run of consecutive characters with equal links, inclusive.
struct TextLinkRun
{
    CLinkInfo link;
    int firstChar = 0;
    int lastChar = 0;
};

// One page item that reaches onto the page, in the page's z-order.
struct CObjectBuildRecord
{
    int imageNumber = -1;
    // "Object" and a number, set by the page writer.
    std::string className;
    // Where the item's output (picture, HTML text or counter) stands on the page, and its size.
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int zIndex = -1;
    // 1: a text object written as HTML text rather than as a picture.
    int asHtmlText = 0;
    CPageItem* item = nullptr;
    std::string imageUrl;
    BYTE hasMouseOverImage = 0;
    std::string mouseOverUrl;
    BYTE hasLink = 0;
    std::string linkUrl;
    int linkTarget = 0;
    // The linked character runs of an HTML text object, by first character.
    std::vector<TextLinkRun> linkRuns;
};

// Everything the page writer needs of one page.
struct CPageBuildRecord
{
    std::vector<std::unique_ptr<CObjectBuildRecord>> objects;
    std::vector<TextStyleEntry> textStyles;
    std::vector<TextStyleRun> textStyleRuns;
    CSitePage* page = nullptr;
    // The page's name, and its file name; both "index.html" for the home page.
    std::string name;
    std::string fileName;
    BYTE fillOutside = 1;
    CColor outsideColor = CColor(255, 255, 255);
    // 0 colour, 1 picture, 2 gradient.
    int backgroundKind = 0;
    COLORREF backgroundColor = 0;
    // "files/" and the background picture's file name.
    std::string backgroundUrl;
    BYTE tiled = 0;
    // 0..8 for a picture that is not tiled: top left, top centre, top right, ..., bottom right; 4 the centre.
    int imagePosition = 4;
    COLORREF visitedColor = 0;
    COLORREF linkColor = 0;
};

// What the run reports while it works, and how it learns that the user wants it to stop. The program's progress
// dialog implements it; the default answers nothing and never cancels.
class BuildProgress
{
public:
    virtual ~BuildProgress() = default;
    // The bar runs from 0 to kBuildProgressEnd.
    virtual void SetPhase(const std::string& text) { (void)text; }
    virtual void SetPageName(const std::string& name) { (void)name; }
    virtual void SetStep(int step) { (void)step; }
    virtual void StepIt() {}
    virtual void SetPos(int pos) { (void)pos; }
    // Redraws the dialog after a page's pictures.
    virtual void Repaint() {}
    // Polled after each page of the check, picture and writing phases and after each object picture; true ends
    // the run with buildCancelled.
    virtual bool IsCancelRequested() { return false; }
};

constexpr int kBuildProgressEnd = 1000000;

class CSiteBuilder
{
public:
    explicit CSiteBuilder(const SiteBuildOptions& options);
    ~CSiteBuilder();
    CSiteBuilder(const CSiteBuilder&) = delete;
    CSiteBuilder& operator=(const CSiteBuilder&) = delete;

    // The run over the site's pages in order. Files already written stay when it stops early.
    void BuildWebsite(SiteBuildResult& result, CWebsite* site, int mode, BuildProgress* progress = nullptr);

    const SiteBuildOptions& GetOptions() const { return m_options; }
    CWebsite* GetSite() const { return m_pSite; }
    const std::vector<std::unique_ptr<CPageBuildRecord>>& GetPageRecords() const { return m_pageRecords; }

    // The page built as "index.html": the site's home page, or its first page when no page is marked as home.
    static const CSitePage* HomePageOf(const CWebsite& site);
    bool IsHomePage(const CSitePage* page) const { return page && page == m_homePage; }

    // The output file name of the page record whose name equals pageName; empty when none does.
    std::string FindPageFileName(const std::string& pageName) const;
    // The next number of the page writer's "ObjectN" class names; numbering starts at 0 with every run, so the same
    // site always builds to the same bytes.
    int NextClassNumber() { return m_nextClassNumber++; }

    // Whether an item above record index of the page covers it: a later record whose rectangle meets its
    // rectangle and whose current object is not a text object written as HTML text.
    static bool IsOverlapped(const CPageBuildRecord& record, int index);

    // ---- The steps of each page (page_images.cpp) ----
    // Marks the text objects written as HTML text, places them and collects their link runs.
    void LayoutTextObjects(CPageBuildRecord& record, int pageIndex);
    // Places the counters of an online build, which the page shows as live elements rather than pictures.
    void LayoutCounters(CPageBuildRecord& record, int pageIndex);
    // Fills the page's text styles and the style runs of its HTML text.
    void CollectTextStyles(CPageBuildRecord& record, int pageIndex);
    // Fills the background fields of the record and writes the background picture. False, with the failure
    // noted (FailedFile), when the picture cannot be written.
    bool BuildBackgroundImage(CPageBuildRecord& record, int pageIndex);
    // Writes the object pictures and fills the object records. buildDone, buildCancelled when the progress asked
    // to stop, or buildWriteFailed with the failure noted.
    int BuildObjectImages(CPageBuildRecord& record, int pageIndex, BuildProgress& progress);

    // The file or folder whose write failed, with its cause; set by the steps before they report the failure.
    const std::string& GetFailure() const { return m_failure; }
    void NoteFailure(const std::string& what) { m_failure = what; }

private:
    struct ImageName
    {
        std::string fileName;
        const CPageObject* object = nullptr;
    };
    // The output name a picture file took for itself, as a background or as an object's picture.
    struct OwnName
    {
        std::string sourcePath;
        bool background = false;
        std::string fileName;
    };

    // ---- Helpers of the picture steps (page_images.cpp) ----
    // Composes the page inside rect (clipped to the page) with the record's object drawn on top as object (its
    // main or mouse-over state) into a mode-3 image. Null, with the failure noted, when memory is short.
    std::unique_ptr<CImage> RenderItem(const CPageBuildRecord& record, int index, CPageObject& object,
                                       const CRect& rect);
    // The composition itself, through the caller's maps (the composition tile and the page's scratch map), on any
    // thread: it only reads the page. Null when memory is short.
    std::unique_ptr<CImage> ComposeItem(const CPageBuildRecord& record, int index, CPageObject& object,
                                        const CRect& rect, CPixMap& work, CPixMap& scratch) const;
    // Queues the composition of the picture and its writing as fileName for the pool's threads, which compose
    // pictures while this thread goes on to the next ones; a failure shows when the run waits for them.
    void SaveComposedPicture(const CPageBuildRecord& record, int index, CPageObject& object, const CRect& rect,
                             const std::string& fileName);
    // Whether the object record is left out of the pictures of the others: the page shows it by other means.
    bool IsLeftOutOfPictures(const CObjectBuildRecord& object) const;
    // Decides the file name of one state of an item and, when write is set, writes what the name refers to.
    // False, with the failure noted, when a file cannot be written.
    bool ApplyPictureRules(const CPageBuildRecord& record, int index, CPageObject& object, const CRect& rect,
                           const std::string& baseName, bool overlapped, bool write, std::string& fileName);
    // A picture of another format than the web's: its own file when that is smaller than the JPEG rendering,
    // else the rendering as baseName + ".jpg".
    bool ChooseSmallerPicture(const CPageBuildRecord& record, int index, CPageObject& object, const CRect& rect,
                              const std::string& source, const std::string& baseName, std::string& fileName);
    // The name of a rectangle picture written earlier in the run that the object may show, or null.
    const std::string* FindReusableName(const CPageObject& object) const;
    // The output name of a picture file: its own file name, made unique in the run, so that pictures of the same
    // name from different folders (or one file both as a background and as an object's picture, which are written
    // differently) never overwrite each other. The same file in the same role keeps its first name.
    std::string OwnOutputName(const std::string& sourcePath, bool background);
    // Queues the picture for the pool's threads; a failure shows when the run waits for them.
    bool SavePicture(std::unique_ptr<CImage> image, const std::string& fileName);
    bool SavePicture(const CImage& image, const std::string& fileName);
    // Writes the picture before returning, for the steps that read the file back.
    bool SavePictureNow(const CImage& image, const std::string& fileName);
    bool CopyPicture(const std::string& sourcePath, const std::string& fileName);
    void HandleEmbeddedObjectNotice();
    void FillLink(CObjectBuildRecord& object, const CPageObject& linked) const;

    SiteBuildOptions m_options;
    int m_nMode = buildForPublish;
    bool m_noticeShown = false;
    CWebsite* m_pSite = nullptr;
    const CSitePage* m_homePage = nullptr;
    std::vector<std::unique_ptr<CPageBuildRecord>> m_pageRecords;
    // Rectangle pictures already written in this run, which later equal rectangles reuse.
    std::vector<ImageName> m_imageNames;
    // The output names picture files took for themselves in this run, as backgrounds and as object pictures.
    std::vector<OwnName> m_ownNames;
    // Names the "IMG_" pictures after it; counts over the whole run.
    int m_imageCounter = 0;
    int m_nextClassNumber = 0;
    std::string m_failure;
    // The composition tile: 4 bytes a pixel.
    std::unique_ptr<CPixMap> m_workA;
    // The page whose pictures are being made, named with a failed picture.
    std::string m_pictureContext;
    std::unique_ptr<CPictureWriter> m_pWriter;
    // Renders the objects of each page on the cores and composes and writes the pictures; one of the program's
    // pools.
    CTaskPool* m_pool = nullptr;
    // The number of the page whose pictures are being made: their jobs' group.
    int m_pictureGroup = -1;
};

// Writes the page file of one record into the options' site folder: Windows-1252 text with CR LF line ends.
// False, with the failure noted in the builder, when the file cannot be written completely.
bool WritePage(CPageBuildRecord& record, CSiteBuilder& builder, BuildProgress& progress, SiteBuildOptions options);
