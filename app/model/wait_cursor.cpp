#include "app/model/wait_cursor.h"

#include "app/model/services.h"
#include "platform/win/task_pool.h"

namespace {

// One count for every thread that may show the cursor; in the program that is the user-interface thread alone.
thread_local int t_waitCursorDepth = 0;

} // namespace

CWaitCursor::CWaitCursor(bool show) : m_shown(show && !CTaskPool::IsHelperThread())
{
    if (m_shown && t_waitCursorDepth++ == 0)
        GetCoreServices().BeginWaitCursor();
}

CWaitCursor::~CWaitCursor()
{
    if (m_shown && --t_waitCursorDepth == 0)
        GetCoreServices().EndWaitCursor();
}

int CWaitCursor::Depth()
{
    return t_waitCursorDepth;
}
