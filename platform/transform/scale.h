#pragma once

#include "image/image.h"
#include "platform/win/win_types.h"

// Scales an image of one size to another piece by piece, so that a large image need never be held whole: ask
// GetSrcRect which part of the source a part of the target needs, fetch that part into a pixel map, and let
// Transform fill the target part from it. The pieces join exactly as if the whole image had been scaled at once.
//
// Target pixel (x, y) shows the source around ((x + 0.5) sx, (y + 0.5) sy), sx and sy being source pixels per
// target pixel; beyond the source's edges its edge pixels repeat. Filtering is bilinear, or, where an axis shrinks
// by more than a quarter, an average of the source under each target pixel.
class CScale
{
public:
    // The flag changes nothing; it is kept for the callers.
    CScale(CSize source, CSize target, bool);

    // The part of the source (within the source's size) that the target rectangle needs. Transform then works on
    // this pair: its source map holds that part with its top-left pixel at (0, 0), its target map receives the
    // target rectangle likewise. Before the first call the pair is the whole source and the whole target.
    void GetSrcRect(const CRect& target, CRect& source);

    // Fills the target rectangle of the last GetSrcRect into target from source. Both maps hold 8-bit pixels of
    // modes 1, 3, 0x80000001, 0x80000003 or 0x800001FE, interleaved or planar, and may differ in mode (alpha
    // missing in the source counts as opaque). False, with target untouched, when a map is of another mode, has no
    // data or is smaller than its part, or when the sizes given at construction are not positive.
    bool Transform(const CPixMap& source, CPixMap& target) const;

private:
    CSize m_source;
    CSize m_target;
    CRect m_targetPart;
    CRect m_sourcePart;
};
