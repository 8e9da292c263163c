#pragma once

// The common part of every palette page: it is made from its palette's template, fills itself from the current
// page or object when it is made and when it is told, and Return gives the keyboard back to the main window.

#include <wx/panel.h>

#include "app/palettes/palette_protocol.h"
#include "platform/win/win_types.h"

class wxKeyEvent;
class wxWindow;

// A page of its own overrides FillControls; until then a palette shows an empty page.
class CPalettePage : public wxPanel
{
public:
    CPalettePage(wxWindow* parent, int index);

    int GetPaletteIndex() const { return m_nIndex; }
    // The refresh handler: a page that listens to the code puts its own size back and fills its controls.
    void OnRefresh(UINT code);
    // How often the page filled itself, for those who watch it.
    int GetFillCount() const { return m_fills; }

protected:
    // Reads the current page or object again and sets the controls from it.
    virtual void FillControls() {}
    // Return applies the value of the box being typed in before the keyboard goes back to the main window.
    virtual void ApplyFocusedValue() {}

private:
    void Fill();
    void OnCharHook(wxKeyEvent& event);

    int m_nIndex;
    int m_fills = 0;
};

// Gives the keyboard back to the main window, so that its shortcuts reach the design view; a page calls it after a
// click, a choice or a slider change, and on Return.
void FocusMainFrame();
