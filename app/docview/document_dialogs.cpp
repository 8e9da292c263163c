#include "app/docview/document_dialogs.h"

#include <wx/dialog.h>
#include <wx/filedlg.h>
#include <wx/xrc/xmlres.h>

#include "app/docview/file_preview_dlg.h"
#include "app/docview/message_dlg.h"
#include "app/docview/site_file_prompt.h"
#include "app/model/app_settings.h"
#include "app/model/services.h"
#include "app/model/site_paths.h"
#include "platform/gui/text_bytes.h"
#include "platform/gui/xrc_resources.h"

SaveChangesAnswer AskSaveChangesDialog(wxWindow* parent)
{
    wxDialog dialog;
    if (!LoadXrcResources() || !wxXmlResource::Get()->LoadDialog(&dialog, MessageParent(parent), "301"))
        return SaveChangesAnswer::cancel;
    FinishMessageLayout(dialog);
    dialog.SetAffirmativeId(wxID_YES);
    // Yes and No leave the dialog's centre as the place where the next dialogs open; Cancel does not.
    const auto answer = [&dialog](int result) {
        if (CAppSettings* settings = GetAppSettings()) {
            const wxRect at = dialog.GetRect();
            settings->m_dialogCenter = CPoint(at.GetLeft() + at.GetWidth() / 2, at.GetTop() + at.GetHeight() / 2);
        }
        dialog.EndModal(result);
    };
    dialog.Bind(
        wxEVT_BUTTON, [answer](wxCommandEvent&) { answer(wxID_YES); }, wxID_YES);
    dialog.Bind(
        wxEVT_BUTTON, [answer](wxCommandEvent&) { answer(wxID_NO); }, wxID_NO);
    switch (dialog.ShowModal()) {
    case wxID_YES:
        return SaveChangesAnswer::yes;
    case wxID_NO:
        return SaveChangesAnswer::no;
    default:
        return SaveChangesAnswer::cancel;
    }
}

void ShowDocumentNotice(wxWindow* parent, DocumentNotice notice)
{
    wxDialog dialog;
    if (LoadXrcResources() &&
        wxXmlResource::Get()->LoadDialog(&dialog, MessageParent(parent), wxString::Format("%d", notice))) {
        FinishMessageLayout(dialog);
        dialog.ShowModal();
    }
}

bool PromptSiteFileDialog(wxWindow* parent, const std::string& suggestion, std::string& path)
{
    path = suggestion;
    return PromptSiteFileDialog(parent, path, false, false);
}

bool PromptSiteFileDialog(wxWindow* parent, std::string& path, bool open, bool theme)
{
    const SiteFilePrompt prompt = MakeSiteFilePrompt(path, open, theme);
    if (open) {
        CFilePreviewDLG dialog(MessageParent(parent), prompt.title, prompt.folder, prompt.name, prompt.filter);
        if (!dialog.IsOk() || dialog.ShowModal() != wxID_OK)
            return false;
        path = dialog.GetPath();
        return !path.empty();
    }
    // The toolkit's own overwrite question would ask about the typed name, not the one written once the
    // extension is mended, so the question comes after the mending.
    const auto choose = [&](std::string& chosen) {
        wxFileDialog dialog(MessageParent(parent), prompt.title, PathToWx(GetPathFolder(chosen)),
                            PathToWx(GetPathFileName(chosen)), prompt.filter, wxFD_SAVE);
        if (dialog.ShowModal() != wxID_OK)
            return false;
        chosen = PathFromWx(dialog.GetPath());
        return true;
    };
    const auto mayReplace = [&](const std::string& chosen) {
        return GetMessages().AskYesNo(prompt.title, ReplaceFileQuestion(chosen));
    };
    std::string start = prompt.folder + prompt.name;
    if (!ChooseSiteFileToSave(start, theme, choose, mayReplace))
        return false;
    path = start;
    return true;
}
