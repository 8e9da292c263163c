#include <wx/event.h>

#include "app/dialogs/insert_html_dlg.h"
#include "app/docview/message_dlg.h"
#include "app/palettes/object_page.h"
#include "app/palettes/prop_frames.h"
#include "app/shell/command_ids.h"
#include "app/shell/logic/frame_texts.h"
#include "app/shell/main_frame.h"
#include "app/shell/program_services.h"
#include "platform/gui/text_bytes.h"


namespace {

// The Insert HTML dialog while it is open; Edit > Delete goes to it then.
CInsertHtmlDLG* g_pInsertHtml = nullptr;

} // namespace

bool RunInsertHtmlEditCommand(int id)
{
    if (!g_pInsertHtml)
        return false;
    switch (id) {
    case ID_EDIT_CUT:
        g_pInsertHtml->OnCut();
        return true;
    case ID_EDIT_COPY:
        g_pInsertHtml->OnCopy();
        return true;
    case ID_EDIT_PASTE:
        g_pInsertHtml->OnPaste();
        return true;
    default:
        return false;
    }
}

bool UpdateInsertHtmlEditCommand(wxUpdateUIEvent& event)
{
    if (!g_pInsertHtml)
        return false;
    switch (event.GetId()) {
    case ID_EDIT_CUT:
        event.Enable(g_pInsertHtml->CanCutCode());
        return true;
    case ID_EDIT_COPY:
        event.Enable(g_pInsertHtml->CanCopyCode());
        return true;
    case ID_EDIT_PASTE:
        event.Enable(g_pInsertHtml->CanPasteCode());
        return true;
    default:
        return false;
    }
}

bool CProgramServices::RunInsertHtmlDialog(HtmlObjectTexts& texts)
{
    CInsertHtmlDLG dialog(m_pFrame, texts);
    if (!dialog.IsOk())
        return false;
    g_pInsertHtml = &dialog;
    const int result = dialog.ShowModal();
    g_pInsertHtml = nullptr;
    if (result != wxID_OK)
        return false;
    texts = dialog.GetTexts();
    return true;
}

bool CProgramServices::IsInsertHtmlDialogOpen()
{
    return g_pInsertHtml != nullptr;
}

void CProgramServices::RemoveInsertHtmlFile()
{
    if (g_pInsertHtml)
        g_pInsertHtml->OnRemoveFile();
}

YesNoCancel CProgramServices::AskYesNoCancel(const std::string& text)
{
    CMessageDlg question(m_pFrame, BytesToWx(GetProductName()), BytesToWx(text), wxYES_NO | wxCANCEL,
                         MessageIcon::question);
    switch (question.ShowModal()) {
    case wxID_YES:
        return YesNoCancel::yes;
    case wxID_NO:
        return YesNoCancel::no;
    default:
        return YesNoCancel::cancel;
    }
}

void CProgramServices::SendObjectPageCommand(int command, bool newObject)
{
    CPropSheetManager* manager = m_pFrame ? m_pFrame->GetPalettes().GetManager() : nullptr;
    auto* frame = manager ? dynamic_cast<CPropFrame*>(manager->GetPropFrame(kObjectPropSheet)) : nullptr;
    auto* page = frame ? dynamic_cast<CObjectPage*>(frame->GetSheet()->GetActivePage()) : nullptr;
    if (!page)
        return;
    if (newObject)
        page->RunPlacedObjectCommand(command);
    else
        page->RunCommand(command);
}
