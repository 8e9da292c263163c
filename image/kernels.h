#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "image/processor_builds.h"

// Strided copy and fill kernels for moving planes between images and pixel maps. Pixel steps count samples
// (of the side's own sample size), row steps count bytes. A count of 0 does nothing. Pointers need no
// particular alignment.
namespace detail {

void CopyBytes(uint8_t* dst, const uint8_t* src, size_t n);

void Copy8To8(uint8_t* dst, int dstPixelStep, int dstRowStep, const uint8_t* src, int srcPixelStep, int srcRowStep,
              int samplesPerRow, int rows);
// Each byte goes into both bytes of the 16-bit sample (the value times 257).
void Copy8To16(uint8_t* dst, int dstPixelStep, int dstRowStep, const uint8_t* src, int srcPixelStep, int srcRowStep,
               int samplesPerRow, int rows);
// The high byte of each 16-bit sample.
void Copy16To8(uint8_t* dst, int dstPixelStep, int dstRowStep, const uint8_t* src, int srcPixelStep, int srcRowStep,
               int samplesPerRow, int rows);
void Copy16To16(uint8_t* dst, int dstPixelStep, int dstRowStep, const uint8_t* src, int srcPixelStep, int srcRowStep,
                int samplesPerRow, int rows);
void Copy32To32(uint8_t* dst, int dstPixelStep, int dstRowStep, const uint8_t* src, int srcPixelStep, int srcRowStep,
                int samplesPerRow, int rows);
void Copy64To64(uint8_t* dst, int dstPixelStep, int dstRowStep, const uint8_t* src, int srcPixelStep, int srcRowStep,
                int samplesPerRow, int rows);

void Fill8(uint8_t* dst, int pixelStep, int rowStep, uint8_t value, int samplesPerRow, int rows);
void Fill16(uint8_t* dst, int pixelStep, int rowStep, uint16_t value, int samplesPerRow, int rows);
void Fill32(uint8_t* dst, int pixelStep, int rowStep, uint32_t value, int samplesPerRow, int rows);
void Fill64(uint8_t* dst, int pixelStep, int rowStep, uint64_t value, int samplesPerRow, int rows);

// The first samples (1 to 4, at most pixelStep) 8-bit samples of each pixel set to values[0 .. samples - 1] in one
// pass, the pixel's other samples left alone: the colour of alpha-first pixels, say. Here pixelStep counts bytes.
void FillPixels8(uint8_t* dst, int pixelStep, int rowStep, const uint8_t* values, int samples, int pixelsPerRow,
                 int rows);

// Packed 8-bit red, green, blue pixels (three bytes each) into packed pixels of alpha 255, red, green, blue. The
// two sides must not overlap.
void CopyRgbToOpaqueRgba(uint8_t* dst, int dstRowStep, const uint8_t* src, int srcRowStep, int pixelsPerRow, int rows);

// One row of CopyRgbToOpaqueRgba as built for each instruction set this processor runs, the build it uses
// first: for AVX2 where the processor has it, and the baseline build everywhere.
using RgbToOpaqueRgbaRow = void (*)(uint8_t* dst, const uint8_t* src, int pixels);
std::span<const ProcessorBuild<RgbToOpaqueRgbaRow>> RgbToOpaqueRgbaBuilds();

} // namespace detail
