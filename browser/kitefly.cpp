#include "browser/kitefly.h"

#include "browser/browser.h"
#include "browser/easydde.h"
#include "browser/kitefly_state.h"
#include "browser/memory.h"
#include "browser/report.h"
#include "browser/settings_page.h"

#include <dlfcn.h>

#include <cstdlib>
#include <cstring>

namespace kitefly {

namespace {

int g_nOpenCount = 0;
int g_nAttachCount = 0;
void* g_hModule = nullptr;
char* g_pURLs = nullptr;
// Built when the library is loaded, deleted when it is unloaded; kept on the heap so that the unload's own work
// does not depend on the order in which static objects go.
CBrowserManager* g_pManager = nullptr;

void* ModuleHandle()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&Kitefly_Init), &info) && info.dli_fbase)
        return info.dli_fbase;
    return nullptr;
}

__attribute__((constructor)) void OnLibraryLoad()
{
    g_pManager = new CBrowserManager;
    detail::ProcessAttach();
}

__attribute__((destructor)) void OnLibraryUnload()
{
    detail::ProcessDetach();
    delete g_pManager;
    g_pManager = nullptr;
}

} // namespace

CBrowserManager& TheBrowserManager()
{
    if (!g_pManager)
        g_pManager = new CBrowserManager;
    return *g_pManager;
}

void* LibraryModule()
{
    return g_hModule;
}

namespace detail {

void ReloadBrowserManager()
{
    delete g_pManager;
    g_pManager = new CBrowserManager;
}

void ProcessAttach()
{
    if (g_nAttachCount++ == 0)
        g_hModule = ModuleHandle();
}

void ProcessDetach()
{
    if (--g_nAttachCount == 0 && Kitefly_IsOpen()) {
        MessageBeep();
        ShowMessageBox("Kitefly_Close has not been called!", "Kitefly error", MB_OK | MB_ICONHAND | MB_SYSTEMMODAL);
        Kitefly_Close();
    }
}

int OpenCount()
{
    return g_nOpenCount;
}

} // namespace detail

} // namespace kitefly

using namespace kitefly;

namespace {

void OpenIfClosed()
{
    if (!Kitefly_IsOpen())
        Kitefly_Init();
}

} // namespace

extern "C" {

int Kitefly_Init(void)
{
    if (g_nOpenCount++ != 0)
        return 1;
    // A start that fails is undone, so that the library stays closed and the next call tries again.
    if (!MemStart(g_hModule)) {
        MemStop();
        --g_nOpenCount;
        return 0;
    }
    if (!DdeClientStart(g_hModule)) {
        DdeClientStop();
        MemStop();
        --g_nOpenCount;
        return 0;
    }
    return 1;
}

int Kitefly_Close(void)
{
    if (g_nOpenCount <= 0)
        return 1;
    if (--g_nOpenCount == 0) {
        DdeClientStop();
        MemStop();
        std::free(g_pURLs);
        g_pURLs = nullptr;
    }
    return 1;
}

int Kitefly_IsOpen(void)
{
    return g_nOpenCount > 0 ? 1 : 0;
}

int Kitefly_OpenURL(const char* address, uint32_t flags)
{
    OpenIfClosed();
    CBrowser* browser = TheBrowserManager().GetBrowser();
    if (!browser || !address)
        return 0;
    return browser->OpenURL(address, (flags & KITEFLY_OPEN_BIT0) != 0, (flags & KITEFLY_OPEN_NEW_WINDOW) != 0);
}

int Kitefly_Activate(uint32_t /*ignored*/)
{
    OpenIfClosed();
    CBrowser* browser = TheBrowserManager().GetBrowser();
    if (!browser)
        return 0;
    return browser->Activate(kLastActiveWindow);
}

int Kitefly_GetBrowserURLs(char** urls)
{
    std::free(g_pURLs);
    g_pURLs = nullptr;
    OpenIfClosed();
    if (CBrowser* browser = TheBrowserManager().GetBrowser()) {
        std::unique_ptr<CWindowList> windows = browser->ListWindows();
        if (windows && windows->GetCount() > 0) {
            const std::size_t size = static_cast<std::size_t>(windows->GetCount()) * 1024 + 32;
            g_pURLs = static_cast<char*>(std::calloc(size, 1));
            std::size_t used = 0;
            for (int i = 0; g_pURLs && i < windows->GetCount(); ++i) {
                std::string address, title;
                if (!browser->GetWindowInfo(windows->GetAt(i), &address, &title))
                    continue;
                // Each text is at most 255 characters, so a pair always fits its window's share of the block.
                if (used + title.size() + address.size() + 2 >= size)
                    break;
                std::memcpy(g_pURLs + used, title.c_str(), title.size() + 1);
                used += title.size() + 1;
                std::memcpy(g_pURLs + used, address.c_str(), address.size() + 1);
                used += address.size() + 1;
            }
        }
    }
    if (urls)
        *urls = g_pURLs;
    return g_pURLs && g_pURLs[0] != '\0' ? 1 : 0;
}

int Kitefly_PreparePropSheet(KITEFLY_PROPSHEETPAGE* page)
{
    OpenIfClosed();
    if (!page)
        return 1;
    page->dwSize = sizeof(KITEFLY_PROPSHEETPAGE);
    page->dwFlags = 0;
    page->hInstance = g_hModule;
    page->pszTemplate = KITEFLY_PAGE_TEMPLATE;
    page->hIcon = nullptr;
    page->pszTitle = nullptr;
    page->pfnDlgProc = Kitefly_PropSheetDlgProc;
    page->lParam = 0;
    page->pfnCallback = nullptr;
    return 1;
}

intptr_t Kitefly_PropSheetDlgProc(void* window, unsigned message, uintptr_t wParam, intptr_t lParam)
{
    return BrowserPageProcedure(window, message, wParam, lParam);
}

int Kitefly_InvokePropSheet(void* parent)
{
    auto* page = static_cast<KITEFLY_PROPSHEETPAGE*>(std::calloc(1, sizeof(KITEFLY_PROPSHEETPAGE)));
    if (!page) {
        MessageBeep();
        return 0;
    }
    Kitefly_PreparePropSheet(page);
    ShowBrowserSettingsSheet(parent, *page);
    std::free(page);
    return 0;
}

} // extern "C"
