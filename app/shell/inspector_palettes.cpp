#include "app/shell/inspector_palettes.h"

#include "app/palettes/prop_frames.h"
#include "app/shell/command_ids.h"
#include "app/shell/command_table.h"
#include "app/shell/shapes_dlg.h"
#include "platform/win/key_store.h"

#include <wx/event.h>

namespace {

// The palette commands in palette order.
constexpr int kToolsInspectorCommands[] = {ID_PAGE_INSPECTOR,    ID_OBJECT_INSPECTOR, ID_LINK_INSPECTOR,
                                           ID_FILL_INSPECTOR,    ID_EFFECTS_INSPECTOR, ID_STYLES_INSPECTOR,
                                           ID_MOUSEOVER_INSPECTOR};
constexpr int kPopupInspectorCommands[] = {ID_POPUP_PAGE_INSPECTOR,    ID_POPUP_OBJECT_INSPECTOR,
                                           ID_POPUP_LINK_INSPECTOR,    ID_POPUP_FILL_INSPECTOR,
                                           ID_POPUP_EFFECTS_INSPECTOR, ID_POPUP_STYLES_INSPECTOR,
                                           ID_POPUP_MOUSEOVER_INSPECTOR};

} // namespace

CInspectorPalettes::CInspectorPalettes() : m_propSheets(std::make_unique<CPropSheetManager>()) {}

CInspectorPalettes::~CInspectorPalettes() = default;

void CInspectorPalettes::Load(const CKeyStore& store, const CSettingsEnvironment& environment)
{
    m_state = ::LoadInspectorState(store, environment.screenWidth, environment.screenHeight);
    m_flags.fill(false);
    m_flags[InspectorPaletteFor(m_state.current)] = true;
}

void CInspectorPalettes::Save(CKeyStore& store)
{
    if (m_propSheets)
        m_propSheets->GetState(m_state);
    ::SaveInspectorState(store, m_state);
}

void CInspectorPalettes::Create(wxWindow* owner, bool siteOpen)
{
    if (m_propSheets->GetPropFrame(kPagePropSheet))
        return;
    m_propSheets->Create(MakePaletteHost(owner, *m_propSheets));
    RestoreState();
    // The palette of the last run waits for a site to show: the next idle time puts it away as if a site had
    // closed (hidden at once, the toolkit would still show the window it was mapping).
    if (!siteOpen)
        m_siteOpen = true;
}

void CInspectorPalettes::RestoreState()
{
    const int shown = m_propSheets->RestoreState(m_state);
    m_flags.fill(false);
    m_flags[static_cast<size_t>(shown)] = true;
}

void CInspectorPalettes::Destroy(wxWindow& owner)
{
    m_propSheets.reset();
    // They go first, while the owner is whole: a palette field that holds the keyboard applies its value when it
    // loses it, which asks the owner for its page.
    const wxWindowList children = owner.GetChildren();
    for (wxWindow* child : children)
        if (dynamic_cast<CPropFrame*>(child))
            delete child;
}

void CInspectorPalettes::Notify(UINT code)
{
    if (m_propSheets)
        m_propSheets->NotifyActivePropPage(code);
}

void CInspectorPalettes::Show(int index, bool fromPopup)
{
    if (!IsPropSheetIndex(index))
        return;
    if (fromPopup && !m_propSheets->IsAnyPropSheetVisible())
        m_propSheets->TogglePropSheets();
    m_propSheets->ShowPropSheet(index);
    if (!m_propSheets->IsAnyPropSheetVisible())
        m_propSheets->TogglePropSheets();
    m_flags.fill(false);
    m_flags[static_cast<size_t>(index)] = true;
    Notify(kRefreshAll);
}

void CInspectorPalettes::ShowObjectPalette()
{
    m_propSheets->ShowObjectMainPage();
    m_flags.fill(false);
    m_flags[kObjectPropSheet] = true;
    Notify(kRefreshAll);
}

// A palette the user shows with no site open stays. Idle time sees a site closed for another one already open
// again, so the palettes do not flicker.
void CInspectorPalettes::FollowSite(bool siteOpen, CShapesDLG* shapes)
{
    if (siteOpen == m_siteOpen)
        return;
    m_siteOpen = siteOpen;
    if (!siteOpen) {
        PutAway(shapes);
        return;
    }
    if (m_palettesAway && m_propSheets)
        m_propSheets->ShowCurrentPropSheet();
    if (m_shapesAway && shapes)
        shapes->Show();
    m_palettesAway = m_shapesAway = false;
}

void CInspectorPalettes::PutAway(CShapesDLG* shapes)
{
    if (m_propSheets && m_propSheets->IsAnyPropSheetVisible()) {
        m_palettesAway = true;
        m_propSheets->HidePropSheet();
    }
    if (shapes && shapes->IsShown()) {
        m_shapesAway = true;
        shapes->Hide();
    }
}

void CInspectorPalettes::AddCommands(CCommandTable& table)
{
    table.Add(ID_POPUP_ALT_TEXT, [this](int) { Show(kObjectPropSheet, true); }, AlwaysEnabled());
    for (int index = 0; index < kPropSheetCount; ++index) {
        table.Add(
            kToolsInspectorCommands[index], [this, index](int) { Show(index, false); },
            [this, index](wxUpdateUIEvent& event) {
                event.Enable(true);
                event.Check(m_flags[static_cast<size_t>(index)]);
            });
        table.Add(
            kPopupInspectorCommands[index], [this, index](int) { Show(index, true); },
            [this, index](wxUpdateUIEvent& event) {
                event.Enable(true);
                event.Check(m_propSheets->IsAnyPropSheetVisible() && m_propSheets->GetCurrentIndex() == index);
            });
    }
}
