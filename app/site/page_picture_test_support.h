#pragma once

// The whole page as the design view composes it (in tiles of the render buffer, background first), as a mode-3
// image, for tests that look at a page or compare it with another picture of it.

#include <algorithm>
#include <memory>
#include <vector>

#include "app/site/site_page.h"
#include "image/image.h"

inline std::unique_ptr<CImage> DrawWholePage(CSitePage& page)
{
    const int width = page.GetWidth(), height = page.GetHeight();
    std::vector<BYTE> argb(static_cast<size_t>(width) * height * 4);
    constexpr int tile = CSitePage::kRenderBufferSize;
    for (int y = 0; y < height; y += tile)
        for (int x = 0; x < width; x += tile)
            page.Draw(RECT{x, y, std::min(x + tile, width), std::min(y + tile, height)},
                      argb.data() + (static_cast<size_t>(y) * width + x) * 4, width * 4, true, false, false);
    auto image = std::make_unique<CImage>(IMAGE_MODE_RGB, width, height);
    CPixMap map(IMAGE_MODE_RGB, width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c)
                map.Sample(x, y, 0)[c] = argb[(static_cast<size_t>(y) * width + x) * 4 + 1 + c];
    image->SetBuf(0, 0, map);
    return image;
}
