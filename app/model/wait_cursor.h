#pragma once

// The wait cursor for the life of a scope, over work that takes a while: a large object's render, a page whose
// objects render on the cores. Scopes nest, of any kind: the outermost asks the program's services to begin the
// cursor and, when it goes, to end it. Work that the task pool runs for a thread shows no cursor: the thread that
// handed it the work does.

class CWaitCursor
{
public:
    // Shows nothing when show is false.
    explicit CWaitCursor(bool show = true);
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

    // How many scopes that show the cursor are open on this thread.
    static int Depth();

private:
    bool m_shown;
};
