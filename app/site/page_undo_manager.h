#pragma once

// The undo history of a page: a ring of records, the newest at the head, with the steps that can be redone after
// it. A full ring drops its oldest record to take a new one, and a new step drops every step that could still be
// redone; a dropped record frees what it keeps. Recording a step marks the page changed, for saving and for the
// next upload.

#include <memory>
#include <vector>

#include "app/model/undo_manager.h"

class CPageItem;

// A record of a page edit. Records of edits that take items out of the page can be handed those items.
class CPageUndoRecord : public CUndoRecord
{
public:
    // Takes the items the edit just took out of the page, to give back on Undo; false when it keeps no items.
    virtual bool TakeRemovedItems(std::vector<std::unique_ptr<CPageItem>>& items)
    {
        (void)items;
        return false;
    }
};

// The record of an edit of the given kind about to be made on the page (for added objects: just made), keeping
// what that edit changes.
std::unique_ptr<CPageUndoRecord> MakeUndoRecord(CSitePage& page, UndoKind kind);

class CPageUndoManager : public CUndoManager
{
public:
    CPageUndoManager(CSitePage* owner, int capacity);
    ~CPageUndoManager() override;

    void RecordUndo(UndoKind kind) override;
    void RecordUndo(std::unique_ptr<CUndoRecord> record) override;
    void DropLastUndo() override;
    void KeepRemovedItems(std::vector<std::unique_ptr<CPageItem>>& items) override;
    bool CanUndo() const override { return m_undoCount > 0; }
    bool CanRedo() const override { return m_redoCount > 0; }
    void Undo() override;
    void Redo() override;
    int GetUndoCount() const override { return m_undoCount; }
    int GetRedoCount() const override { return m_redoCount; }

private:
    int Next(int slot) const { return (slot + 1) % GetCapacity(); }
    int Previous(int slot) const { return (slot + GetCapacity() - 1) % GetCapacity(); }

    std::vector<std::unique_ptr<CUndoRecord>> m_records;
    int m_head = -1;
    int m_undoCount = 0;
    int m_redoCount = 0;
};
