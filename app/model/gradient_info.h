#pragma once

// A colour gradient as the site stores it: the gradient colours of the controls with the angle at which they run.
// Object fills and page backgrounds embed one and render it at the size they need.

#include <array>
#include <memory>

#include "controls/gradient/gradient_model.h"
#include "image/image.h"
#include "platform/win/file.h"

class CGradientInfo : public GRADIENTCOLORS
{
public:
    // Predefined gradient 0 at angle 0.
    CGradientInfo();
    CGradientInfo(const CGradientInfo& other) = default;
    CGradientInfo& operator=(const CGradientInfo& other) = default;
    ~CGradientInfo() = default;

    // A new copy; the caller owns it.
    std::unique_ptr<CGradientInfo> Clone() const { return std::make_unique<CGradientInfo>(*this); }

    // Takes start, end, stops and predefined index; the angle stays.
    void SetGradientColors(const GRADIENTCOLORS& colors);
    const GRADIENTCOLORS& GetGradientColors() const { return *this; }

    // Angle, colours and stops; the predefined index is not compared.
    bool operator==(const CGradientInfo& other) const;
    bool operator!=(const CGradientInfo& other) const { return !(*this == other); }

    // Start, end, the stop count and the stops, the predefined index and the angle. The record has no tag: it
    // is always present where its owner writes it.
    void Write(CFile& file) const;
    // A stop count that is negative or larger than the rest of the stream could hold raises the file exception;
    // stop positions are brought into 0..1 (a position that is not a number becomes 0).
    void Read(CFile& file, int major, int minor);

    // Fills the whole target (RGB, with or without alpha) with the gradient at its angle: the start colour at the
    // corner where the colours begin, the end colour at the opposite one. False, with the target untouched,
    // when the target has no pixels of an RGB mode or the colour band cannot be allocated.
    bool Render(CImage* target) const;

    // Degrees, counter-clockwise as seen on the screen: 0 runs from left to right, 90 from bottom to top, 180
    // from right to left, 270 from top to bottom.
    int angle = 0;
};

namespace detail {

// Weights of the four band entries around a position, by the top 8 bits of the position's fraction t: for the
// entries at distances 1 + t, t, 1 - t and 2 - t, the cubic convolution kernel times 4096, truncated. Built once
// and shared by every gradient.
using CubicWeightTable = std::array<std::array<int, 4>, 256>;
const CubicWeightTable& GetCubicWeights();

} // namespace detail
