#include "app/palettes/prop_sheet_manager.h"

int CPropSheetManager::Create(std::unique_ptr<CPaletteHost> host)
{
    m_host = std::move(host);
    m_frames.fill(nullptr);
    for (int index = 0; index < kPropSheetCount; ++index) {
        m_frames[index] = m_host->CreatePaletteFrame(index);
        if (!m_frames[index])
            return -1;
    }
    m_current = kPagePropSheet;
    for (CPaletteFrame* frame : m_frames)
        frame->ShowFrame(false);
    CRect shared = m_frames[kPagePropSheet]->GetNormalRect();
    shared = CRect(CPoint(150, 150), shared.Size());
    for (CPaletteFrame* frame : m_frames)
        frame->SetNormalRect(shared);
    for (CPaletteFrame* frame : m_frames)
        frame->ActivateFirstPage();
    return 0;
}

CPaletteFrame* CPropSheetManager::GetPropFrame(int index) const
{
    return IsPropSheetIndex(index) ? m_frames[index] : nullptr;
}

CPaletteFrame* CPropSheetManager::GetPropSheet(int index) const
{
    // Nothing is reachable until the first frame exists.
    if (!m_frames[kPagePropSheet])
        return nullptr;
    CPaletteFrame* frame = GetPropFrame(index);
    return frame && frame->HasSheet() ? frame : nullptr;
}

CRect KeepPaletteOnScreen(CRect rect, const CSize& screen)
{
    if (rect.top < 100)
        rect.OffsetRect(0, 100);
    if (rect.right < 100)
        rect.OffsetRect(100, 0);
    if (rect.bottom > screen.cy - 100)
        rect.OffsetRect(0, -100);
    if (rect.left > screen.cx - 100)
        rect.OffsetRect(-100, 0);
    return rect;
}

void CPropSheetManager::ShowPropSheet(int index)
{
    // A palette that does not exist is no place to go: the current one stays as it is.
    if (!IsPropSheetIndex(index) || !GetPropSheet(m_current) || !m_frames[index])
        return;
    const CRect kept = KeepPaletteOnScreen(m_frames[m_current]->GetNormalRect(), m_host->GetScreenSize());
    m_current = index;
    m_frames[index]->SetNormalRect(kept);
    for (int i = 0; i < kPropSheetCount; ++i)
        if (m_frames[i])
            m_frames[i]->ShowFrame(i == index);
    const PaletteDescription& palette = DescribePalette(index);
    m_frames[index]->SetFrameBounds(kept.TopLeft(), palette.frameSize, palette.resizeSheet);
}

void CPropSheetManager::HidePropSheet()
{
    if (CPaletteFrame* frame = GetPropFrame(m_current))
        frame->ShowFrame(false);
}

void CPropSheetManager::ShowCurrentPropSheet()
{
    if (CPaletteFrame* frame = GetPropFrame(m_current))
        frame->ShowFrame(true);
}

bool CPropSheetManager::IsAnyPropSheetVisible() const
{
    for (const CPaletteFrame* frame : m_frames)
        if (frame && frame->IsFrameVisible())
            return true;
    return false;
}

void CPropSheetManager::TogglePropSheets()
{
    if (IsAnyPropSheetVisible())
        HidePropSheet();
    else
        ShowCurrentPropSheet();
}

void CPropSheetManager::NotifyActivePropPage(UINT code)
{
    if (CPaletteFrame* sheet = GetPropSheet(m_current))
        sheet->NotifyActivePage(code);
}

void CPropSheetManager::ShowObjectMainPage()
{
    ShowPropSheet(kObjectPropSheet);
    if (CPaletteFrame* sheet = GetPropSheet(m_current))
        sheet->ActivateFirstPage();
}

int CPropSheetManager::RestoreState(const CInspectorState& state)
{
    if (CPaletteFrame* frame = GetPropFrame(m_current)) {
        const CRect normal = frame->GetNormalRect();
        frame->SetNormalRect(CRect(CPoint(state.left, state.top), normal.Size()));
    }
    const int shown = InspectorPaletteFor(state.current);
    ShowPropSheet(shown);
    return shown;
}

bool CPropSheetManager::GetState(CInspectorState& state) const
{
    const CPaletteFrame* frame = GetPropFrame(m_current);
    if (!frame)
        return false;
    const CRect normal = frame->GetNormalRect();
    state.current = m_current;
    state.left = normal.left;
    state.top = normal.top;
    return true;
}
