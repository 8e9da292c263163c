#include "app/shell/shell_dialogs.h"

namespace {

ShellDialogs* g_shellDialogs = nullptr;

} // namespace

void SetShellDialogs(ShellDialogs* dialogs)
{
    g_shellDialogs = dialogs;
}

ShellDialogs& GetShellDialogs()
{
    static NullShellDialogs none;
    return g_shellDialogs ? *g_shellDialogs : none;
}
