#pragma once

// The palettes' windows: a small floating frame per palette holding a one-tab sheet whose one page
// (palette_page.h) is the palette's whole content. The manager drives the frames through CPaletteFrame.

#include <memory>
#include <wx/minifram.h>
#include <wx/notebook.h>

#include "app/palettes/palette_page.h"
#include "app/palettes/prop_sheet_manager.h"

class wxWindow;

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

// The host that makes the real frames, owned by parent.
std::unique_ptr<CPaletteHost> MakePaletteHost(wxWindow* parent, CPropSheetManager& manager);
