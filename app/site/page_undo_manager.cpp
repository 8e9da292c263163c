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
    int slot = ((m_head - m_undoCount + 1) % GetCapacity() + GetCapacity()) % GetCapacity();
    for (int i = 0; i < m_undoCount + m_redoCount; ++i, slot = Next(slot))
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
    for (int slot = m_head; m_redoCount > 0; --m_redoCount) {
        slot = Next(slot);
        m_records[static_cast<size_t>(slot)].reset();
    }
    m_head = Next(m_head);
    m_undoCount = std::min(m_undoCount + 1, GetCapacity());
    // In a full ring the head slot still holds the oldest step, which goes now.
    m_records[static_cast<size_t>(m_head)] = std::move(record);
    if (CSitePage* page = GetOwner()) {
        page->SetChangedSinceUpload(true);
        page->SetModified();
    }
}

void CPageUndoManager::DropLastUndo()
{
    if (m_undoCount == 0)
        return;
    // Steps after the dropped one would no longer follow the page's state.
    for (int slot = m_head; m_redoCount > 0; --m_redoCount) {
        slot = Next(slot);
        m_records[static_cast<size_t>(slot)].reset();
    }
    m_records[static_cast<size_t>(m_head)].reset();
    m_head = Previous(m_head);
    --m_undoCount;
}

void CPageUndoManager::KeepRemovedItems(std::vector<std::unique_ptr<CPageItem>>& items)
{
    if (m_undoCount == 0)
        return;
    if (auto* record = dynamic_cast<CPageUndoRecord*>(m_records[static_cast<size_t>(m_head)].get()))
        record->TakeRemovedItems(items);
}

void CPageUndoManager::Undo()
{
    if (m_undoCount == 0)
        return;
    CUndoRecord* record = m_records[static_cast<size_t>(m_head)].get();
    m_head = Previous(m_head);
    --m_undoCount;
    ++m_redoCount;
    record->Undo();
    if (CSitePage* page = GetOwner())
        page->SetModified();
}

void CPageUndoManager::Redo()
{
    if (m_redoCount == 0)
        return;
    m_head = Next(m_head);
    ++m_undoCount;
    --m_redoCount;
    m_records[static_cast<size_t>(m_head)]->Redo();
    if (CSitePage* page = GetOwner())
        page->SetModified();
}
