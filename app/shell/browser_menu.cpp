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
#include "app/shell/logic/tools_bar_logic.h"
#include "app/shell/main_frame.h"
#include "app/shell/program_services.h"
#include "app/shell/shell_dialogs.h"
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

void AddNewBrowser(CMainFrame& frame)
{
    std::vector<std::string>& browsers = frame.GetBrowserPaths();
    if (browsers.size() >= kMaxBrowsers)
        return;
    CExeFileDialog chooser(frame);
    if (!chooser.DoModal())
        return;
    std::string question = ResourceText(IDS_ADD_BROWSER_QUESTION);
    if (const size_t mark = question.find("%1"); mark != std::string::npos)
        question.replace(mark, 2, chooser.GetPath());
    CoreServices& services = GetCoreServices();
    services.Beep();
    if (!services.AskYesNo(GetProductName(), question))
        return;
    CBrowserEntry entry;
    if (entry.SetFromFile(chooser.GetPath()))
        browsers.push_back(entry.GetPath());
}

void RemoveBrowser(CMainFrame& frame)
{
    std::vector<std::string>& browsers = frame.GetBrowserPaths();
    std::vector<std::string> labels;
    for (const std::string& path : browsers)
        labels.push_back(LabelOf(path));
    std::vector<bool> selected;
    if (!GetShellDialogs().ChooseBrowsersToRemove(labels, selected))
        return;
    CAppSettings& settings = frame.GetSettings();
    settings.m_nUseBuiltInBrowser = RemoveBrowsers(browsers, selected, settings.m_nUseBuiltInBrowser);
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

bool CExeFileDialog::DoModal()
{
    CoreServices& services = GetCoreServices();
    ShellDialogs& dialogs = GetShellDialogs();
    for (;;) {
        std::string path = m_strPath;
        if (!dialogs.ChooseBrowserFile(path))
            return false;
        const int problem = CheckNewBrowser(path, m_frame.GetBrowserPaths());
        if (problem == 0) {
            m_strPath = path;
            return true;
        }
        services.Beep();
        services.ShowMessage(ResourceText(static_cast<unsigned>(problem)));
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

bool HandleBrowserCommand(CMainFrame& frame, int id)
{
    CAppSettings& settings = frame.GetSettings();
    switch (id) {
    case ID_USE_BUILT_IN_BROWSER:
        settings.m_nUseBuiltInBrowser = -1;
        return true;
    case ID_USE_STANDARD_BROWSER:
        settings.m_nUseBuiltInBrowser = 0;
        return true;
    case ID_ADD_BROWSER:
        AddNewBrowser(frame);
        return true;
    case ID_REMOVE_BROWSER:
        if (!frame.GetBrowserPaths().empty())
            RemoveBrowser(frame);
        return true;
    default:
        break;
    }
    if (id >= ID_FIRST_BROWSER && id <= ID_LAST_BROWSER) {
        const int choice = id - ID_FIRST_BROWSER + 1;
        if (static_cast<size_t>(choice) <= frame.GetBrowserPaths().size())
            settings.m_nUseBuiltInBrowser = choice;
        return true;
    }
    if (id >= ID_FIRST_COMPANION_TOOL && id <= ID_LAST_COMPANION_TOOL) {
        LaunchCompanionTool(ProgramCommandId(id) - 32820);
        return true;
    }
    return false;
}

bool UpdateBrowserCommand(CMainFrame& frame, wxUpdateUIEvent& event)
{
    const int id = event.GetId();
    const std::vector<std::string>& browsers = frame.GetBrowserPaths();
    const int choice = UsablePreviewChoice(frame.GetSettings().m_nUseBuiltInBrowser, browsers.size());
    switch (id) {
    case ID_USE_BUILT_IN_BROWSER:
        event.Enable(true);
        event.Check(choice == -1);
        return true;
    case ID_USE_STANDARD_BROWSER:
        event.Enable(true);
        event.Check(choice == 0);
        return true;
    case ID_ADD_BROWSER:
        event.Enable(browsers.size() < kMaxBrowsers);
        return true;
    case ID_REMOVE_BROWSER:
        event.Enable(!browsers.empty());
        return true;
    case ID_FIRST_BROWSER:
        if (auto* menu = dynamic_cast<wxMenu*>(event.GetEventObject()))
            RebuildBrowserItems(*menu, browsers);
        break;
    default:
        break;
    }
    if (id >= ID_FIRST_BROWSER && id <= ID_LAST_BROWSER) {
        const int number = id - ID_FIRST_BROWSER + 1;
        event.Enable(static_cast<size_t>(number) <= browsers.size());
        event.Check(choice == number);
        return true;
    }
    if (id >= ID_FIRST_COMPANION_TOOL && id <= ID_LAST_COMPANION_TOOL) {
        event.Enable(true);
        return true;
    }
    return false;
}

// The program's own answers: the dialogs on screen.

bool CProgramServices::ChooseBrowserFile(std::string& path)
{
    const std::string folder = path.empty() ? "/usr/share/applications" : GetPathFolder(path);
    wxFileDialog dialog(m_pFrame, BytesToWx(AfterLineFeed(IDS_ADD_BROWSER_PROMPT)), PathToWx(folder), wxEmptyString,
                        BytesToWx(ResourceText(IDS_PROGRAM_FILES_FILTER)) + "|*", wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    if (dialog.ShowModal() != wxID_OK)
        return false;
    path = PathFromWx(dialog.GetPath());
    return true;
}

bool CProgramServices::ChooseBrowsersToRemove(const std::vector<std::string>& labels, std::vector<bool>& selected)
{
    CRemoveBrowserDLG dialog(m_pFrame, labels);
    if (!dialog.IsReady() || dialog.ShowModal() != wxID_OK)
        return false;
    selected.clear();
    for (const int state : dialog.GetStates())
        selected.push_back(state != 0);
    return true;
}

bool CProgramServices::ShowDownloadOffer(int offer)
{
    CDownloadOfferDialog dialog(offer, m_pFrame);
    return dialog.IsOk() && dialog.ShowModal() == wxID_OK;
}
