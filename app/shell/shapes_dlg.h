#pragma once

// The Shapes palette: a small modeless window of sixteen picture buttons, one per shape kind; the pressed one is
// the shape the tools bar's shape tool draws. Opening it chooses the rectangle and the shape tool.

#include <wx/dialog.h>

#include <vector>

#include "app/shell/logic/tools_bar_logic.h"

// What the Shapes palette tells the bar whose shape tool opened it.
class CShapesOwner
{
public:
    // Where the bar stands on the screen: the palette first stands beside it.
    virtual wxRect GetOwnerScreenRect() const = 0;
    // A shape was chosen: the shape tool draws it from now on.
    virtual void ChooseShape(int shapeKind) = 0;
    virtual void OnShapesPaletteClosed() = 0;

protected:
    ~CShapesOwner() = default;
};
class CShapeButton;

class CShapesDLG : public wxDialog
{
public:
    enum
    {
        IDD = 5042
    };

    CShapesDLG(wxWindow* parent, CShapesOwner* bar);
    ~CShapesDLG() override;
    // The bar goes first: the palette no longer reaches it.
    void DetachBar() { m_bar = nullptr; }
    // Loads the template, makes the buttons and shows the palette; false when the template is missing.
    bool Create();

    // Lets every button but the rectangle's go (the view calls it when a new shape is started).
    void ResetButtons();
    // Presses the button of an id, as a click does.
    void ClickShape(int id);
    bool IsPressed(int id) const;
    // The buttons as they paint themselves, at their places.
    void DrawPalette(wxDC& dc) const;
    wxWindow* GetButton(int id) const;

private:
    void OnShapeButton(wxCommandEvent& event);
    void OnClose(wxCloseEvent& event);
    void Press(int id);
    // The palette opens where it stood when it last closed in this run, the first time beside the tools bar.
    wxPoint FirstPlace() const;
    // The page window shown in the main window's tabs, below their row; null when none is open.
    const wxWindow* ActivePageWindow() const;
    void PlaceOnScreen();

    wxWindow* m_parentWindow;
    CShapesOwner* m_bar;
    std::vector<CShapeButton*> m_buttons;
};
