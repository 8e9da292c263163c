#include "app/docview/document_dialogs.h"

#include <wx/dialog.h>
#include <wx/filedlg.h>
#include <wx/xrc/xmlres.h>

#include "app/docview/message_dlg.h"
#include "app/model/site_paths.h"
#include "platform/gui/xrc_resources.h"

namespace {

// Paths are the file system's bytes.
wxString ToWxPath(const std::string& path)
{
    return wxString(path.c_str(), *wxConvFileName);
}

} // namespace

SaveChangesAnswer AskSaveChangesDialog(wxWindow* parent)
{
    wxDialog dialog;
    if (!LoadXrcResources() || !wxXmlResource::Get()->LoadDialog(&dialog, MessageParent(parent), "301"))
        return SaveChangesAnswer::cancel;
    FinishMessageLayout(dialog);
    dialog.SetAffirmativeId(wxID_YES);
    dialog.Bind(
        wxEVT_BUTTON, [&dialog](wxCommandEvent&) { dialog.EndModal(wxID_NO); }, wxID_NO);
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
    // The name is offered without its extension, which the save puts back.
    wxFileDialog dialog(MessageParent(parent), "Save Website", ToWxPath(GetPathFolder(suggestion)),
                        ToWxPath(WithoutSiteExtension(GetPathFileName(suggestion))), "Websites (*.kst)|*.kst",
                        wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    if (dialog.ShowModal() != wxID_OK)
        return false;
    const wxCharBuffer chosen = dialog.GetPath().fn_str();
    path = chosen.data() ? std::string(chosen.data()) : std::string();
    return !path.empty();
}
