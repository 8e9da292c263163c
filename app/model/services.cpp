#include "app/model/services.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "app/model/seam_slot.h"
#include "app/model/site_paths.h"
#include "app/model/undo_manager.h"

namespace {

SeamSlot<CoreServices, NullCoreServices> g_services;
std::string g_openingSitePath;
OutsidePageBackground g_outsideBackground;

} // namespace

BYTE ViewBufferReady = 0;

std::unique_ptr<CUndoManager> NullCoreServices::CreateUndoManager(CSitePage* owner, int capacity)
{
    return std::make_unique<CUndoManager>(owner, capacity);
}

void SetCoreServices(CoreServices* services)
{
    g_services.Set(services);
}

CoreServices& GetCoreServices()
{
    return g_services.Get();
}

CWebsite* GetCurrentSite()
{
    return GetCurrentState().GetCurrentSite();
}

PageView* GetCurrentView()
{
    return GetCurrentState().GetCurrentView();
}

CSitePage* GetCurrentPage()
{
    return GetCurrentState().GetCurrentPage();
}

CPageObject* GetCurrentObject()
{
    return GetCurrentState().GetCurrentObject();
}

CAppSettings* GetAppSettings()
{
    return GetCurrentState().GetAppSettings();
}

void NotifyInspector(int code)
{
    GetToolsAndInspector().NotifyInspector(code);
}

void MarkClipboardStale()
{
    g_services.Get().MarkClipboardStale();
}

void GetDisplayBitmapFormat(BITMAP* bm, int width, int height)
{
    if (bm == nullptr)
        return;
    *bm = BITMAP();
    bm->bmBitsPixel = static_cast<WORD>(g_services.Get().GetDisplayBitsPerPixel());
    bm->bmWidth = width;
    bm->bmHeight = height;
    const int64_t w = std::max(width, 0);
    int64_t rowBytes;
    if (bm->bmBitsPixel == 16)
        rowBytes = (2 * w + 3) & ~int64_t(3);
    else if (bm->bmBitsPixel == 24)
        rowBytes = (3 * w + 3) & ~int64_t(3);
    else
        rowBytes = 4 * w;
    bm->bmWidthBytes = static_cast<LONG>(std::min<int64_t>(rowBytes, INT32_MAX & ~3));
}

BOOL SanitizePageId(std::string& name)
{
    static constexpr std::string_view kIllegal = "/ @.;(){}^[]:<>\\%&";
    const size_t before = name.size();
    std::erase_if(name, [](char c) { return kIllegal.find(c) != std::string_view::npos; });
    if (name.size() != before)
        GetMessages().ShowMessage("Illegal characters were removed from the Page ID");
    return TRUE;
}

void SetOpeningSitePath(std::string path)
{
    g_openingSitePath = std::move(path);
}

const std::string& GetOpeningSitePath()
{
    return g_openingSitePath;
}

std::string GetStoredPathBase()
{
    if (GetCurrentSite())
        return GetCurrentState().GetCurrentSitePath();
    return g_openingSitePath;
}

std::string ResolveStoredPath(const std::string& path)
{
    return ResolveStoredPath(path, GetStoredPathBase());
}

OutsidePageBackground& GetOutsidePageBackground()
{
    return g_outsideBackground;
}

CoreServices* ExchangeSeam(CoreServices* services)
{
    return g_services.Exchange(services);
}
