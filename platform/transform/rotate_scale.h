#pragma once

#include "image/image.h"
#include "platform/win/win_types.h"

#include <memory>

// Scales a whole image to a new size and turns it. Handles images of modes 1 (grey), 3 (RGB), 0x80000001 and
// 0x80000003 (the same with an alpha plane) and 0x800001FE (coverage only); the result has the source's mode
// and resolution.
class CRotateScale
{
public:
    // The source is bound, not copied, and must outlive this object.
    explicit CRotateScale(const CImage& source) : m_source(source) {}

    // Scales the source to width x height, then turns it by angle (radians) about centre, given in the scaled
    // image's coordinates (null: its middle).
    //
    // The turn follows the outlines' convention, so that an image and an outline turned by the same angle agree:
    // with d = p - centre, a point p goes to
    //     x' = centre.x + d.x cos(-angle) - d.y sin(-angle),  y' = centre.y + d.x sin(-angle) + d.y cos(-angle).
    // The scaled image spans [0, width] x [0, height]. The result is the bounding box of its four turned corners
    // in whole pixels: left = floor(min x'), top = floor(min y'), right = ceil(max x'), bottom = ceil(max y'); its
    // size is (right - left) x (bottom - top), and its pixel (i, j) shows the point (left + i + 0.5, top + j + 0.5).
    // Turned about the middle, the box is symmetric about it and the middle lands on the result's middle
    // (W / 2, H / 2); unturned the result is exactly width x height.
    //
    // Where the turned image does not reach, an image with alpha gets alpha 0, and the edge pixels' alpha is the
    // share of the pixel that the turned rectangle covers; an image without alpha repeats its nearest edge pixel.
    // With a background colour the turned image is laid over that colour instead, and the result is opaque (the
    // coverage mode has no colour and ignores it). Every transform filters, bilinear or, where the image shrinks by
    // more than a quarter, averaging the source under each pixel.
    //
    // Null when the source is empty or of another mode, the size is not positive, the angle or centre is not
    // finite, or the result would be too large or cannot be allocated.
    std::unique_ptr<CImage> Transform(int width, int height, double angle, const DPOINT* centre,
                                      const CColor* background) const;

private:
    const CImage& m_source;
};
