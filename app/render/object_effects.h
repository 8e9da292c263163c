#pragma once

// The drop or inner shadow, bevel and glow of an outline object: drawn around and into the object's freshly
// rendered image, giving one larger image and wider bounds. The spread image of each effect is kept in the
// effect record, so a render that changes neither the outline nor the effect does no blur.

#include <memory>

#include "image/image.h"
#include "platform/win/win_types.h"

class CEffectSettings;

// Bring one effect's cached spread image up to date for the source image (the object's image): the old one is
// kept while it fits the source, its softness and strength setting are those it was built with and the record
// does not ask for a rebuild. True when a new image was built; false when the old one was kept or a new one
// could not be built, in which case the cache is left empty.
bool RefreshShadowCache(CEffectSettings& effects, const CImage& source);
bool RefreshBevelCache(CEffectSettings& effects, const CImage& source);
bool RefreshGlowCache(CEffectSettings& effects, const CImage& source);

// Draws the effects that are on into a new image holding the object's image (mode 0x80000003, placed at the
// bounds' top-left) and replaces image and bounds by it and the area it covers. With no effect on nothing
// changes and the result is true. False, with image and bounds as they were, when the image is missing, empty
// or of another mode, the bounds are empty, or a spread, shading or composite image cannot be made; the caller
// then shows the object without effects and renders again later. The caches stay consistent either way.
bool RenderEffects(std::unique_ptr<CImage>& image, CRect& bounds, CEffectSettings& effects);

namespace detail {

// Half-up rounding onto the pixel grid: t = v truncated toward zero, t + 1 when v - t >= 0.5 (57.5 gives 58,
// -3.54 gives -3).
int RoundHalfUp(double v);

// How far the shadow moves from the object for its offset and light angle (degrees).
CSize ShadowShift(int offset, int angleDegrees);

} // namespace detail
