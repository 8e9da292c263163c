#pragma once

// The palettes' windows: a small floating frame per palette holding a one-tab sheet whose one page is the palette's
// whole content. The manager drives the frames through CPaletteFrame; the pages follow one protocol (fill from the
// selection when shown or told, Return gives the keyboard back to the main window).

#include <memory>
#include <wx/minifram.h>
#include <wx/notebook.h>
#include <wx/panel.h>

#include "app/palettes/prop_sheet_manager.h"

class wxWindow;

// The common part of every palette page. A page of its own overrides FillControls; until then a palette shows an
// empty page.
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

// A palette's one-page sheet.
class CPropSheet : public wxNotebook
{
public:
    CPropSheet(wxWindow* parent, int index);
    CPalettePage* GetActivePage() const;
    // Asks for room enough for the page's controls as they stand.
    void FitPage();
};

class CPropFrame : public wxMiniFrame, public CPaletteFrame
{
public:
    CPropFrame(wxWindow* parent, int index, CPropSheetManager& manager);

    CPropSheet* GetSheet() const { return m_sheet; }

    // The rectangle the frame was given or had when last on the screen, whether it shows now or not.
    CRect GetNormalRect() const override;
    void SetNormalRect(const CRect& rect) override;
    void ShowFrame(bool show) override;
    bool IsFrameVisible() const override { return IsShown(); }
    void SetFrameBounds(const CPoint& topLeft, const CSize& size, bool resizeSheet) override;
    bool HasSheet() const override { return m_sheet != nullptr; }
    void ActivateFirstPage() override;
    void NotifyActivePage(UINT code) override;

private:
    // The window's rectangle as the toolkit reports it now.
    CRect GetShownRect() const;
    void OnMoveOrSize(wxEvent& event);
    void OnClose(wxCloseEvent& event);
    void OnSetFocus(wxFocusEvent& event);

    CPropSheetManager& m_manager;
    CPropSheet* m_sheet = nullptr;
    CRect m_normal;
};

// Gives the keyboard back to the main window, so that its shortcuts reach the design view; a page calls it after a
// click, a choice or a slider change, and on Return.
void FocusMainFrame();

// The host that makes the real frames, owned by parent.
std::unique_ptr<CPaletteHost> MakePaletteHost(wxWindow* parent, CPropSheetManager& manager);
