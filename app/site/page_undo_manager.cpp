#include "app/site/page_undo_manager.h"

#include <algorithm>

#include "app/site/page_item.h"
#include "app/site/site_page.h"

CPageUndoManager::CPageUndoManager(CSitePage* owner, int capacity) : CUndoManager(owner, std::max(capacity, 1))
{
    m_records.resize(static_cast<size_t>(GetCapacity()));
}

// The records go from the oldest on, as they were made.
CPageUndoManager::~CPageUndoManager()
{
    int slot = ((m_nHead - m_nUndoCount + 1) % GetCapacity() + GetCapacity()) % GetCapacity();
    for (int i = 0; i < m_nUndoCount + m_nRedoCount; ++i, slot = Next(slot))
        m_records[static_cast<size_t>(slot)].reset();
}

void CPageUndoManager::RecordUndo(UndoKind kind)
{
    if (CSitePage* page = GetOwner())
        RecordUndo(MakeUndoRecord(*page, kind));
}

void CPageUndoManager::RecordUndo(std::unique_ptr<CUndoRecord> record)
{
    if (!record)
        return;
    for (int slot = m_nHead; m_nRedoCount > 0; --m_nRedoCount) {
        slot = Next(slot);
        m_records[static_cast<size_t>(slot)].reset();
    }
    m_nHead = Next(m_nHead);
    m_nUndoCount = std::min(m_nUndoCount + 1, GetCapacity());
    // In a full ring the head slot still holds the oldest step, which goes now.
    m_records[static_cast<size_t>(m_nHead)] = std::move(record);
    if (CSitePage* page = GetOwner()) {
        page->SetChangedSinceUpload(true);
        page->SetModified();
    }
}

void CPageUndoManager::DropLastUndo()
{
    if (m_nUndoCount == 0)
        return;
    // Steps after the dropped one would no longer follow the page's state.
    for (int slot = m_nHead; m_nRedoCount > 0; --m_nRedoCount) {
        slot = Next(slot);
        m_records[static_cast<size_t>(slot)].reset();
    }
    m_records[static_cast<size_t>(m_nHead)].reset();
    m_nHead = Previous(m_nHead);
    --m_nUndoCount;
}

void CPageUndoManager::KeepRemovedItems(std::vector<std::unique_ptr<CPageItem>>& items)
{
    if (m_nUndoCount == 0)
        return;
    if (auto* record = dynamic_cast<CPageUndoRecord*>(m_records[static_cast<size_t>(m_nHead)].get()))
        record->TakeRemovedItems(items);
}

void CPageUndoManager::Undo()
{
    if (m_nUndoCount == 0)
        return;
    CUndoRecord* record = m_records[static_cast<size_t>(m_nHead)].get();
    m_nHead = Previous(m_nHead);
    --m_nUndoCount;
    ++m_nRedoCount;
    record->Undo();
    if (CSitePage* page = GetOwner())
        page->SetModified();
}

void CPageUndoManager::Redo()
{
    if (m_nRedoCount == 0)
        return;
    m_nHead = Next(m_nHead);
    ++m_nUndoCount;
    --m_nRedoCount;
    m_records[static_cast<size_t>(m_nHead)]->Redo();
    if (CSitePage* page = GetOwner())
        page->SetModified();
}
