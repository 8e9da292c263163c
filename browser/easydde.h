#pragma once

// The library's thin client over the conversation bus: one instance, conversations opened per request,
// synchronous requests with a fixed time-out, and a box that names any error of the bus.

#include "browser/dde_bus.h"

#include <optional>
#include <string>

namespace kitefly {

constexpr DWORD kDdeTimeoutMs = 15000;

int DdeClientStart(void* module);
int DdeClientStop();
HCONV DdeClientOpen(const char* service, const char* topic, bool report);
void DdeClientClose(HCONV conversation);
// The reply's bytes, or nothing after the error box.
std::optional<std::string> DdeClientRequest(HCONV conversation, const char* item, UINT format);
void ShowDdeError();

// The error box's text for an error code: the name and description of its row, or "Unknown error code : N".
std::string DdeErrorText(UINT code);

} // namespace kitefly
