#include "app/shell/preview_dlg.h"

#include "app/model/services.h"
#include "platform/resources/string_table.h"

#include <wx/cursor.h>
#include <wx/dcclient.h>
#include <wx/display.h>
#include <wx/filename.h>
#include <wx/panel.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/utils.h>
#include <wx/xrc/xmlres.h>

#include "app/shell/logic/preview_size.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kBrowser = 1000;
// "Pelorin needs a web view to preview websites, and none is installed. ..."
constexpr const char* kSizeGrip = "59936";

// The grip in the bottom-right corner: dragging anywhere on it resizes the window it sits in, as its bottom-right
// corner would. It is drawn as the three diagonal ridges users know.
class CSizeGrip : public wxWindow
{
public:
    explicit CSizeGrip(wxWindow* parent)
        : wxWindow(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxBORDER_NONE, kSizeGrip)
    {
        const int side = wxSystemSettings::GetMetric(wxSYS_VSCROLL_X, parent);
        SetMinSize(wxSize(std::max(side, 12), std::max(wxSystemSettings::GetMetric(wxSYS_HSCROLL_Y, parent), 12)));
        SetCursor(wxCursor(wxCURSOR_SIZENWSE));
        Bind(wxEVT_PAINT, &CSizeGrip::OnPaint, this);
        Bind(wxEVT_LEFT_DOWN, [this](wxMouseEvent&) {
            m_start = wxGetMousePosition();
            m_startSize = wxGetTopLevelParent(this)->GetSize();
            CaptureMouse();
        });
        Bind(wxEVT_MOTION, [this](wxMouseEvent&) {
            if (HasCapture()) {
                const wxPoint moved = wxGetMousePosition() - m_start;
                wxGetTopLevelParent(this)->SetSize(m_startSize + wxSize(moved.x, moved.y));
            }
        });
        Bind(wxEVT_LEFT_UP, [this](wxMouseEvent&) {
            if (HasCapture())
                ReleaseMouse();
        });
        Bind(wxEVT_MOUSE_CAPTURE_LOST, [](wxMouseCaptureLostEvent&) {});
    }

private:
    void OnPaint(wxPaintEvent&)
    {
        wxPaintDC dc(this);
        const wxSize size = GetClientSize();
        // The theme's own shadow colour is too faint to find the grip by on the light status line.
        const wxColour light = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNHIGHLIGHT);
        const wxColour dark(140, 140, 140);
        for (int ridge = 3; ridge <= 11; ridge += 4) {
            dc.SetPen(wxPen(dark, 1));
            dc.DrawLine(size.x - ridge, size.y - 1, size.x - 1, size.y - ridge);
            dc.DrawLine(size.x - ridge + 1, size.y - 1, size.x - 1, size.y - ridge + 1);
            dc.SetPen(wxPen(light, 1));
            dc.DrawLine(size.x - ridge - 1, size.y - 1, size.x - 1, size.y - ridge - 1);
        }
    }

    wxPoint m_start;
    wxSize m_startSize;
};

} // namespace

bool IsPreviewAvailable()
{
    return LoadWebViewModule() != nullptr;
}

CWebPageDLG::CWebPageDLG(wxWindow* parent, const std::string& path, CSize pageSize, const Controls& controls)
    : m_controls(controls)
{
    if (!wxXmlResource::Get()->LoadDialog(this, parent, controls.templateName))
        return;
    auto* panel = dynamic_cast<wxPanel*>(FindWindow(kBrowser));
    if (!panel || !FindWindow(controls.back) || !FindWindow(controls.forward))
        return;
    std::string cause;
    const WebViewModule* module = LoadWebViewModule(&cause);
    const std::string address = wxFileName::FileNameToURL(wxString::FromUTF8(path)).utf8_string();
    if (module)
        m_pView.reset(module->create(
            panel, address,
            {[this](const std::string&) { OnLoaded(); }, [this](const std::string& text) { ShowStatus(text); }}));
    if (!m_pView) {
        std::fprintf(stderr, "pelorin: no web view: %s\n", module ? "the web view refused to start" : cause.c_str());
        GetMessages().ShowMessage(ResourceText(IDS_NEEDS_WEB_VIEW));
        return;
    }
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_pView->GetWindow(), 1, wxEXPAND);
    panel->SetSizer(sizer);
    Bind(
        wxEVT_BUTTON,
        [this](wxCommandEvent&) {
            if (m_pView->CanGoBack())
                m_pView->GoBack();
            m_pView->GetWindow()->SetFocus();
        },
        controls.back);
    Bind(
        wxEVT_BUTTON,
        [this](wxCommandEvent&) {
            if (m_pView->CanGoForward())
                m_pView->GoForward();
            m_pView->GetWindow()->SetFocus();
        },
        controls.forward);
    // Asked of the web view each time the buttons are updated: nothing left over from an earlier window or page can
    // enable one.
    Bind(
        wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& event) { event.Enable(m_pView->CanGoBack()); }, controls.back);
    Bind(
        wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& event) { event.Enable(m_pView->CanGoForward()); }, controls.forward);
    ShowNavigation();
    // The template holds the grip's place in a container of the placeholder's name and "_container".
    if (FindWindow(wxString(kSizeGrip) + "_container"))
        wxXmlResource::Get()->AttachUnknownControl(kSizeGrip, new CSizeGrip(this), this);

    // The page with room for the buttons and the status line, held inside the screen.
    const wxRect screen = (parent ? wxDisplay(parent) : wxDisplay()).GetClientArea();
    GetSizer()->SetSizeHints(this);
    const wxSize least = GetSize() - panel->GetSize();
    const CSize size =
        PreviewWindowSize(pageSize, CSize(least.x + 25, least.y + 25), CSize(screen.width, screen.height));
    SetMinSize(wxSize(kPreviewMinWidth, kPreviewMinHeight));
    SetSize(size.cx, size.cy);
    CentreOnScreen();
}

void CWebPageDLG::ShowNavigation()
{
    FindWindow(m_controls.back)->Enable(m_pView->CanGoBack());
    FindWindow(m_controls.forward)->Enable(m_pView->CanGoForward());
}

// The web view's window goes first, while the window it reports to is still whole.
CWebPageDLG::~CWebPageDLG()
{
    DestroyChildren();
}

void CWebPageDLG::OnLoaded()
{
    if (m_pView)
        ShowNavigation();
}

// The status line says what the page's status text says, and nothing of its own: the staging folder the page was
// built in is no business of the user's.
void CWebPageDLG::ShowStatus(const std::string& text)
{
    if (auto* status = dynamic_cast<wxStaticText*>(FindWindow(m_controls.status)))
        status->SetLabel(wxString::FromUTF8(text));
}

CPreviewDLG::CPreviewDLG(wxWindow* parent, const std::string& path, CSize pageSize)
    : CWebPageDLG(parent, path, pageSize, Controls{"130", 1001, 1002, 1200})
{
    if (IsOk())
        Bind(
            wxEVT_BUTTON, [this](wxCommandEvent&) { GetWebView()->Reload(); }, 1567);
}

CPrintSiteDLG::CPrintSiteDLG(wxWindow* parent, const std::string& path, CSize pageSize)
    : CWebPageDLG(parent, path, pageSize, Controls{"451", 1530, 1534, 1544})
{
    // The web view's printing asks for the printer and its settings itself.
    if (IsOk())
        Bind(
            wxEVT_BUTTON, [this](wxCommandEvent&) { GetWebView()->Print(); }, 1540);
}
