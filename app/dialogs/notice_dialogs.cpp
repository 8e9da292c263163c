#include "app/dialogs/notice_dialogs.h"

#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/display.h>
#include <wx/filedlg.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/xrc/xmlres.h>

#include "app/docview/message_dlg.h"
#include "app/model/app_settings.h"
#include "app/model/services.h"
#include "platform/gui/text_bytes.h"
#include "platform/resources/string_table.h"

namespace {

constexpr int kIconId = 1515;
constexpr int kTextId = 1551;
constexpr int kCheckId = 1550;
constexpr int kPageNameId = 1187;
constexpr int kReasonId = 1188;
constexpr int kPathId = 1549;
constexpr int kBrowseId = 130;
constexpr int kTextWidth = 340;

CSize ScreenSizeOf(const wxWindow& window)
{
    const int display = wxDisplay::GetFromWindow(&window);
    const wxRect screen = wxDisplay(display == wxNOT_FOUND ? 0u : static_cast<unsigned>(display)).GetGeometry();
    return CSize(screen.GetWidth(), screen.GetHeight());
}

wxArtID IconOf(NoticeIcon icon)
{
    switch (icon) {
    case NoticeIcon::warning:
        return wxART_WARNING;
    case NoticeIcon::error:
        return wxART_ERROR;
    case NoticeIcon::question:
        return wxART_QUESTION;
    case NoticeIcon::information:
        break;
    }
    return wxART_INFORMATION;
}

void SetWrappedLabel(wxWindow& dialog, int id, const wxString& text)
{
    if (auto* label = dynamic_cast<wxStaticText*>(dialog.FindWindow(id))) {
        label->SetLabel(text);
        label->Wrap(dialog.FromDIP(kTextWidth));
    }
}

void SetButtonLabel(wxWindow& dialog, int id, const wxString& label)
{
    if (auto* button = dynamic_cast<wxButton*>(dialog.FindWindow(id)))
        button->SetLabel(label);
}

} // namespace

void EscapeCancels(wxDialog& dialog)
{
    dialog.Bind(wxEVT_CHAR_HOOK, [&dialog](wxKeyEvent& key) {
        if (key.GetKeyCode() == WXK_ESCAPE)
            dialog.EndModal(wxID_CANCEL);
        else
            key.Skip();
    });
}

void SetIconAndText(wxDialog& dialog, NoticeIcon icon, const wxString& text)
{
    if (auto* picture = dynamic_cast<wxStaticBitmap*>(dialog.FindWindow(kIconId)))
        picture->SetBitmap(wxArtProvider::GetBitmapBundle(IconOf(icon), wxART_MESSAGE_BOX));
    SetWrappedLabel(dialog, kTextId, text);
}

void PlaceDialog(wxDialog& dialog, NoticePlacement placement)
{
    CAppSettings* settings = GetAppSettings();
    switch (placement) {
    case NoticePlacement::rememberedCentre:
        if (settings) {
            const CSize screen = ScreenSizeOf(dialog);
            const CPoint centre = settings->GetDialogCenter(screen.cx, screen.cy);
            const wxSize size = dialog.GetSize();
            const CPoint topLeft = TopLeftForCentre(centre, CSize(size.GetWidth(), size.GetHeight()));
            dialog.Move(topLeft.x, topLeft.y);
            return;
        }
        dialog.CentreOnParent();
        return;
    case NoticePlacement::desktop:
        dialog.CentreOnScreen();
        return;
    case NoticePlacement::mainWindow:
    case NoticePlacement::owner:
        dialog.CentreOnParent();
        return;
    }
}

void StoreDialogCentre(const wxDialog& dialog)
{
    CAppSettings* settings = GetAppSettings();
    if (!settings)
        return;
    const wxRect r = dialog.GetRect();
    const CPoint centre =
        CentreOf(CRect(r.GetLeft(), r.GetTop(), r.GetLeft() + r.GetWidth(), r.GetTop() + r.GetHeight()));
    const CSize screen = ScreenSizeOf(dialog);
    settings->SetDialogCenter(centre.x, centre.y, screen.cx, screen.cy);
}

CNoticeTableDLG::CNoticeTableDLG(const NoticeRow& row, wxWindow* parent, const std::string& text) : m_row(row)
{
    m_bLoaded = wxXmlResource::Get()->LoadDialog(this, parent, "notice");
    if (!m_bLoaded)
        return;
    SetIconAndText(*this, row.icon, BytesToWx(text.empty() ? ResourceText(static_cast<unsigned>(row.id)) : text));
    for (int id : {kPageNameId, kReasonId})
        if (wxWindow* detail = FindWindow(id))
            detail->Hide();
    m_check = dynamic_cast<wxCheckBox*>(FindWindow(kCheckId));
    if (m_check)
        m_check->Show(row.check != NoticeCheck::none);

    const wxString labels[][2] = {
        {"OK", ""}, {"OK", "Cancel"}, {"&Yes", "&No"}, {"&Check", "Cancel"}, {"&Enter Information", "Cancel"},
    };
    const auto& pair = labels[static_cast<int>(row.buttons)];
    SetButtonLabel(*this, wxID_OK, pair[0]);
    if (wxWindow* cancel = FindWindow(wxID_CANCEL)) {
        cancel->Show(!pair[1].empty());
        SetButtonLabel(*this, wxID_CANCEL, pair[1]);
    }
    EscapeCancels(*this);
    FocusDefaultAnswer(*this);
    Bind(wxEVT_BUTTON, &CNoticeTableDLG::OnOK, this, wxID_OK);
    Bind(wxEVT_CHECKBOX, &CNoticeTableDLG::OnCheck, this, kCheckId);
    GetSizer()->SetSizeHints(this);
}

void CNoticeTableDLG::SetDetails(const std::string& pageName, const std::string& reason)
{
    if (!m_bLoaded)
        return;
    const std::pair<int, const std::string*> details[] = {{kPageNameId, &pageName}, {kReasonId, &reason}};
    for (auto [id, value] : details) {
        SetWrappedLabel(*this, id, BytesToWx(*value));
        if (wxWindow* detail = FindWindow(id))
            detail->Show(!value->empty());
    }
    GetSizer()->SetSizeHints(this);
}

int CNoticeTableDLG::ShowModal()
{
    if (!m_bLoaded)
        return wxID_CANCEL;
    PlaceDialog(*this, m_row.placement);
    return wxDialog::ShowModal();
}

bool CNoticeTableDLG::IsChecked() const
{
    return m_check && m_check->IsShown() && m_check->GetValue();
}

void CNoticeTableDLG::OnOK(wxCommandEvent&)
{
    if (m_row.placement == NoticePlacement::rememberedCentre)
        StoreDialogCentre(*this);
    EndModal(wxID_OK);
}

void CNoticeTableDLG::OnCheck(wxCommandEvent& event)
{
    // Ticking or clearing the box switches the warning off at once; only the help-dialogs settings switch it on.
    if (m_row.check == NoticeCheck::transparencyWarning)
        if (CAppSettings* settings = GetAppSettings())
            settings->m_showTransparentShapeWarning = false;
    event.Skip();
}

int RunNotice(int id, wxWindow* parent)
{
    const NoticeRow* row = FindNotice(id);
    if (!row)
        return IDCANCEL;
    CNoticeTableDLG dialog(*row, parent);
    return dialog.ShowModal() == wxID_OK ? IDOK : IDCANCEL;
}

CMissingDocumentDLG::CMissingDocumentDLG(wxWindow* parent, const std::string& missingPath) : m_missingPath(missingPath)
{
    m_chooseFile = [this](std::string& path) {
        wxFileDialog chooser(this, BytesToWx(ResourceText(IDS_LOCATE_DOCUMENT, "Locate the Document")), wxEmptyString,
                             wxEmptyString, "(*.*)|*.*", wxFD_OPEN | wxFD_FILE_MUST_EXIST);
        if (chooser.ShowModal() != wxID_OK)
            return false;
        path = PathFromWx(chooser.GetPath());
        return !path.empty();
    };
    m_bLoaded = wxXmlResource::Get()->LoadDialog(this, parent, "498");
    if (!m_bLoaded)
        return;
    if (auto* icon = dynamic_cast<wxStaticBitmap*>(FindWindow(kIconId)))
        icon->SetBitmap(wxArtProvider::GetBitmapBundle(wxART_WARNING, wxART_MESSAGE_BOX));
    if (auto* path = dynamic_cast<wxTextCtrl*>(FindWindow(kPathId)))
        path->ChangeValue(PathToWx(missingPath));
    Bind(wxEVT_BUTTON, &CMissingDocumentDLG::OnOK, this, wxID_OK);
    Bind(wxEVT_BUTTON, &CMissingDocumentDLG::OnBrowse, this, kBrowseId);
    GetSizer()->SetSizeHints(this);
}

int CMissingDocumentDLG::ShowModal()
{
    if (!m_bLoaded)
        return wxID_CANCEL;
    m_browsed = false;
    m_replacementPath.clear();
    PlaceDialog(*this, NoticePlacement::rememberedCentre);
    return wxDialog::ShowModal();
}

void CMissingDocumentDLG::OnOK(wxCommandEvent&)
{
    StoreDialogCentre(*this);
    EndModal(wxID_OK);
}

void CMissingDocumentDLG::OnBrowse(wxCommandEvent&)
{
    std::string chosen;
    if (m_chooseFile && m_chooseFile(chosen))
        m_replacementPath = chosen;
    m_browsed = true;
    EndModal(wxID_CANCEL);
}
