#pragma once

// One page of the open site: a canvas of fixed size with the texts of its HTML head, its background, guides and
// grid, the z-ordered items that carry its objects, the frames of its selection and user groups, its own undo
// history and the scratch map every object renders through. The design view shows one page at a time; it draws
// the page into its off-screen buffer tile by tile through Draw.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/model/fill_style.h"
#include "image/image.h"
#include "platform/win/file.h"
#include "platform/win/win_types.h"

class CWebsite;
class CUndoManager;
class CPageObject;
class CPageItem;
class CObjectFrame;
class CTaskPool;

// What a new page takes from its site's defaults for new pages.
struct NewPageSettings
{
    CFillStyle background;
    bool centered = false;
    int width = 740;
    int height = 600;
    int doctype = 0;
};

class CSitePage
{
public:
    static constexpr int kUndoCapacity = 500;
    // Every object renders through one map of this size, and the view draws the page in tiles of it.
    static constexpr int kRenderBufferSize = 256;
    // The most guides of one direction a stored page may hold.
    static constexpr int kMaxGuides = 1000;
    // The first four bytes of a stored page; the sizes it may have are page_size.h's.
    static constexpr DWORD kStreamTag = 0x7a292e05;
    // The refresh codes the palettes get.
    static constexpr int kItemsChanged = 10011;
    static constexpr int kFramesChanged = 10012;
    static constexpr int kCommandDone = 10018;

    CSitePage(CWebsite* site, const std::string& name, const std::string& title,
              const NewPageSettings& settings = NewPageSettings());
    CSitePage(const CSitePage&) = delete;
    CSitePage& operator=(const CSitePage&) = delete;
    ~CSitePage();

    // Makes this page a copy of source under another name: texts (but not the onload code and its files), size,
    // guides and flags, a copy of the background, and a duplicate of every item, all selected in one frame. The
    // source's groups, undo history and page image stay behind.
    void CopyFrom(const CSitePage& source, const std::string& name, const std::string& title);

    // Flags and settings. Nearly every change of the page ends with SetModified, which also marks the site.
    void SetModified();
    void SetPageInfo(const std::string& name, const std::string& title, const std::string& headerHtml, int width,
                     int height, int doctype);
    void SetDoctype(int doctype);
    // Takes the new background and hands back the old one, for the caller to keep (undo) or drop.
    std::unique_ptr<CFillStyle> SetBackground(std::unique_ptr<CFillStyle> background);
    void SetWidth(int width);
    void SetHeight(int height);
    // While frozen, rendering skips the objects of selected frames: a dragged selection keeps its images until
    // the gesture ends and the view thaws it.
    void FreezeSelectedObjects();
    void UnfreezeSelectedObjects() { m_freezeSelection = false; }

    CWebsite* GetSite() const { return m_site; }
    const std::string& GetName() const { return m_name; }
    void SetName(const std::string& name);
    const std::string& GetTitle() const { return m_title; }
    void SetTitle(const std::string& title);
    const std::string& GetHeaderHtml() const { return m_headerHtml; }
    void SetHeaderHtml(const std::string& html);
    const std::string& GetOnloadCode() const { return m_onloadCode; }
    void SetOnloadCode(const std::string& code);
    const std::string& GetKeywords() const { return m_keywords; }
    void SetKeywords(const std::string& keywords);
    const std::string& GetDescription() const { return m_description; }
    void SetDescription(const std::string& description);
    const std::string& GetAnalyticsCode() const { return m_analyticsCode; }
    void SetAnalyticsCode(const std::string& code);
    const std::vector<std::string>& GetUsedFiles() const { return m_usedFiles; }
    void SetUsedFiles(std::vector<std::string> files);
    bool IsFrontPage() const { return m_frontPage; }
    void SetFrontPage(bool front) { m_frontPage = front; }
    bool IsCentered() const { return m_centered; }
    void SetCentered(bool centered) { m_centered = centered; }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    int GetDoctype() const { return m_doctype; }
    CFillStyle* GetBackground() const { return m_background.get(); }
    CUndoManager* GetUndoManager() const { return m_undoManager.get(); }
    CPixMap* GetRenderBuffer() const { return m_renderBuffer.get(); }
    bool IsSaved() const { return m_saved; }
    void SetSaved(bool saved) { m_saved = saved; }
    bool IsSelectionFrozen() const { return m_freezeSelection; }
    // The text object the view edits in place, and whether that edit runs; set by the view.
    CPageObject* GetEditedObject() const { return m_editedObject; }
    void SetEditedObject(CPageObject* object) { m_editedObject = object; }
    bool IsEditingInPlace() const { return m_editingInPlace; }
    void SetEditingInPlace(bool editing) { m_editingInPlace = editing; }
    BYTE GetFirstPageByte() const { return m_firstPageByte; }
    void SetFirstPageByte(BYTE value) { m_firstPageByte = value; }
    // Read and cleared by the publisher's tracking of changed pages.
    bool IsChangedSinceUpload() const { return m_changedSinceUpload; }
    void SetChangedSinceUpload(bool changed) { m_changedSinceUpload = changed; }

    // Guides: the horizontal list holds y positions, the vertical one x positions. i must be below the count.
    void AddGuide(bool horizontal, int position);
    int GetGuideCount(bool horizontal) const;
    int GetGuide(bool horizontal, int i) const;
    void SetGuide(bool horizontal, int i, int position);
    void RemoveGuide(bool horizontal, int i);
    void RemoveAllGuides();
    void SortGuides();
    // Grid modes 1, 2 and 4 lay guides every 10, 20 or 40 pixels across the page, both ways, at most kMaxGuides
    // each; any other mode leaves no guides.
    void MakeGridGuides(int mode);
    int GetGridMode() const { return m_gridMode; }
    void SetGridMode(int mode) { m_gridMode = mode; }
    bool AreGuidesHidden() const { return m_guidesHidden; }
    void SetGuidesHidden(bool hidden) { m_guidesHidden = hidden; }

    // Items and z-order; the first item is drawn first. Kept-on-top items (CPageItem::IsKeptOnTop) form the tail.
    int GetItemCount() const { return static_cast<int>(m_items.size()); }
    // Null when i is out of range.
    CPageItem* GetItem(int i) const;
    // A new object of the tools bar's tool at a point, added and made the only selection; null when the tool
    // makes no object here.
    CPageItem* CreateObject(POINT point, int shapeKind);
    CPageItem* AddObject(std::unique_ptr<CPageObject> object);
    // Paste and undo hand items back through these.
    CPageItem* InsertItem(std::unique_ptr<CPageItem> item);
    // Takes the item out of the page (and out of its frame) and hands it to the caller; null when it is not here.
    std::unique_ptr<CPageItem> RemoveItem(CPageItem* item);
    // The item whose current object is the object, else null.
    CPageItem* FindItem(const CPageObject* object) const;
    // Stores the item at index, handing back the one it replaces; past the end it is appended (undo).
    std::unique_ptr<CPageItem> SetItemAt(int index, std::unique_ptr<CPageItem> item);
    // 0 for an item not in the list as well.
    int IndexOfItem(const CPageItem* item) const;
    // Moves the item to index counted in the list without it (at or past the end appends), within its own part of
    // the list: an item kept on top never goes below the others, and no other item goes into the kept-on-top run.
    void MoveItem(CPageItem* item, int index);
    void NotifyPageDeleted(int page);
    void ReleaseCachedImages();

    // Selection and groups. Every item that is selected or grouped points to exactly one frame of this page.
    int GetGroupCount() const { return static_cast<int>(m_groups.size()); }
    CObjectFrame* GetGroupAt(int i) const;
    bool HasSelection() const;
    int GetSelectedItemCount() const;
    CObjectFrame* GetSingleSelectedFrame() const;
    CPageItem* GetSingleSelectedItem() const;
    CObjectFrame* GetSelectedGroup() const;
    bool IsSingleUserGroupSelected() const;
    bool CanCreateGroup() const;
    bool IsItemSelected(int i) const;
    bool IsPageItemSelected(const CPageItem* item) const;
    bool IsItemGrouped(int i) const;
    CObjectFrame* GetItemGroup(int i) const;

    // User groups stay (deselected); every other frame goes.
    void ClearSelection();
    CObjectFrame* SelectItem(CPageItem* item);
    CObjectFrame* SelectItemAt(int i);
    void AddToSelection(CPageItem* item);
    void AddItemToSelection(int i);
    // Takes every selected item out of the page, in z-order, for the caller (undo) to keep; the selected frames
    // are deleted.
    std::vector<std::unique_ptr<CPageItem>> RemoveSelection();
    void RemoveItemFromGroup(CPageItem* item);
    void RemoveItemFromGroup(int i);
    void AddGroup(std::unique_ptr<CObjectFrame> frame);
    // Stores the frame at i, handing back the one it replaces; past the end it is appended.
    std::unique_ptr<CObjectFrame> SetGroupAt(int i, std::unique_ptr<CObjectFrame> frame);
    // Takes the frame out without deleting it; its members point to no frame.
    std::unique_ptr<CObjectFrame> RemoveGroup(CObjectFrame* frame);
    // Requires CanCreateGroup: all selected members go into one new user group (groups do not nest).
    CObjectFrame* CreateGroup();
    // Requires IsSingleUserGroupSelected: the group becomes a plain selection frame.
    void Ungroup();
    // Every frame selected, and the loose items together in one more frame.
    void SelectAll();

    // The page's record in the site file. Save writes it whole and marks the page saved; false when an item
    // cannot be written (the record is then incomplete) or the page's size is one no reader accepts.
    bool Save(CFile& file);
    // Reads a record into a page just made for the site, under the rules of the file's version. False when the
    // record is refused (the page keeps what was read so far); a string too long for its field, or a record cut
    // short, raises the file exception.
    bool Load(CFile& file, int major, int minor);

    // Rendering. Draw composes the page inside rect (page coordinates) into buffer: 4 bytes a pixel, alpha, red,
    // green, blue, stride bytes a row, its origin at the rectangle's top left. The view passes tiles of
    // kRenderBufferSize, which every object crosses in one piece; a larger rectangle is served piece by piece.
    // ghost paints a flat grey page and grey silhouettes (while the objects are not ready); onlySelected leaves
    // out the unselected items.
    void Draw(const RECT& rect, BYTE* buffer, int stride, bool drawBackground, bool onlySelected, bool ghost);
    // Draw for several areas at once, tile by tile (tiles of kRenderBufferSize), the tiles spread over the pool's
    // threads (the shared pool when none is given). deliver receives each tile's pixels (as Draw leaves them,
    // 4 bytes a pixel) on the thread that drew them and must only write what belongs to that tile: the areas must
    // not overlap. A page whose drawing would render an object itself draws on the calling thread alone.
    // The object being edited in place is left out, unless edited is given: the editor's drawing of it, called
    // for each tile (page rectangle, pixels as above) in the object's place among the others, so that the objects
    // in front of it cover it as they always do. It may run on any of the pool's threads.
    using TileSink = std::function<void(const CRect& tile, const BYTE* pixels, int stride)>;
    using TilePainter = std::function<void(const CRect& tile, BYTE* pixels, int stride)>;
    void DrawAreas(const std::vector<CRect>& areas, bool drawBackground, bool ghost, const TileSink& deliver,
                   CTaskPool* pool = nullptr, const TilePainter* edited = nullptr);
    // Blends one object's cached image over buffer, which holds part of the page (inside the object's bounds,
    // stride bytes a row, origin at the part's top left); ghost blends a grey silhouette instead. The site builder
    // composes its pictures of the page through this.
    void DrawObject(CPageObject& object, const CRect& part, BYTE* buffer, int stride, bool ghost = false);
    // The same through a scratch map of the caller's (interleaved alpha and RGB, at least 1 x 1), for drawing on
    // several threads at once.
    void DrawObject(CPageObject& object, const CRect& part, BYTE* buffer, int stride, bool ghost, CPixMap& scratch);
    // Brings every object's image up to date, spread over the pool's threads (the program's shared pool when none
    // is given).
    void RenderDirtyObjects(CTaskPool* pool = nullptr);
    // The same for several pages at once.
    static void RenderDirtyObjects(CSitePage* const* pages, size_t count, CTaskPool* pool = nullptr);
    bool IsItemToRender(int i) const;
    bool IsItemToRender(const CPageItem* item) const;
    // The whole page scaled to fit maxWidth x maxHeight, keeping its proportions, in mode 3. A saved front page
    // hands out the image it made last time for the same size instead of rendering again. False when nothing
    // could be made.
    bool RenderPageImage(CImage& image, int maxWidth, int maxHeight);
    // The last image RenderPageImage made; null before the first.
    const CImage* GetPageImage() const { return m_pageImage.get(); }
    bool IsShownInView() const;

    // The undo history's access to the whole lists: each takes the given list in place of the page's and hands
    // back the old one. Items get the page's render buffer; the items' frame pointers are the caller's to set.
    std::vector<std::unique_ptr<CPageItem>> ExchangeItems(std::vector<std::unique_ptr<CPageItem>> items);
    std::vector<std::unique_ptr<CObjectFrame>> ExchangeGroups(std::vector<std::unique_ptr<CObjectFrame>> groups);
    bool HoldsItem(const CPageItem* item) const { return FindIndex(item) >= 0; }

    // Z-order of the selection. The counts and indexes of one pass over the list; a lowest index starts at the
    // item count and a highest at 0 when the class is empty.
    struct ZOrderStats
    {
        int selectedOnTop = 0;
        int selectedNormal = 0;
        int allOnTop = 0;
        int allNormal = 0;
        int highestOnTop = 0;
        int lowestOnTop = 0;
        int highestNormal = 0;
        int lowestNormal = 0;
        int highestSelectedOnTop = 0;
        int lowestSelectedOnTop = 0;
        int highestSelectedNormal = 0;
        int lowestSelectedNormal = 0;
    };
    ZOrderStats CollectZOrderStats() const;
    bool CanBringForward() const;
    bool CanSendBackward() const;
    // The index of the first item of the kept-on-top run at the end of the list.
    int GetTopRunStart() const;
    // Each keeps the selected items' own order and keeps the kept-on-top run at the top of the list.
    void BringToFront();
    void SendToBack();
    void BringForward();
    void SendBackward();

private:
    // Inserts below the kept-on-top run (or at the end for a kept-on-top item); the item uses the render buffer.
    void PlaceItem(std::unique_ptr<CPageItem> item);
    // -1 when the item is not in the list.
    int FindIndex(const CPageItem* item) const;
    // Where a new item goes: the end for one kept on top, else just after the last item that is not.
    int InsertionIndex(const CPageItem& item) const;
    // Takes the item out of its frame, deleting a frame it was the only member of.
    void LeaveFrame(CPageItem* item);
    // Lets the frame's members go and deletes it.
    void DeleteGroup(CObjectFrame* frame);
    void UpdateViewForSize(bool erase);

    CWebsite* m_site;
    std::string m_name;
    std::string m_title;
    std::string m_headerHtml;
    std::string m_onloadCode;
    std::string m_keywords;
    std::string m_description;
    std::string m_analyticsCode;
    std::vector<std::string> m_usedFiles;
    bool m_frontPage = false;
    bool m_centered = false;
    int m_width = 0;
    int m_height = 0;
    int m_doctype = 0;
    std::unique_ptr<CFillStyle> m_background;
    std::unique_ptr<CUndoManager> m_undoManager;
    void DrawThrough(const CRect& update, BYTE* buffer, int stride, bool drawBackground, bool onlySelected, bool ghost,
                     CPixMap& scratch, const TilePainter* edited = nullptr);
    std::unique_ptr<CPixMap> m_renderBuffer;
    std::unique_ptr<CImage> m_pageImage;
    // The size m_pageImage was made to fit.
    SIZE m_pageImageLimit{0, 0};
    bool m_saved = false;
    bool m_freezeSelection = false;
    CPageObject* m_editedObject = nullptr;
    bool m_editingInPlace = false;
    bool m_rendering = false;
    std::vector<int> m_horizontalGuides;
    std::vector<int> m_verticalGuides;
    BYTE m_firstPageByte = 1;
    bool m_guidesHidden = false;
    bool m_changedSinceUpload = true;
    std::vector<std::unique_ptr<CPageItem>> m_items;
    std::vector<std::unique_ptr<CObjectFrame>> m_groups;
    int m_gridMode = 0;
};
