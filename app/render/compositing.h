#pragma once

// Alpha compositing of the whole program: laying one run of pixels over another, reducing alpha, and the
// colour operations of the shadow, bevel and glow effects.
//
// Pixels are four bytes, alpha, red, green, blue. A run is a pointer to its first pixel, the pixel step (bytes
// from one pixel to the next in a row) and the row step (bytes from one row's first pixel to the next row's);
// all runs of one call share its width and height. A mask, glow or shading run is read by its first byte as
// alpha, so an alpha-only map (one byte per pixel) serves as well as a four-byte one. Only the destination
// changes. A width or height of 0 or less does nothing. Colours are COLORREF values.

#include <array>
#include <span>

#include "image/processor_builds.h"
#include "platform/win/win_types.h"

// The three blend tables, entry [a][b] at index a * 256 + b:
//   MulTable           floor(a * b / 255)
//   OverAlphaTable     a + floor(b * (255 - a) / 255): alpha b laid over alpha a
//   SourceWeightTable  floor(65025 * b / (255 * a + b * (255 - a))), 0 for a = b = 0: the upper pixel's
//                      share (0..255) of the colour when alpha b is laid over alpha a
extern const std::array<unsigned char, 65536> MulTable;
extern const std::array<unsigned char, 65536> OverAlphaTable;
extern const std::array<unsigned char, 65536> SourceWeightTable;

// A percentage as a byte strength: trunc(percent * 255 / 100), kept within the range of int. Not clamped to a
// byte; see the operations for how values outside 0..255 are taken.
int StrengthFromPercent(int percent);

// Source over destination.
void BlendAlpha(unsigned char* dst, int dstPixelStep, int dstRowStep, const unsigned char* src, int srcPixelStep,
                int srcRowStep, int width, int height);

// Multiplies each destination alpha by k / 255 (through MulTable); k is clamped to 0..255.
void ScaleAlpha(unsigned char* dst, int dstPixelStep, int dstRowStep, int width, int height, int k);

// Moves the destination's colour toward the colour where the mask is weaker than the strength of percent;
// alpha is kept.
void BlendColorInverseMask(unsigned char* dst, int dstPixelStep, int dstRowStep, const unsigned char* mask,
                           int maskPixelStep, int maskRowStep, int width, int height, int percent, COLORREF color);

// The bevel and glow steps. p is a byte strength (StrengthFromPercent), clamped to 0..255. The shading run's
// red, green and blue bytes give the grey of the light.
void BevelOuter(unsigned char* dst, int dstPixelStep, int dstRowStep, const unsigned char* shading,
                int shadingPixelStep, int shadingRowStep, const unsigned char* mask, int maskPixelStep, int maskRowStep,
                int width, int height, int p);
void BevelOuterInverted(unsigned char* dst, int dstPixelStep, int dstRowStep, const unsigned char* shading,
                        int shadingPixelStep, int shadingRowStep, const unsigned char* mask, int maskPixelStep,
                        int maskRowStep, int width, int height, int p);
void BevelInner(unsigned char* dst, int dstPixelStep, int dstRowStep, const unsigned char* shading,
                int shadingPixelStep, int shadingRowStep, const unsigned char* mask, int maskPixelStep, int maskRowStep,
                int width, int height, int p);
void GlowBlend(unsigned char* dst, int dstPixelStep, int dstRowStep, const unsigned char* glow, int glowPixelStep,
               int glowRowStep, const unsigned char* mask, int maskPixelStep, int maskRowStep, int width, int height,
               int p, COLORREF color);

// Style 0 outer, 1 inner, 2 outer then inner, 3 inner then outer with inverted light; others do nothing.
void ApplyBevel(unsigned char* dst, int dstPixelStep, int dstRowStep, const unsigned char* shading,
                int shadingPixelStep, int shadingRowStep, const unsigned char* mask, int maskPixelStep, int maskRowStep,
                int width, int height, int style, int percent);
// Style 0 outer glow, 1 inner glow (glow and mask exchanged), 2 both in that order; others do nothing.
void ApplyGlow(unsigned char* dst, int dstPixelStep, int dstRowStep, const unsigned char* glow, int glowPixelStep,
               int glowRowStep, const unsigned char* mask, int maskPixelStep, int maskRowStep, int width, int height,
               int style, int percent, COLORREF color);

namespace detail {

// BlendAlpha over one row of count pixels, four bytes apart in the source and in the destination.
using BlendAlphaRow = void (*)(unsigned char* dst, const unsigned char* src, int count);

// The builds of the row routine that this processor can run, the one BlendAlpha uses first: for AVX-512 and
// for AVX2 where the processor has them, and the baseline build (SSE2 on x86-64) everywhere.
std::span<const ProcessorBuild<BlendAlphaRow>> BlendAlphaRowBuilds();

} // namespace detail
