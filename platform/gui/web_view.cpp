#include "platform/gui/web_view.h"

#include <dlfcn.h>

#include <system_error>

namespace {

constexpr const char* kWebViewModuleFile = "libpelorin_web_view.so";

std::filesystem::path& ChosenModulePath()
{
    static std::filesystem::path path;
    return path;
}

} // namespace

std::filesystem::path GetWebViewModulePath()
{
    if (!ChosenModulePath().empty())
        return ChosenModulePath();
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path(kWebViewModuleFile) : exe.parent_path() / kWebViewModuleFile;
}

void SetWebViewModulePath(const std::filesystem::path& path)
{
    ChosenModulePath() = path;
}

bool IsWebViewModulePresent()
{
    std::error_code error;
    return std::filesystem::is_regular_file(GetWebViewModulePath(), error);
}

const WebViewModule* LoadWebViewModule(std::string* error)
{
    // Asked on the GUI thread only, as every window is made.
    static const WebViewModule* loaded = nullptr;
    if (loaded)
        return loaded;
    const auto fail = [error](const std::string& cause) -> const WebViewModule* {
        if (error)
            *error = cause;
        return nullptr;
    };
    const std::string path = GetWebViewModulePath().string();
    // Never closed: the toolkit's web view registers itself with the toolkit and keeps a browser engine running.
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* cause = dlerror();
        return fail(cause ? cause : "cannot load " + path);
    }
    auto entry = reinterpret_cast<WebViewModuleEntry>(dlsym(handle, PELORIN_WEB_VIEW_ENTRY));
    const WebViewModule* module = entry ? entry() : nullptr;
    if (!module || module->version != kWebViewModuleVersion || !module->isAvailable || !module->create)
        return fail(path + " is not the web view module of this build");
    if (!module->isAvailable())
        return fail("the toolkit's web view cannot be made here (" + path + ")");
    loaded = module;
    return loaded;
}
