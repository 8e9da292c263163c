#pragma once

// Large images that a render lets go of and the next render asks for again at the same size. Pages fresh from
// the system cost a fault and a clearing each when first written, more than writing the pixels themselves, so a
// few images let go are kept per thread and handed out again in place of new ones.

#include <memory>

#include "image/image.h"

// An image of the mode and size for a caller that overwrites every pixel, as CImage(mode, width, height, dpi,
// ForOverwrite) makes one: a kept image of the same mode and size (its pixels stale, the rest as a new image's:
// the dpi given, no PNG info, the default LUT and mask colour, the row padding cleared), or else a new one.
// Empty when the allocation fails, as a new image would be.
std::unique_ptr<CImage> TakeImageForOverwrite(IMAGE_MODE mode, int width, int height, double dpi = 96.0);

// The same, but only a kept image: null when none of the mode and size is kept.
std::unique_ptr<CImage> TakeKeptImage(IMAGE_MODE mode, int width, int height, double dpi = 96.0);

// Lets an image go. One that owns a buffer of at least kMinKeptImageBytes is kept for TakeImageForOverwrite on
// this thread, while the thread keeps at most kMaxKeptImages of them and kMaxKeptImageBytes in all (the oldest
// are freed first); any other is freed at once.
void KeepImage(std::unique_ptr<CImage> image);

constexpr size_t kMinKeptImageBytes = size_t(256) << 10;
constexpr int kMaxKeptImages = 6;
constexpr size_t kMaxKeptImageBytes = size_t(128) << 20;
