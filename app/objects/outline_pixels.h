#pragma once

// The pixel work of the outline objects' render that is theirs alone: the alpha-first RGB maps it goes through,
// the colour those maps are filled with, and the crop of an image with effects to the pixels that show.

#include <memory>

#include "image/image.h"
#include "platform/win/win_types.h"

namespace detail {

// An 8-bit map of alpha, red, green and blue (in either layout) with buffers: the form the render works in.
bool IsAlphaRgbMap(const CPixMap& map);

// Sets the three colour samples of each pixel of an alpha-first RGB map (within its present size) to the colour;
// alpha stays as it is.
void FillColourPlanes(CPixMap& map, COLORREF colour);

// Points a map of the image's mode, made without pixels of its own (0 x 0), at the w x h pixels of the image at
// (x, y), so that a step that fills a map writes into the image in place. The box must lie inside the image; the
// map must not outlive the image's buffer.
void AimMapAt(CPixMap& view, CImage& image, int x, int y, int w, int h);

// Shrinks an alpha-first RGB image to the smallest box of pixels that show (alpha above 0), copying its rows, and
// moves bounds with it; scratch, the render's tile map, is left as it is. An image without any such pixel, or whose
// every edge shows, stays as it is. False, with image and bounds unchanged, when the cropped image cannot be made.
bool CropToVisible(CPixMap& scratch, std::unique_ptr<CImage>& image, CRect& bounds);

} // namespace detail
