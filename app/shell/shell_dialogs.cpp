#include "app/shell/shell_dialogs.h"

#include "app/model/seam_slot.h"

namespace {

SeamSlot<ShellDialogs, NullShellDialogs> g_shellDialogs;

} // namespace

void SetShellDialogs(ShellDialogs* dialogs)
{
    g_shellDialogs.Set(dialogs);
}

ShellDialogs& GetShellDialogs()
{
    return g_shellDialogs.Get();
}

ShellDialogs* ExchangeSeam(ShellDialogs* dialogs)
{
    return g_shellDialogs.Exchange(dialogs);
}
