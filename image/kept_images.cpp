#include "image/kept_images.h"

#include <cstring>
#include <deque>

namespace {

std::deque<std::unique_ptr<CImage>>& Kept()
{
    thread_local std::deque<std::unique_ptr<CImage>> kept;
    return kept;
}

size_t KeptBytes()
{
    size_t bytes = 0;
    for (const auto& image : Kept())
        bytes += image->GetDataSize();
    return bytes;
}

} // namespace

std::unique_ptr<CImage> TakeKeptImage(IMAGE_MODE mode, int width, int height, double dpi)
{
    auto& kept = Kept();
    for (auto it = kept.begin(); it != kept.end(); ++it) {
        CImage& image = **it;
        if (image.GetMode() != mode || image.Width() != width || image.Height() != height)
            continue;
        std::unique_ptr<CImage> taken = std::move(*it);
        kept.erase(it);
        taken->SetDpi(dpi);
        taken->SetPNGInfo(nullptr);
        taken->SetLut(CLut());
        taken->SetMaskColor(CColor());
        // A new image's row padding is clear; the image's earlier writers may have reached into it.
        const size_t stride = static_cast<size_t>(taken->GetStride());
        const size_t used =
            static_cast<size_t>((int64_t(width) * taken->GetBitsPerPlane() * taken->GetPlanes() + 7) / 8);
        if (used < stride)
            for (int y = 0; y < height; ++y)
                std::memset(taken->GetData() + y * stride + used, 0, stride - used);
        return taken;
    }
    return nullptr;
}

std::unique_ptr<CImage> TakeImageForOverwrite(IMAGE_MODE mode, int width, int height, double dpi)
{
    if (auto kept = TakeKeptImage(mode, width, height, dpi))
        return kept;
    return std::make_unique<CImage>(mode, width, height, dpi, CImage::ForOverwrite{});
}

void KeepImage(std::unique_ptr<CImage> image)
{
    if (!image || image->IsEmpty() || !image->OwnsData() || image->GetDataSize() < kMinKeptImageBytes ||
        image->GetDataSize() > kMaxKeptImageBytes)
        return;
    auto& kept = Kept();
    kept.push_back(std::move(image));
    while (static_cast<int>(kept.size()) > kMaxKeptImages || KeptBytes() > kMaxKeptImageBytes)
        kept.pop_front();
}
