#include "app/shell/shapes_dlg.h"

#include <algorithm>

#include <wx/dcclient.h>
#include <wx/display.h>
#include <wx/image.h>
#include <wx/mdi.h>
#include <wx/xrc/xmlres.h>

#include "platform/gui/tool_palette.h"
#include "platform/gui/xrc_resources.h"
#include "platform/resources/resource_folder.h"

// A picture button with an up and a down picture that stays down while it is the chosen one. The pictures carry
// the button's raised or sunken edges themselves.
class CShapeButton : public wxWindow
{
public:
    CShapeButton(wxWindow* parent, const ShapeButtonInfo& button)
        : wxWindow(parent, button.id, wxPoint(button.pos.x, button.pos.y), wxDefaultSize, wxBORDER_NONE)
    {
        m_up = Load(button.upBitmap);
        m_down = Load(button.downBitmap);
        // Sized to its picture, as the pictures are 32 x 32 the grid steps by 34 pixels.
        SetSize(m_up.IsOk() ? m_up.GetSize() : wxSize(32, 32));
        SetToolTip(button.tooltip);
        SetBackgroundStyle(wxBG_STYLE_PAINT);
        Bind(wxEVT_PAINT, [this](wxPaintEvent&) {
            wxPaintDC dc(this);
            if (GetPicture().IsOk())
                dc.DrawBitmap(GetPicture(), 0, 0);
        });
        Bind(wxEVT_LEFT_DOWN, [this](wxMouseEvent&) {
            wxCommandEvent click(wxEVT_BUTTON, GetId());
            click.SetEventObject(this);
            GetParent()->GetEventHandler()->ProcessEvent(click);
        });
    }

    bool IsPressed() const { return m_bPressed; }
    const wxBitmap& GetPicture() const { return m_bPressed ? m_down : m_up; }
    void SetPressed(bool pressed)
    {
        if (pressed != m_bPressed) {
            m_bPressed = pressed;
            Refresh(false);
        }
    }

private:
    static wxBitmap Load(unsigned id)
    {
        wxImage image;
        if (!image.LoadFile(wxString::FromUTF8(GetBitmapResourcePath(id).string()), wxBITMAP_TYPE_PNG))
            return wxBitmap();
        return wxBitmap(image);
    }

    wxBitmap m_up, m_down;
    bool m_bPressed = false;
};

namespace {

// Where the palette stood when it last closed in this run; none before its first closing.
wxPoint g_lastPlace = wxDefaultPosition;

} // namespace

CShapesDLG::CShapesDLG(wxWindow* parent, CShapesOwner* bar) : m_parentWindow(parent), m_bar(bar) {}

CShapesDLG::~CShapesDLG()
{
    // The main window takes the palette with it when it goes; the bar, floating in a window of its own, may
    // outlive it and must not hold on to it.
    if (m_bar)
        m_bar->OnShapesPaletteClosed();
    m_bar = nullptr;
}

wxPoint CShapesDLG::FirstPlace() const
{
    // Beside the tools bar at its top, on the side of the page, so that the palette covers only the page's corner
    // and stands next to the tool that opened it; below the page windows' tabs, whose names it would hide.
    const wxRect bar = m_bar->GetOwnerScreenRect();
    const wxRect parent = m_parentWindow ? m_parentWindow->GetScreenRect() : bar;
    const int gap = FromDIP(4);
    const bool barOnRight = bar.GetLeft() > parent.GetLeft() + parent.GetWidth() / 2;
    int top = bar.GetTop();
    if (const wxWindow* page = ActivePageWindow(); page && page->IsShownOnScreen())
        top = std::max(top, page->GetScreenRect().GetTop() + gap);
    return wxPoint(barOnRight ? bar.GetLeft() - GetSize().GetWidth() - gap : bar.GetRight() + 1 + gap, top);
}

const wxWindow* CShapesDLG::ActivePageWindow() const
{
    // The main window, whichever window the palette belongs to (a floating tools bar has one of its own).
    for (const wxWindow* window = m_parentWindow; window; window = window->GetParent())
        if (const auto* main = dynamic_cast<const wxMDIParentFrame*>(window))
            return main->GetActiveChild();
    return nullptr;
}

void CShapesDLG::PlaceOnScreen()
{
    wxRect place(g_lastPlace == wxDefaultPosition ? FirstPlace() : g_lastPlace, GetSize());
    // A screen that changed since (or a bar off the edge) must not leave the palette out of reach.
    const int display = wxDisplay::GetFromPoint(place.GetTopLeft());
    const wxRect screen = wxDisplay(display == wxNOT_FOUND ? 0u : static_cast<unsigned>(display)).GetClientArea();
    place.SetLeft(std::clamp(place.GetLeft(), screen.GetLeft(),
                             std::max(screen.GetLeft(), screen.GetRight() + 1 - place.GetWidth())));
    place.SetTop(std::clamp(place.GetTop(), screen.GetTop(),
                            std::max(screen.GetTop(), screen.GetBottom() + 1 - place.GetHeight())));
    SetPosition(place.GetTopLeft());
}

bool CShapesDLG::Create()
{
    if (!LoadXrcResources() ||
        !wxXmlResource::Get()->LoadDialog(this, m_parentWindow, wxString::Format("%d", static_cast<int>(IDD))))
        return false;
    MarkAsToolPalette(this);
    for (const ShapeButtonInfo& button : kShapeButtons)
        m_buttons.push_back(new CShapeButton(this, button));
    Bind(wxEVT_BUTTON, &CShapesDLG::OnShapeButton, this);
    Bind(wxEVT_CLOSE_WINDOW, &CShapesDLG::OnClose, this);
    // Opening chooses the rectangle and the shape tool.
    Press(kRectangleShapeButton);
    m_bar->ChooseShape(1);
    PlaceOnScreen();
    // The keyboard stays with the page; a click into the palette needs none.
    ShowWithoutActivating();
    return true;
}

wxWindow* CShapesDLG::GetButton(int id) const
{
    for (CShapeButton* button : m_buttons)
        if (button->GetId() == id)
            return button;
    return nullptr;
}

bool CShapesDLG::IsPressed(int id) const
{
    for (const CShapeButton* button : m_buttons)
        if (button->GetId() == id)
            return button->IsPressed();
    return false;
}

void CShapesDLG::Press(int id)
{
    for (CShapeButton* button : m_buttons)
        button->SetPressed(button->GetId() == id);
}

void CShapesDLG::ClickShape(int id)
{
    const ShapeButtonInfo* button = FindShapeButton(id);
    if (!button)
        return;
    Press(id);
    if (!m_bar)
        return;
    m_bar->ChooseShape(button->shapeKind);
}

void CShapesDLG::OnShapeButton(wxCommandEvent& event)
{
    ClickShape(event.GetId());
}

void CShapesDLG::DrawPalette(wxDC& dc) const
{
    for (const CShapeButton* button : m_buttons)
        if (button->GetPicture().IsOk())
            dc.DrawBitmap(button->GetPicture(), button->GetPosition());
}

void CShapesDLG::ResetButtons()
{
    for (CShapeButton* button : m_buttons)
        if (button->GetId() != kRectangleShapeButton)
            button->SetPressed(false);
}

void CShapesDLG::OnClose(wxCloseEvent&)
{
    // Only a place the palette had on the screen is one to come back to.
    if (IsShownOnScreen())
        g_lastPlace = GetPosition();
    if (m_bar)
        m_bar->OnShapesPaletteClosed();
    m_bar = nullptr;
    for (CShapeButton* button : m_buttons)
        button->SetPressed(false);
    Destroy();
}
