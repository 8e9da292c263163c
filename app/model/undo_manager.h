#pragma once

// The undo manager every page owns. The ring of undo records belongs to the editing side of the program, which
// installs a factory for it (CoreServices::CreateUndoManager); until then a page gets this base, which records
// nothing and has nothing to undo.

#include <memory>
#include <vector>

class CSitePage;
class CPageItem;

// What an edit changed, and so what its undo record keeps.
enum class UndoKind
{
    objectsAdded = 0,
    objectsDeleted = 1,
    geometry = 2,
    textBody = 3,
    advancedText = 4,
    fill = 5,
    effects = 6,
    fillAndEffects = 7,
    link = 8,
    mouseOverCreated = 9,
    mouseOverRemoved = 10,
    mouseOverSettings = 11,
    objectsRemoved = 12,
    zOrder = 13,
    grouping = 14,
    pageSettings = 15,
};

constexpr int kUndoKindCount = 16;

// One step of the history. Undo and Redo are called in turn, starting with Undo; a record owns whatever of the
// page it keeps while that is out of the page, and frees it with itself.
class CUndoRecord
{
public:
    CUndoRecord() = default;
    CUndoRecord(const CUndoRecord&) = delete;
    CUndoRecord& operator=(const CUndoRecord&) = delete;
    virtual ~CUndoRecord() = default;

    virtual void Undo() = 0;
    virtual void Redo() = 0;
};

class CUndoManager
{
public:
    CUndoManager(CSitePage* owner, int capacity) : m_pOwner(owner), m_capacity(capacity) {}
    CUndoManager(const CUndoManager&) = delete;
    CUndoManager& operator=(const CUndoManager&) = delete;
    virtual ~CUndoManager() = default;

    // Called before an edit of the given kind is made (for added objects, right after), so that it can be taken
    // back: the record of that kind keeps what the edit is about to change.
    virtual void RecordUndo(UndoKind kind) { (void)kind; }
    // Stores a record the caller has built.
    virtual void RecordUndo(std::unique_ptr<CUndoRecord> record) { (void)record; }
    // Takes back the newest step, recorded when an action began that then changed nothing.
    virtual void DropLastUndo() {}
    // Hands the items the newest step's edit took out of the page to its record, which gives them back on Undo;
    // items no record takes stay with the caller.
    virtual void KeepRemovedItems(std::vector<std::unique_ptr<CPageItem>>& items) { (void)items; }
    virtual bool CanUndo() const { return false; }
    virtual bool CanRedo() const { return false; }
    // Without a step to take, these do nothing.
    virtual void Undo() {}
    virtual void Redo() {}
    virtual int GetUndoCount() const { return 0; }
    virtual int GetRedoCount() const { return 0; }

    CSitePage* GetOwner() const { return m_pOwner; }
    int GetCapacity() const { return m_capacity; }

private:
    CSitePage* m_pOwner;
    int m_capacity;
};
