#include "app/shell/help_commands.h"

#include "app/dialogs/about_dlg.h"
#include "app/model/app_settings.h"
#include "app/model/services.h"
#include "app/shell/command_ids.h"
#include "app/shell/command_table.h"
#include "app/shell/run_state.h"
#include "app/shell/shell_dialogs.h"
#include "platform/win/program_launch.h"

#include <filesystem>
#include <wx/app.h>
#include <wx/mdi.h>

namespace {

// The guide opens in the desktop's browser; when it cannot, the user is told why rather than left waiting.
void OpenUserGuide(const std::string& guide)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(guide, error)) {
        GetMessages().ShowMessage("The user guide " + guide + " is missing; install Pelorin again to restore it.");
        return;
    }
    // The handler starts whether or not a browser is set up; it tells which only when it ends, on its own thread.
    const std::string failed =
        "The user guide " + guide + " could not be opened: there is no program set up to show web pages.";
    const auto failedLater = [failed] {
        if (wxTheApp)
            wxTheApp->CallAfter([failed] { GetMessages().ShowMessage(failed); });
    };
    if (!OpenWithDefaultHandler(guide, failedLater))
        GetMessages().ShowMessage(failed);
}

} // namespace

std::string GetUserGuidePath(const CSettingsEnvironment& environment)
{
    return environment.programFolder + "Help.html";
}

void AddHelpCommands(CCommandTable& table, const CShellContext& context)
{
    CRunState& run = context.run;
    table.Add(
        ID_HELP_FINDER, [&run](int) { OpenUserGuide(GetUserGuidePath(run.GetEnvironment())); }, AlwaysEnabled());
    table.Add(ID_APP_ABOUT, [](int) { GetShellDialogs().ShowAboutDialog(); }, AlwaysEnabled());
    table.Add(ID_FEEDBACK, [](int) { GetShellDialogs().ShowFeedbackDialog(); }, AlwaysEnabled());
    table.Add(ID_HELP_DIALOGS, [](int) { GetShellDialogs().ShowHelpDialogsDialog(); }, AlwaysEnabled());
    for (int id : {ID_HELP_SUPPORT, ID_MORE_SOFTWARE})
        table.Add(
            id,
            [](int command) {
                OpenWithDefaultHandler(GetMakerHomePage() + (command == ID_HELP_SUPPORT ? "/support" : "/software"));
            },
            AlwaysEnabled());
    table.Add(
        ID_UPGRADE_NOTICE,
        [&context](int) {
            CUpgradeDLG notice(&context.window);
            if (notice.IsOk())
                notice.ShowModal();
        },
        AlwaysEnabled());
}
