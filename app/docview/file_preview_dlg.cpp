#include "app/docview/file_preview_dlg.h"

#include <filesystem>
#include <system_error>
#include <wx/dcbuffer.h>
#include <wx/filectrl.h>
#include <wx/image.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/utils.h>
#include <wx/xrc/xmlres.h>

#include "app/docview/file_preview.h"
#include "platform/gui/text_bytes.h"
#include "platform/gui/xrc_resources.h"

namespace {

constexpr int kFileCtrlId = 5001;
constexpr int kBoxId = 5002;
constexpr int kNameId = 1202;
constexpr int kPagesId = 1203;
constexpr int kObjectsId = 1205;
constexpr int kSentId = 1206;
constexpr int kCannotReadId = 1207;

} // namespace

CFilePreviewDLG::CFilePreviewDLG(wxWindow* parent, const std::string& title, const std::string& folder,
                                 const std::string& name, const std::string& filter)
{
    m_bLoaded = LoadXrcResources() && wxXmlResource::Get()->LoadDialog(this, parent, "5000");
    if (!m_bLoaded)
        return;
    SetTitle(BytesToWx(title));
    m_fileCtrl = new wxFileCtrl(this, kFileCtrlId, PathToWx(folder), PathToWx(name), BytesToWx(filter),
                                wxFC_OPEN | wxFC_NOSHOWHIDDEN);
    m_bLoaded = wxXmlResource::Get()->AttachUnknownControl("5001", m_fileCtrl, this);
    m_box = XRCCTRL(*this, "5002", wxPanel);
    if (!m_bLoaded || !m_box) {
        m_bLoaded = false;
        return;
    }
    m_box->SetBackgroundStyle(wxBG_STYLE_PAINT);
    m_box->Bind(wxEVT_PAINT, &CFilePreviewDLG::OnPaintBox, this);
    m_fileCtrl->Bind(wxEVT_FILECTRL_SELECTIONCHANGED, &CFilePreviewDLG::OnSelectionChanged, this);
    m_fileCtrl->Bind(wxEVT_FILECTRL_FILEACTIVATED, &CFilePreviewDLG::OnFileActivated, this);
    Bind(wxEVT_BUTTON, &CFilePreviewDLG::OnOK, this, wxID_OK);
    ShowTexts();
    GetSizer()->SetSizeHints(this);

    // Only the run's first open dialog stands at the centre of the screen; later ones open over their parent.
    if (GetFilePreview().TakeFirstOpening() || !parent)
        CentreOnScreen();
    else
        CentreOnParent();
}

void CFilePreviewDLG::UpdatePreview()
{
    if (!GetFilePreview().Select(PathFromWx(m_fileCtrl->GetPath())))
        return;
    ShowTexts();
    m_box->Refresh();
}

void CFilePreviewDLG::ShowTexts()
{
    const FilePreviewTexts texts = MakeFilePreviewTexts(GetFilePreview());
    const auto set = [this](int id, const std::string& text) {
        if (auto* label = dynamic_cast<wxStaticText*>(FindWindow(id)))
            label->SetLabel(BytesToWx(text));
    };
    set(kNameId, texts.name);
    set(kPagesId, texts.pages);
    set(kObjectsId, texts.objects);
    set(kSentId, texts.sent);
    if (wxWindow* cannotRead = FindWindow(kCannotReadId))
        cannotRead->Show(texts.cannotRead);
    Layout();
}

void CFilePreviewDLG::OnSelectionChanged(wxFileCtrlEvent&)
{
    UpdatePreview();
}

void CFilePreviewDLG::OnFileActivated(wxFileCtrlEvent&)
{
    if (Accept())
        EndModal(wxID_OK);
}

void CFilePreviewDLG::OnOK(wxCommandEvent&)
{
    if (Accept())
        EndModal(wxID_OK);
}

// An existing file is taken; a folder is opened in the chooser; anything else is refused with a beep.
bool CFilePreviewDLG::Accept()
{
    const std::string path = PathFromWx(m_fileCtrl->GetPath());
    std::error_code error;
    if (!path.empty() && std::filesystem::is_directory(path, error)) {
        m_fileCtrl->SetDirectory(PathToWx(path));
        return false;
    }
    if (path.empty() || !std::filesystem::is_regular_file(path, error)) {
        wxBell();
        return false;
    }
    m_strPath = path;
    return true;
}

void CFilePreviewDLG::OnPaintBox(wxPaintEvent&)
{
    wxAutoBufferedPaintDC dc(m_box);
    const wxSize size = m_box->GetClientSize();
    if (size.GetWidth() <= 0 || size.GetHeight() <= 0)
        return;
    std::vector<unsigned char> pixels = GetFilePreview().ComposeBox(size.GetWidth(), size.GetHeight());
    // The image takes its own copy, so the buffer may go at the end of the call.
    const wxImage image(size.GetWidth(), size.GetHeight(), pixels.data(), true);
    dc.DrawBitmap(wxBitmap(image.Copy()), 0, 0);
}
