#pragma once

// The undo manager every page owns. The ring of undo records belongs to the editing side of the program, which
// installs a factory for it (CoreServices::CreateUndoManager); until then a page gets this base, which records
// nothing and has nothing to undo.

class CSitePage;

class CUndoManager
{
public:
    CUndoManager(CSitePage* owner, int capacity) : m_pOwner(owner), m_nCapacity(capacity) {}
    CUndoManager(const CUndoManager&) = delete;
    CUndoManager& operator=(const CUndoManager&) = delete;
    virtual ~CUndoManager() = default;

    // Called before an edit of the given kind is made, so that it can be taken back.
    virtual void RecordUndo(int kind) { (void)kind; }
    virtual bool CanUndo() const { return false; }
    virtual bool CanRedo() const { return false; }
    virtual void Undo() {}
    virtual void Redo() {}

    CSitePage* GetOwner() const { return m_pOwner; }
    int GetCapacity() const { return m_nCapacity; }

private:
    CSitePage* m_pOwner;
    int m_nCapacity;
};
