#pragma once

// The manager of the inspector palettes: seven floating palettes of which at most one shows, always where the previous
// one stood. The manager decides where and when; the frames it drives are reached through CPaletteFrame, which the
// program implements with real windows and the tests with fakes.

#include <array>
#include <memory>
#include <string>

#include "app/model/app_settings.h"
#include "app/palettes/palette_protocol.h"
#include "platform/win/win_types.h"

// One palette's frame window as the manager sees it.
class CPaletteFrame
{
public:
    virtual ~CPaletteFrame() = default;

    // The rectangle the frame has when shown, on the screen.
    virtual CRect GetNormalRect() const = 0;
    virtual void SetNormalRect(const CRect& rect) = 0;
    // Shows the frame without taking the focus from the main window, or hides it.
    virtual void ShowFrame(bool show) = 0;
    virtual bool IsFrameVisible() const = 0;
    // Moves the frame to topLeft with the given size; with resizeSheet its sheet and page follow the size.
    virtual void SetFrameBounds(const CPoint& topLeft, const CSize& size, bool resizeSheet) = 0;
    // Whether the frame holds its sheet.
    virtual bool HasSheet() const = 0;
    virtual void ActivateFirstPage() = 0;
    // Hands a refresh code to the sheet's active page, which has read the selection again when this returns.
    virtual void NotifyActivePage(UINT code) = 0;
};

// Where the frames come from and what the screen measures.
class CPaletteHost
{
public:
    virtual ~CPaletteHost() = default;
    // A new hidden frame for the palette, or null when it cannot be made. The frame belongs to its window, not to
    // the manager.
    virtual CPaletteFrame* CreatePaletteFrame(int index) = 0;
    virtual CSize GetScreenSize() const = 0;
};

class CPropSheetManager
{
public:
    CPropSheetManager() = default;
    CPropSheetManager(const CPropSheetManager&) = delete;
    CPropSheetManager& operator=(const CPropSheetManager&) = delete;

    // Makes the seven frames, hidden, sharing one rectangle whose corner is at (150, 150), with the Page palette
    // current. 0, or -1 when a frame cannot be made (those made before stay).
    int Create(std::unique_ptr<CPaletteHost> host);

    int GetCurrentIndex() const { return m_current; }
    // Null for an index outside the seven, and before Create.
    CPaletteFrame* GetPropFrame(int index) const;
    // The frame when it holds its sheet, else null.
    CPaletteFrame* GetPropSheet(int index) const;

    // Shows one palette at the place of the one shown last, kept on the screen, and hides the others. An index
    // outside the seven changes nothing.
    void ShowPropSheet(int index);
    void HidePropSheet();
    void ShowCurrentPropSheet();
    bool IsAnyPropSheetVisible() const;
    void TogglePropSheets();
    // Tells the current palette's page, shown or not, to read the selection again.
    void NotifyActivePropPage(UINT code);

    void ShowPagePropSheet() { ShowPropSheet(kPagePropSheet); }
    void ShowObjectPropSheet() { ShowPropSheet(kObjectPropSheet); }
    void ShowObjectMainPage();
    void ShowLinkPropSheet() { ShowPropSheet(kLinkPropSheet); }
    void ShowFillPropSheet() { ShowPropSheet(kFillPropSheet); }
    void ShowEffectsPropSheet() { ShowPropSheet(kEffectsPropSheet); }
    void ShowStylesPropSheet() { ShowPropSheet(kStylesPropSheet); }
    void ShowMouseOverPropSheet() { ShowPropSheet(kMouseOverPropSheet); }
    // The alternate text lives on the Object palette's page.
    void ShowAltTextPage() { ShowPropSheet(kObjectPropSheet); }

    // Puts the current frame's corner at the stored place and shows the stored palette (any value beyond Styles
    // shows Mouseover). Answers the palette shown.
    int RestoreState(const CInspectorState& state);
    // The current palette and its frame's corner; false before Create.
    bool GetState(CInspectorState& state) const;

private:
    std::unique_ptr<CPaletteHost> m_host;
    int m_current = kPagePropSheet;
    std::array<CPaletteFrame*, kPropSheetCount> m_frames{};
};

// Keeps a palette's rectangle on a screen of the given size: a top above 100 comes 100 lower, a right edge left of
// 100 comes 100 to the right, a bottom within 100 of the screen's bottom comes 100 higher, a left edge within 100 of
// the screen's right edge comes 100 to the left; each step at most once, in that order.
CRect KeepPaletteOnScreen(CRect rect, const CSize& screen);
