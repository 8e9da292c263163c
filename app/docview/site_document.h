#pragma once

// The document of the one open site: it owns the site, reads it from a site file, keeps it on disk (safe save,
// Save, Save As with the "-v6" names of converted sites, Close Website, the question whether to save before a
// window or the program closes) and answers the commands that act on the whole site. It shows nothing itself:
// every question and notice goes through its host, which the program gives it; the host of a document made
// without one answers as a cancelled dialog does.

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
// tracker, the local copy of the web site, and the views that show the document's pages.
class CDocumentHost
{
public:
    virtual ~CDocumentHost() = default;

    // Save changes to the website? (dialog 301)
    virtual SaveChangesAnswer AskSaveChanges() { return SaveChangesAnswer::cancel; }
    // The save dialog for site files, starting from suggestion; true with the chosen path.
    virtual bool PromptSaveSiteFile(const std::string& suggestion, std::string& path)
    {
        (void)suggestion, (void)path;
        return false;
    }
    // The changes could not be saved (dialog 304), before the save dialog offers another place.
    virtual void ShowChangesNotSaved() {}
    // The website could not be saved (402) / opened (403).
    virtual void ShowSaveError() {}
    virtual void ShowOpenError() {}
    // The name a site never saved is suggested under (string 3019).
    virtual std::string GetUntitledSiteName() { return "Untitled"; }
    // The user's documents folder, with its final "/"; a site never saved is first offered a place there.
    virtual std::string GetDocumentsFolder() { return {}; }
    virtual void AddToRecentFiles(const std::string& path) { (void)path; }
    // The changed-pages tracker: marks an opened site's pages, and is written after every save.
    virtual void ApplyChangedPages(CWebsite& site) { (void)site; }
    virtual void SaveChangedPages() {}
    // The local copy of the built web site beside the site file (path without its extension).
    virtual void WriteLocalWebsite(const std::string& basePath) { (void)basePath; }
    virtual void CloseAllDocuments() {}
    // The remove-included-files dialog: true on OK, with one entry per included file, 1 for those to remove.
    virtual bool RunRemoveFilesDialog(CWebsite& site, std::vector<int>& checks)
    {
        (void)site, (void)checks;
        return false;
    }
    // The site map over the site's reserved names and included files; it changes nothing.
    virtual void RunSiteMapDialog(const std::vector<std::string>& reservedNames,
                                  const std::vector<const CFilePair*>& pairs)
    {
        (void)reservedNames, (void)pairs;
    }
    // The views of the document's pages.
    virtual std::vector<PageView*> GetViews() { return {}; }
    // The standard settings for new pages: true when the dialog ended with OK or Transfer.
    virtual bool RunPageDefaultsDialog(CWebsite& site)
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
    // host may be null: every question then answers as a cancelled dialog does. The caller keeps the host alive.
    explicit COrvelDoc(CDocumentHost* host = nullptr);
    COrvelDoc(const COrvelDoc&) = delete;
    COrvelDoc& operator=(const COrvelDoc&) = delete;
    ~COrvelDoc();

    CWebsite* GetSite() const { return m_pSite.get(); }
    // A new site (File > New Website); the document owns it.
    void AttachSite(std::unique_ptr<CWebsite> site);
    // Deletes the site.
    void DeleteContents();

    // Reads the site file; false, with the open error shown and no site, when it cannot be read.
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
    CDocumentHost& Host() const { return m_host ? *m_host : m_noHost; }
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
    CDocumentHost* m_host;
    mutable CDocumentHost m_noHost;
    RenameFunction m_rename = &std::rename;
};
