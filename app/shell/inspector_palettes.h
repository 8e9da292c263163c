#pragma once

// The inspector palettes (Page, Object, Link, Fill, Effects, Styles, Mouseover) as the main window keeps them: made
// once the window exists, showing the palette of the last run where it stood, put away while no site is open and
// back with the next site, and their commands in the Tools menu and the view's menu. Where they stood goes back to
// the store when the window closes.

#include <array>
#include <memory>

#include "app/model/app_settings.h"
#include "platform/win/win_types.h"

class CCommandTable;
class CKeyStore;
class CPropSheetManager;
class CShapesDLG;
class wxWindow;

class CInspectorPalettes
{
public:
    CInspectorPalettes();
    CInspectorPalettes(const CInspectorPalettes&) = delete;
    CInspectorPalettes& operator=(const CInspectorPalettes&) = delete;
    ~CInspectorPalettes();

    // Where the palettes stood in the last run, on this screen.
    void Load(const CKeyStore& store, const CSettingsEnvironment& environment);
    void Save(CKeyStore& store);
    // Makes the palette windows over owner; a site not open yet puts them away at the next idle time.
    void Create(wxWindow* owner, bool siteOpen);
    void RestoreState();
    // The palette windows go with their owner, before it: nothing may reach them through the manager from here
    // on.
    void Destroy(wxWindow& owner);

    CPropSheetManager* GetManager() const { return m_propSheets.get(); }
    // Passes a refresh code to the page of the current palette.
    void Notify(UINT code);
    // Shows a palette as its command does; fromPopup for the view's menu, which brings the palettes back first.
    void Show(int index, bool fromPopup);
    // The Object palette on its first page, after the view made or selected an object.
    void ShowObjectPalette();
    // Which palette the user chose last, one flag a palette.
    const std::array<bool, 7>& GetFlags() const { return m_flags; }
    // With no site open the palettes (and the Shapes palette) have nothing to act on: when the site closes they
    // leave the screen, and they come back, as the user left them, with the next site.
    void FollowSite(bool siteOpen, CShapesDLG* shapes);

    // Adds the palette commands and View > Inspector to the table.
    void AddCommands(CCommandTable& table);

private:
    void PutAway(CShapesDLG* shapes);

    CInspectorState m_state;
    std::array<bool, 7> m_flags{};
    std::unique_ptr<CPropSheetManager> m_propSheets;
    // Whether a site was open at the last idle time; the palettes shown when the last site closed, which come
    // back with the next one.
    bool m_siteOpen = false;
    bool m_palettesAway = false;
    bool m_shapesAway = false;
};
