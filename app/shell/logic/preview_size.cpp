#include "app/shell/logic/preview_size.h"

#include <algorithm>

CSize PreviewWindowSize(CSize pageSize, CSize chrome, CSize screenSize)
{
    const auto fit = [](long page, long extra, long screen, long least) {
        return std::max(std::min(page + extra, screen - 25), least);
    };
    return CSize(static_cast<int>(fit(pageSize.cx, chrome.cx, screenSize.cx, kPreviewMinWidth)),
                 static_cast<int>(fit(pageSize.cy, chrome.cy, screenSize.cy, kPreviewMinHeight)));
}
