#include "platform/ftp/curl_library.h"

#include <dlfcn.h>

#include <mutex>

namespace {

// The library's name for its binary interface, the same since 2006.
constexpr const char* kCurlFile = "libcurl.so.4";

template <class Function> bool Find(void* handle, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(dlsym(handle, name));
    return function != nullptr;
}

} // namespace

const CurlLibrary* LoadCurlLibrary(std::string* error)
{
    static std::mutex lock;
    static CurlLibrary library;
    static bool loaded = false;
    const std::lock_guard<std::mutex> hold(lock);
    if (loaded)
        return &library;
    void* handle = dlopen(kCurlFile, RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        if (error) {
            const char* cause = dlerror();
            *error = std::string("libcurl cannot be loaded: ") + (cause ? cause : kCurlFile);
        }
        return nullptr;
    }
    CurlLibrary found{};
    const bool complete =
        Find(handle, "curl_global_init", found.global_init) && Find(handle, "curl_easy_init", found.easy_init) &&
        Find(handle, "curl_easy_cleanup", found.easy_cleanup) && Find(handle, "curl_easy_setopt", found.easy_setopt) &&
        Find(handle, "curl_easy_getinfo", found.easy_getinfo) && Find(handle, "curl_easy_escape", found.easy_escape) &&
        Find(handle, "curl_easy_strerror", found.easy_strerror) && Find(handle, "curl_free", found.free) &&
        Find(handle, "curl_slist_append", found.slist_append) &&
        Find(handle, "curl_slist_free_all", found.slist_free_all) &&
        Find(handle, "curl_multi_init", found.multi_init) && Find(handle, "curl_multi_cleanup", found.multi_cleanup) &&
        Find(handle, "curl_multi_add_handle", found.multi_add_handle) &&
        Find(handle, "curl_multi_remove_handle", found.multi_remove_handle) &&
        Find(handle, "curl_multi_perform", found.multi_perform) &&
        Find(handle, "curl_multi_timeout", found.multi_timeout) && Find(handle, "curl_multi_poll", found.multi_poll) &&
        Find(handle, "curl_multi_info_read", found.multi_info_read);
    if (!complete || found.global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) {
        if (error)
            *error = complete ? "libcurl cannot be initialised" : "libcurl lacks a function the publisher calls";
        dlclose(handle);
        return nullptr;
    }
    library = found;
    loaded = true;
    return &library;
}
