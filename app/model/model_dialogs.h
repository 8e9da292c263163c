#pragma once

// How the model shows its dialogs (the fill-picture dialogs, the picture and file choosers, the picture tool's
// messages, delete page, the files dialogs and the Insert HTML dialog) without depending on them. Every function is
// pure, so the program's services must answer each one to build; until they are installed (and in headless use)
// NullModelDialogs answers as a cancelled dialog does. Tests derive their fakes from it.

#include <string>
#include <vector>

#include "app/model/dialog_answer.h"
#include "app/model/file_pair.h"
#include "image/image.h"

// What the fill-picture dialogs show and hand back. The caller sets the colour and the path; after OK the try-again
// flag tells whether the user wants to pick another picture, else the colour is the solid colour to use.
struct FillPictureDialog
{
    CColor m_color = CColor(255, 255, 255);
    std::string m_strPath;
    bool m_tryAgain = false;
};

// The three dialogs that add files to a site's included files.
enum FilesDialogKind
{
    kAddFilesDialog,
    kAddFilesFromXmlDialog,
    kFilePlacementWizard,
};

// One place on the site where a files dialog put a file: the node of its folder tree that holds it (looked up by
// the chosen name), the file on disk and the remote path it takes.
struct FilePlacement
{
    std::string m_strName;
    std::string m_strSource;
    std::string m_remotePath;
};

// What a Flash program's page gives the selected HTML object: its code (or, for a marker block, its header
// HTML), the size it asks for (1 when none) and the files it uses.
struct FlashObjectCode
{
    bool m_set = false;
    std::string m_strCode;
    bool m_marker = false;
    int m_nWidth = 1;
    int m_nHeight = 1;
    std::vector<std::string> m_usedFiles;
};

// What a files dialog hands back when the user chose files.
struct FilesDialogResult
{
    std::vector<std::string> m_chosen;
    std::vector<FilePlacement> m_placements;
    // Set by the file-placement wizard only.
    FlashObjectCode m_flash;
};

// The texts the Insert HTML dialog edits for an HTML object; the used files come back as they went in.
struct HtmlObjectTexts
{
    std::string m_strName;
    std::string m_htmlCode;
    std::string m_headerHtml;
    std::string m_onloadCode;
    std::vector<std::string> m_usedFiles;
};

class ModelDialogs
{
public:
    virtual ~ModelDialogs() = default;

    // Whether the Insert HTML dialog is open (Edit > Delete goes to it then).
    virtual bool IsInsertHtmlDialogOpen() = 0;
    // Runs the Insert HTML dialog (497) over the texts; true, with the texts edited, when it ends with OK.
    virtual bool RunInsertHtmlDialog(HtmlObjectTexts& texts) = 0;
    // Removes the file selected in the open insert-HTML dialog from its list (Edit > Delete while it is open).
    virtual void RemoveInsertHtmlFile() = 0;

    // The dialogs the model shows. Headless each answers as a cancelled dialog does.
    // The picture of a fill does not exist (dialog 417) or is not a valid picture (418). The program brings the
    // current view up to date first, so that the user sees the page asked about.
    virtual DialogAnswer ShowFillMissingDialog(FillPictureDialog& dialog) = 0;
    virtual DialogAnswer ShowFillInvalidDialog(FillPictureDialog& dialog) = 0;
    // The picture being placed is larger than the page (dialog 494): whether to fit it to the page, and then whether
    // to keep its aspect ratio; both answers hold on ok.
    virtual DialogAnswer ShowPictureTooLargeDialog(bool& fit, bool& keepAspect) = 0;
    // Tells that memory is too short for a picture fill and a solid colour is used (dialog 419).
    virtual void ShowNoMemoryForFillDialog() = 0;
    // The open-picture chooser: path holds the folder to start in and, on true, the chosen file.
    virtual bool GetPictureFileName(std::string& path) = 0;
    // The open-file chooser for a linked document, any type of file: it opens in folder (the system's choice when
    // empty) with name filled in; true, with the chosen full path in path, when the user chose a file.
    virtual bool GetDocumentFileName(const std::string& folder, const std::string& name, std::string& path) = 0;
    // The picture tool's messages: 300 the picture cannot be loaded, 294 it is not a valid picture, 295 there is
    // not enough memory for it.
    virtual void ShowPictureDialog(int id) = 0;
    // Tells that the transparency of a PNG picture is lost where the picture carries effects (notice 5046).
    virtual void ShowPngTransparencyNotice() = 0;
    // Asks whether the current page is to be deleted (dialog 279).
    virtual DialogAnswer ShowDeletePageDialog() = 0;
    // Runs one of the files dialogs over the site's included files, with the output names they must not take
    // (existing pairs are locked). True, with the result filled, when the user chose files.
    virtual bool RunFilesDialog(FilesDialogKind kind, const std::vector<std::string>& reservedNames,
                                const std::vector<const CFilePair*>& pairs, FilesDialogResult& result) = 0;
};

class NullModelDialogs : public ModelDialogs
{
public:
    bool IsInsertHtmlDialogOpen() override { return false; }
    bool RunInsertHtmlDialog(HtmlObjectTexts& texts) override
    {
        (void)texts;
        return false;
    }
    void RemoveInsertHtmlFile() override {}
    DialogAnswer ShowFillMissingDialog(FillPictureDialog& dialog) override
    {
        (void)dialog;
        return DialogAnswer::cancel;
    }
    DialogAnswer ShowFillInvalidDialog(FillPictureDialog& dialog) override
    {
        (void)dialog;
        return DialogAnswer::cancel;
    }
    DialogAnswer ShowPictureTooLargeDialog(bool& fit, bool& keepAspect) override
    {
        fit = keepAspect = false;
        return DialogAnswer::cancel;
    }
    void ShowNoMemoryForFillDialog() override {}
    bool GetPictureFileName(std::string& path) override
    {
        (void)path;
        return false;
    }
    bool GetDocumentFileName(const std::string& folder, const std::string& name, std::string& path) override
    {
        (void)folder, (void)name, (void)path;
        return false;
    }
    void ShowPictureDialog(int id) override { (void)id; }
    void ShowPngTransparencyNotice() override {}
    DialogAnswer ShowDeletePageDialog() override { return DialogAnswer::cancel; }
    bool RunFilesDialog(FilesDialogKind kind, const std::vector<std::string>& reservedNames,
                        const std::vector<const CFilePair*>& pairs, FilesDialogResult& result) override
    {
        (void)kind, (void)reservedNames, (void)pairs, (void)result;
        return false;
    }
};

// Installs the program's dialogs; the caller keeps ownership and must keep them alive while installed. Null puts
// back the headless answers.
void SetModelDialogs(ModelDialogs* dialogs);
ModelDialogs& GetModelDialogs();
// Installs dialogs as SetModelDialogs does and hands back what answered before, so that a scope can put it back
// (seams_test_support.h does so for every seam).
ModelDialogs* ExchangeSeam(ModelDialogs* dialogs);
