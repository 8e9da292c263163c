#pragma once

// The library's own state as its tests and its settings page see it.

namespace kitefly {

// The library's module handle (its base address), stored at the first process attach.
void* LibraryModule();

namespace detail {
// What loading and unloading the library do besides building and deleting the browser manager.
void ProcessAttach();
void ProcessDetach();
int OpenCount();
} // namespace detail

} // namespace kitefly
