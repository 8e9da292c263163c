#pragma once

// The document of the one open site: it owns the site, reads it from a site file, keeps it on disk (safe save,
// Save, Save As with the "-v6" names of converted sites, Close Website, the question whether to save before a
// window or the program closes) and answers the commands that act on the whole site. It shows nothing itself:
// every question and notice goes through its host, which the program gives it.

#include <memory>
#include <string>
#include <vector>

#include "platform/win/file.h"
#include "platform/win/win_types.h"

class CFilePair;
class PageView;
class CSitePage;
class CWebsite;

// The answers of the save-changes question.
enum class SaveChangesAnswer
{
    yes,
    no,
    cancel,
};

// Closing a window, the site or the program; or replacing the site by another one (New Website, Open Website).
enum class CloseReason
{
    closing,
    replacing,
};

// What the document needs of the program around it: its dialogs, the recent-file list, the changed-pages
// tracker, the local copy of the web site, and the views that show the document's pages. Every function is pure,
// so the program's host must answer each one to build; NullDocumentHost answers before there is a program around
// the document, and tests derive their fakes from it.
class CDocumentHost
{
public:
    virtual ~CDocumentHost() = default;

    // Save changes to the website? (dialog 301)
    virtual SaveChangesAnswer AskSaveChanges() = 0;
    // The save dialog for site files, starting from suggestion; true with the chosen path.
    virtual bool PromptSaveSiteFile(const std::string& suggestion, std::string& path) = 0;
    // The changes could not be saved (dialog 304), before the save dialog offers another place.
    virtual void ShowChangesNotSaved() = 0;
    // The website could not be saved (402).
    virtual void ShowSaveError() = 0;
    // The site file could not be opened, and cause says why.
    virtual void ShowOpenError(const std::string& cause) = 0;
    // The name a site never saved is suggested under (string 3019).
    virtual std::string GetUntitledSiteName() = 0;
    // The user's documents folder, with its final "/"; a site never saved is first offered a place there.
    virtual std::string GetDocumentsFolder() = 0;
    virtual void AddToRecentFiles(const std::string& path) = 0;
    // The changed-pages tracker takes the site's changed pages and is written; after every save.
    virtual void SaveChangedPages(CWebsite& site) = 0;
    // The local copy of the built web site beside the site file (path without its extension).
    virtual void WriteLocalWebsite(CWebsite& site, const std::string& basePath) = 0;
    virtual void CloseAllDocuments() = 0;
    // The remove-included-files dialog: true on OK, with one entry per included file, 1 for those to remove.
    virtual bool RunRemoveFilesDialog(CWebsite& site, std::vector<int>& checks) = 0;
    // The site map over the site's reserved names and included files; it changes nothing.
    virtual void RunSiteMapDialog(const std::vector<std::string>& reservedNames,
                                  const std::vector<const CFilePair*>& pairs) = 0;
    // The views of the document's pages.
    virtual std::vector<PageView*> GetViews() = 0;
    // The standard settings for new pages: true when the dialog ended with OK or Transfer.
    virtual bool RunPageDefaultsDialog(CWebsite& site) = 0;
};

// The host of a document with no program around it: every dialog answers as a cancelled one does, there are no
// views, and nothing is kept or written beside the site file.
class NullDocumentHost : public CDocumentHost
{
public:
    SaveChangesAnswer AskSaveChanges() override { return SaveChangesAnswer::cancel; }
    bool PromptSaveSiteFile(const std::string& suggestion, std::string& path) override
    {
        (void)suggestion, (void)path;
        return false;
    }
    void ShowChangesNotSaved() override {}
    void ShowSaveError() override {}
    void ShowOpenError(const std::string& cause) override { (void)cause; }
    std::string GetUntitledSiteName() override { return "Untitled"; }
    std::string GetDocumentsFolder() override { return {}; }
    void AddToRecentFiles(const std::string& path) override { (void)path; }
    void SaveChangedPages(CWebsite& site) override { (void)site; }
    void WriteLocalWebsite(CWebsite& site, const std::string& basePath) override { (void)site, (void)basePath; }
    void CloseAllDocuments() override {}
    bool RunRemoveFilesDialog(CWebsite& site, std::vector<int>& checks) override
    {
        (void)site, (void)checks;
        return false;
    }
    void RunSiteMapDialog(const std::vector<std::string>& reservedNames,
                          const std::vector<const CFilePair*>& pairs) override
    {
        (void)reservedNames, (void)pairs;
    }
    std::vector<PageView*> GetViews() override { return {}; }
    bool RunPageDefaultsDialog(CWebsite& site) override
    {
        (void)site;
        return false;
    }
};

// The name a site file of this version is written under: a path without "-v6" anywhere gets it before its
// ".kst" extension, or at its end when it has none.
std::string ConvertedSitePath(const std::string& path);
// The path with the site file's extension ".kst", added when it does not end with it (case ignored).
std::string WithSiteExtension(const std::string& path);
// The path without a final ".kst".
std::string WithoutSiteExtension(const std::string& path);

// The page a window opens on: the front page, or the first page when no page carries the flag; null for a site
// without pages.
CSitePage* GetFrontOrFirstPage(const CWebsite& site);

// One entry of the Show Page submenu: what it shows and the page it opens.
struct ShowPageEntry
{
    std::string text;
    CSitePage* page;
};
// The site's pages by name, sorted without regard to case; the front page's name carries frontMarker.
std::vector<ShowPageEntry> BuildShowPageEntries(const CWebsite& site, const std::string& frontMarker);

// The new size of an object scaled to its picture fill of pictureSize, limited to the object's minimum and
// maximum size: the side that is relatively longer keeps its length.
SIZE ScaleToPicture(SIZE size, SIZE pictureSize, SIZE minSize, SIZE maxSize);

class COrvelDoc
{
public:
    // The caller keeps the host alive while the document lives.
    explicit COrvelDoc(CDocumentHost& host);
    COrvelDoc(const COrvelDoc&) = delete;
    COrvelDoc& operator=(const COrvelDoc&) = delete;
    ~COrvelDoc();

    CWebsite* GetSite() const { return m_pSite.get(); }
    // A new site (File > New Website); the document owns it.
    void AttachSite(std::unique_ptr<CWebsite> site);
    // Deletes the site.
    void DeleteContents();

    // Reads the site file at path (absolute) into a new site that replaces the document's one, on the first page
    // its windows can show, with the paths of its included files and linked documents following the file's
    // folder. False, with the open error shown and the document as it was, when the file cannot be read.
    bool OnOpenDocument(const std::string& path);
    // Ends in-place text editing and saves the site into path (the final path in *written); false on failure.
    bool OnSaveDocument(const std::string& path, std::string* written = nullptr);

    // Writes the site into path through a temporary file beside it, adding the ".kst" extension when it lacks
    // it. When that fails the user is told and may choose another place; false when the user gives up. The path
    // actually written is in *written.
    bool SaveSiteSafely(const std::string& path, std::string* written = nullptr);

    // Ends the in-place text edits of every view: an edit that left its text object empty removes it.
    void CommitPendingTextEdits();

    // Asks whether to save the changes, and saves; false when the caller is to stop (Cancel, or the save failed
    // or was cancelled).
    bool SaveModifiedBeforeClose(CloseReason reason);
    // A page window is closing and viewCount windows show the document: true when it may close.
    bool CanCloseFrame(int viewCount);

    // The File menu.
    void OnFileSave();
    void OnFileSaveAs();
    void OnFileClose();
    bool CanSave() const { return m_pSite != nullptr; }

    // The Additional Files commands.
    void OnAddFiles();
    void OnAddFilesFromXml();
    void OnRemoveFiles();
    bool CanRemoveFiles() const;
    // The file-placement wizard, which the Object palette's Add Flash starts.
    void RunFilePlacementWizard();
    // The site map: offered while the site has included files.
    void OnSiteMap();
    bool CanShowSiteMap() const { return CanRemoveFiles(); }
    // The standard settings for new pages: offered while there is a current page whose text is not being edited
    // in place. OK marks the site changed and draws every page again.
    void OnPageDefaults();
    bool CanPageDefaults() const;

    // Tests let the last step of a save, putting the new file in place, fail.
    void SetRenameFunction(RenameFunction rename) { m_rename = rename; }

private:
    // Steps 3 on of the question before closing, once the user said Yes.
    bool SaveBeforeClose(CloseReason reason);
    // The steps of Save and Save As after the file is chosen: false when the save failed.
    bool SaveAs(const std::string& target, bool newPath);
    // Where the save dialog starts: the settings' folder for site files.
    std::string SiteFileFolder() const;
    // Where the save dialog starts for a site that has no file yet: the user's documents folder and the site's
    // name, or the untitled name for a site without one.
    std::string NewSiteFileSuggestion();
    void SetSiteFileFolder(const std::string& path);
    // Moves the included files of a site converted from the old layout beside the site file's own folder.
    void RebuildIncludedFilePaths(const std::string& basePath);

    std::unique_ptr<CWebsite> m_pSite;
    CDocumentHost& m_host;
    RenameFunction m_rename = &std::rename;
};
