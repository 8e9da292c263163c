#include "app/shell/tools_bar.h"

#include <wx/dcclient.h>
#include <wx/image.h>

#include "app/docview/site_document.h"
#include "app/model/app_settings.h"
#include "app/shell/command_ids.h"
#include "app/shell/open_site.h"
#include "app/shell/run_state.h"
#include "app/shell/shell_dialogs.h"
#include "platform/gui/display.h"
#include "platform/gui/text_bytes.h"
#include "platform/resources/resource_folder.h"
#include "platform/resources/string_table.h"

wxDEFINE_EVENT(EVT_LAUNCH_COMPANION_TOOL, wxCommandEvent);

namespace {

constexpr int kToolsBarId = 59425;
constexpr int kTextTool = 2;

// The button pictures leave their light grey (0xE0E0E0) to the bar.
bool LoadButtonImage(unsigned id, wxImage& image)
{
    if (!image.LoadFile(wxString::FromUTF8(GetBitmapResourcePath(id).string()), wxBITMAP_TYPE_PNG))
        return false;
    image.SetMaskColour(0xE0, 0xE0, 0xE0);
    return true;
}

} // namespace

CToolsBar::CToolsBar(wxWindow* parent, CRunState& run, COpenSite& site)
    : wxPanel(parent, WxCommandId(kToolsBarId)), m_run(run), m_site(site),
      m_well(IMAGE_MODE_RGB, kWellWidth, kWellHeight)
{
    SetBackgroundStyle(wxBG_STYLE_SYSTEM);
    BuildColorWell(m_well, m_color);
    BuildButtons();
    const CSize fitted = FitToolsBar(CSize(m_imageSize.x, m_imageSize.y), kToolButtonCount, CSize(0, 0));
    SetMinSize(wxSize(std::max(fitted.cx, kWellPos.x * 2 + kWellWidth), fitted.cy));
    Bind(wxEVT_PAINT, &CToolsBar::OnPaint, this);
    Bind(wxEVT_LEFT_DOWN, &CToolsBar::OnLeftDown, this);
    Bind(wxEVT_LEFT_UP, &CToolsBar::OnLeftUp, this);
    Bind(wxEVT_MOTION, &CToolsBar::OnMotion, this);
}

CToolsBar::~CToolsBar()
{
    if (m_shapes) {
        m_shapes->DetachBar();
        m_shapes->Destroy();
    }
}

bool CToolsBar::BuildButtons()
{
    std::vector<std::array<wxBitmap, 2>> buttons;
    wxSize size;
    for (const ToolButtonInfo& button : kToolButtons) {
        wxImage normal, selected;
        // Both pictures of a button are needed, of one size, the same for every button.
        if (!LoadButtonImage(button.normalBitmap, normal) || !LoadButtonImage(button.selectedBitmap, selected) ||
            normal.GetSize() != selected.GetSize() || (size.x > 0 && normal.GetSize() != size))
            return false;
        size = normal.GetSize();
        buttons.push_back({wxBitmap(normal), wxBitmap(selected)});
    }
    m_buttons = std::move(buttons);
    m_imageSize = size;
    m_places = LayOutToolButtons(size.y);
    return true;
}

void CToolsBar::ChooseShape(int shapeKind)
{
    SetShapeKind(shapeKind);
    SetTool(kShapeTool);
}

void CToolsBar::SetTool(int tool)
{
    if (tool == kShapeTool && !m_shapes) {
        OpenShapesPalette();
        // Opening the palette chose the shape tool already.
        if (m_shapes)
            return;
    }
    m_state.SetTool(tool);
    Refresh(false);
}

void CToolsBar::OpenShapesPalette()
{
    m_shapes = new CShapesDLG(wxGetTopLevelParent(this), this);
    if (!m_shapes->Create()) {
        m_shapes->Destroy();
        m_shapes = nullptr;
        m_state.SetTool(kShapeTool);
    }
}

void CToolsBar::SetColor(const CColor& color)
{
    m_color = color;
    FillColorWell(m_well, color);
    Refresh(false);
}

bool CToolsBar::ChooseWellColor()
{
    CColor chosen = m_color;
    CustomColors& custom = SavedCustomColors();
    CWebsite* site = m_site.GetSite();
    HandCustomColorsToDialog(site, custom);
    if (!GetShellDialogs().ShowColorDialog(chosen, custom))
        return false;
    SetColor(chosen);
    TakeCustomColorsFromDialog(site, custom);
    return true;
}

void CToolsBar::OnPaint(wxPaintEvent&)
{
    wxPaintDC dc(this);
    DrawBar(dc);
}

void CToolsBar::DrawBar(wxDC& dc) const
{
    for (size_t i = 0; i < m_buttons.size() && i < m_places.size(); ++i) {
        const bool current = m_places[i].tool == m_state.GetTool();
        dc.DrawBitmap(m_buttons[i][current ? 1 : 0], m_places[i].pos.x, m_places[i].pos.y, true);
    }
    CDisplay::BltBuf(dc, kWellPos.x, kWellPos.y, kWellWidth, kWellHeight, m_well.plane[0].data, 3,
                     m_well.plane[0].rowStep, kWellWidth, IMAGE_MODE_RGB, nullptr);
}

void CToolsBar::AfterToolChange()
{
    if (m_state.GetTool() != kTextTool)
        m_site.GetDocument().CommitPendingTextEdits();
    Refresh(false);
    if (wxWindow* frame = wxGetTopLevelParent(this))
        frame->SetFocus();
}

void CToolsBar::OnLeftDown(wxMouseEvent& event)
{
    const CPoint pt(event.GetX(), event.GetY());
    const int slot = HitToolButton(m_places, pt, CSize(m_imageSize.x, m_imageSize.y));
    if (slot < 0) {
        if (InColorWell(pt)) {
            ChooseWellColor();
            AfterToolChange();
        } else {
            event.Skip();
        }
        return;
    }
    const int tool = m_places[slot].tool;
    // The tool's first-use hint comes before the tool changes, each time while its setting asks for it.
    if (const bool* show = ToolHintFlag(m_run.GetSettings(), tool); show && *show)
        GetShellDialogs().ShowToolHint(tool);
    m_state.Press(tool);
    if (tool == kShapeTool && !m_shapes)
        OpenShapesPalette();
    AfterToolChange();
}

void CToolsBar::OnLeftUp(wxMouseEvent& event)
{
    if (const int launched = m_state.Release()) {
        wxCommandEvent launch(EVT_LAUNCH_COMPANION_TOOL);
        launch.SetInt(launched);
        if (wxWindow* frame = wxGetTopLevelParent(this))
            wxPostEvent(frame, launch);
        Refresh(false);
    }
    event.Skip();
}

void CToolsBar::OnMotion(wxMouseEvent& event)
{
    const CPoint pt(event.GetX(), event.GetY());
    int slot = HitToolButton(m_places, pt, CSize(m_imageSize.x, m_imageSize.y));
    if (slot < 0 && InColorWell(pt))
        slot = kToolButtonCount;
    if (slot != m_tipSlot) {
        m_tipSlot = slot;
        if (slot < 0)
            UnsetToolTip();
        else
            SetToolTip(
                BytesToWx(ResourceText(slot == kToolButtonCount ? IDS_SELECTED_COLOUR : kToolButtons[slot].tooltip)));
    }
    event.Skip();
}
