#include "app/shell/browser_menu.h"

#include <array>
#include <filesystem>
#include <vector>
#include <wx/event.h>
#include <wx/filedlg.h>
#include <wx/menu.h>

#include "app/dialogs/download_offer_dlg.h"
#include "app/docview/common_windows.h"
#include "app/model/app_settings.h"
#include "app/model/browser_entry.h"
#include "app/model/services.h"
#include "app/model/site_paths.h"
#include "app/shell/command_table.h"
#include "app/shell/logic/frame_texts.h"
#include "app/shell/logic/tools_bar_logic.h"
#include "app/shell/run_state.h"
#include "app/shell/shell_dialogs.h"
#include "app/shell/tools_bar.h"
#include "platform/gui/text_bytes.h"
#include "platform/resources/string_table.h"
#include "platform/win/program_launch.h"

namespace {

struct CompanionTool
{
    int offer;
    const char* productPage;
};
// The companion tools 12 to 17. They are made for another desktop only, so none of them is ever found installed.
constexpr std::array<CompanionTool, 6> kCompanionTools = {{
    {0, "https://www.tallowmere-software.example/font-studio"},
    {1, "https://www.tallowmere-software.example/button-maker"},
    {2, "https://www.tallowmere-software.example/image-editor"},
    {3, "https://www.tallowmere-software.example/banner-animator"},
    {4, "https://www.tallowmere-software.example/logo-designer"},
    {5, "https://www.tallowmere-software.example/photo-album"},
}};

// The text after the first line feed of a string (a command's short name after its prompt).
std::string AfterLineFeed(unsigned id)
{
    const std::string text = ResourceText(id);
    const size_t feed = text.find('\n');
    return feed == std::string::npos ? text : text.substr(feed + 1);
}

std::string BeforeLineFeed(unsigned id)
{
    const std::string text = ResourceText(id);
    return text.substr(0, text.find('\n'));
}

std::string LabelOf(const std::string& path)
{
    CBrowserEntry entry;
    if (entry.SetFromFile(path))
        return entry.GetLabel();
    // A browser whose file went away keeps its place under its file name.
    return std::filesystem::path(path).filename().string();
}

void AddNewBrowser(CRunState& run)
{
    std::vector<std::string>& browsers = run.EditBrowserPaths();
    if (browsers.size() >= kMaxBrowsers)
        return;
    CExeFileDialog chooser(run.GetBrowserPaths());
    if (!chooser.DoModal())
        return;
    std::string question = ResourceText(IDS_ADD_BROWSER_QUESTION);
    if (const size_t mark = question.find("%1"); mark != std::string::npos)
        question.replace(mark, 2, chooser.GetPath());
    Messages& messages = GetMessages();
    messages.Beep();
    if (!messages.AskYesNo(GetProductName(), question))
        return;
    CBrowserEntry entry;
    if (entry.SetFromFile(chooser.GetPath()))
        browsers.push_back(entry.GetPath());
}

void RemoveBrowser(CRunState& run)
{
    std::vector<std::string>& browsers = run.EditBrowserPaths();
    std::vector<std::string> labels;
    for (const std::string& path : browsers)
        labels.push_back(LabelOf(path));
    std::vector<bool> selected;
    if (!GetShellDialogs().ChooseBrowsersToRemove(labels, selected))
        return;
    CAppSettings& settings = run.GetSettings();
    settings.m_useBuiltInBrowser = RemoveBrowsers(browsers, selected, settings.m_useBuiltInBrowser);
}

// Puts the list's browsers into the submenu after the first browser's item, which takes the first label (or the
// default caption while the list is empty).
void RebuildBrowserItems(wxMenu& menu, const std::vector<std::string>& browsers)
{
    for (int id = ID_FIRST_BROWSER + 1; id <= ID_LAST_BROWSER; ++id)
        if (menu.FindChildItem(id))
            menu.Destroy(id);
    wxMenuItem* first = menu.FindChildItem(ID_FIRST_BROWSER);
    if (!first)
        return;
    first->SetItemLabel(BytesToWx(browsers.empty() ? AfterLineFeed(IDS_BROWSERS_PROMPT) : LabelOf(browsers[0])));
    const size_t count = std::min(browsers.size(), kMaxBrowsers);
    for (size_t i = 1; i < count; ++i)
        menu.AppendCheckItem(ID_FIRST_BROWSER + static_cast<int>(i), BytesToWx(LabelOf(browsers[i])),
                             BytesToWx(BeforeLineFeed(IDS_BROWSERS_PROMPT)));
}

} // namespace

std::string AddBrowserChooserTitle()
{
    return AfterLineFeed(IDS_ADD_BROWSER_PROMPT);
}

bool CExeFileDialog::DoModal()
{
    Messages& messages = GetMessages();
    ShellDialogs& dialogs = GetShellDialogs();
    for (;;) {
        std::string path = m_strPath;
        if (!dialogs.ChooseBrowserFile(path))
            return false;
        const int problem = CheckNewBrowser(path, m_browsers);
        if (problem == 0) {
            m_strPath = path;
            return true;
        }
        messages.Beep();
        messages.ShowMessage(ResourceText(static_cast<unsigned>(problem)));
    }
}

void LaunchCompanionTool(int tool)
{
    if (tool < kFirstCompanionTool || tool > kLastCompanionTool)
        return;
    const CompanionTool& row = kCompanionTools[static_cast<size_t>(tool - kFirstCompanionTool)];
    if (GetShellDialogs().ShowDownloadOffer(row.offer))
        OpenWithDefaultHandler(row.productPage);
}

void BindCompanionToolEvents(wxWindow& window)
{
    window.Bind(EVT_LAUNCH_COMPANION_TOOL, [](wxCommandEvent& event) { LaunchCompanionTool(event.GetInt()); });
}

void AddBrowserCommands(CCommandTable& table, CRunState& run)
{
    // What the Settings menu shows checked: the browser of the settings, or the built-in one when that browser
    // is gone.
    const auto choice = [&run] {
        return UsablePreviewChoice(run.GetSettings().m_useBuiltInBrowser, run.GetBrowserPaths().size());
    };
    table.Add(
        ID_USE_BUILT_IN_BROWSER, [&run](int) { run.GetSettings().m_useBuiltInBrowser = -1; },
        [choice](wxUpdateUIEvent& event) {
            event.Enable(true);
            event.Check(choice() == -1);
        });
    table.Add(
        ID_USE_STANDARD_BROWSER, [&run](int) { run.GetSettings().m_useBuiltInBrowser = 0; },
        [choice](wxUpdateUIEvent& event) {
            event.Enable(true);
            event.Check(choice() == 0);
        });
    table.Add(
        ID_ADD_BROWSER, [&run](int) { AddNewBrowser(run); },
        EnableWhen([&run] { return run.GetBrowserPaths().size() < kMaxBrowsers; }));
    table.Add(
        ID_REMOVE_BROWSER,
        [&run](int) {
            if (!run.GetBrowserPaths().empty())
                RemoveBrowser(run);
        },
        EnableWhen([&run] { return !run.GetBrowserPaths().empty(); }));
    table.Add(
        ID_FIRST_BROWSER, ID_LAST_BROWSER,
        [&run](int id) {
            const int number = id - ID_FIRST_BROWSER + 1;
            if (static_cast<size_t>(number) <= run.GetBrowserPaths().size())
                run.GetSettings().m_useBuiltInBrowser = number;
        },
        [&run, choice](wxUpdateUIEvent& event) {
            const int id = event.GetId();
            const std::vector<std::string>& browsers = run.GetBrowserPaths();
            // The first browser's item stands for the list: the submenu gets the list's items as it opens.
            if (id == ID_FIRST_BROWSER)
                if (auto* menu = dynamic_cast<wxMenu*>(event.GetEventObject()))
                    RebuildBrowserItems(*menu, browsers);
            const int number = id - ID_FIRST_BROWSER + 1;
            event.Enable(static_cast<size_t>(number) <= browsers.size());
            event.Check(choice() == number);
        });
    table.Add(
        ID_FIRST_COMPANION_TOOL, ID_LAST_COMPANION_TOOL,
        [](int id) { LaunchCompanionTool(ProgramCommandId(id) - 32820); }, AlwaysEnabled());
}
