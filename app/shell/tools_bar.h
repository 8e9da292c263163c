#pragma once

// The tools bar docked at the side of the main window: a colour well above one column of tool buttons. It holds the
// program's current tool, which the design view's mouse tools act on, the shape kind the shape tool draws and the
// colour new fills take. The shape tool opens the Shapes palette beside it. What it decides lives in
// logic/tools_bar_logic.h.

#include <wx/bitmap.h>
#include <wx/event.h>
#include <wx/panel.h>

#include <array>
#include <memory>

#include "app/shell/logic/tools_bar_logic.h"
#include "app/shell/shapes_dlg.h"
#include "image/image.h"

// Posted to the main window when a companion tool's button is let go; the command's int is the tool (12 to 17).
wxDECLARE_EVENT(EVT_LAUNCH_COMPANION_TOOL, wxCommandEvent);

class COpenSite;
class CRunState;

class CToolsBar : public wxPanel, public CShapesOwner
{
public:
    // The bar ends the open site's text edits, hands its custom colours to the colour dialog and reads the run's
    // settings for the tools' hints.
    CToolsBar(wxWindow* parent, CRunState& run, COpenSite& site);
    ~CToolsBar() override;

    int GetTool() const { return m_state.GetTool(); }
    // The shape tool opens the Shapes palette when none is open (which chooses the rectangle).
    void SetTool(int tool);
    CColor GetColor() const { return m_color; }
    void SetColor(const CColor& color);
    int GetShapeKind() const { return m_state.GetShapeKind(); }
    void SetShapeKind(int kind) { m_state.SetShapeKind(kind); }

    // The open Shapes palette, null when none is.
    CShapesDLG* GetShapesPalette() const { return m_shapes; }
    // What the open Shapes palette tells the bar.
    wxRect GetOwnerScreenRect() const override { return GetScreenRect(); }
    void ChooseShape(int shapeKind) override;
    void OnShapesPaletteClosed() override { m_shapes = nullptr; }

    // 13 once the buttons are built, 0 when a picture of them is missing.
    int GetButtonCount() const { return static_cast<int>(m_buttons.size()); }
    const std::vector<ToolButtonPlace>& GetButtonPlaces() const { return m_places; }
    wxSize GetImageSize() const { return m_imageSize; }

    // The buttons, the current one selected, and the well, as the bar paints them.
    void DrawBar(wxDC& dc) const;

    // Lets the user choose the well's colour; true when one was chosen.
    bool ChooseWellColor();

private:
    bool BuildButtons();
    void OpenShapesPalette();
    void OnPaint(wxPaintEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    void OnMotion(wxMouseEvent& event);
    // Ends text editing in the views unless the text tool is current, repaints and gives the main window the focus.
    void AfterToolChange();

    CRunState& m_run;
    COpenSite& m_site;
    CToolsBarState m_state;
    CColor m_color = CColor(0, 0, 255);
    CPixMap m_well;
    // A normal and a selected picture for each used button.
    std::vector<std::array<wxBitmap, 2>> m_buttons;
    std::vector<ToolButtonPlace> m_places;
    wxSize m_imageSize;
    int m_tipSlot = -2;
    CShapesDLG* m_shapes = nullptr;
};
