#pragma once

// The "Web Browser" settings page on wxWidgets: the page window made from a page record, its dialog procedure,
// and the "Browser Settings" sheet that shows it. Windows are passed as wxWindow* in plain pointers, so that
// callers of the C interface need no wx header.

#include "browser/kitefly.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace kitefly {

intptr_t BrowserPageProcedure(void* window, unsigned message, uintptr_t wParam, intptr_t lParam);
// The page of the record as a child of `parent` (a wxWindow*); its events go to the record's dialog procedure.
void* CreateBrowserPage(void* parent, const KITEFLY_PROPSHEETPAGE& page);
// The modal "Browser Settings" sheet with the page and OK and Cancel; OK applies the page.
void ShowBrowserSettingsSheet(void* parent, const KITEFLY_PROPSHEETPAGE& page);

// What Find... asks the open-file dialog; the answer is the chosen file, or nothing when it was cancelled.
struct FindRequest
{
    std::string title;
    std::string file;
    std::string folder;
    int filterIndex = 0; // 0-based: the kind's own filter
};
using FindFileHandler = std::function<std::optional<std::string>(const FindRequest&)>;

namespace detail {
// Replaces the open-file dialog of Find...; an empty handler puts back the dialog.
void SetFindFileHandler(FindFileHandler handler);
} // namespace detail

} // namespace kitefly
