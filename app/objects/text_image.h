#pragma once

// Text turned into page images: the button text outline shapes carry, drawn onto their fill, and the centred label
// of placeholder images. (A text body's own cached images are CTextBody::RebuildImage and RebuildSecondImage.)
// Everything is drawn straight into the images' pixels, in tiles.

#include <string>
#include <string_view>
#include <vector>

#include "platform/win/win_types.h"

class CImage;
class CTextStyle;

// Rows per band of a text body's images: a band holds at most 64 KB of 8-bit pixels, and at least one row however
// wide the text is.
int GetTextBandHeight(int width);

// Draws a shape's button text onto its RGB or RGBA image (colour samples only; alpha stays): the lines centred as a
// block vertically, each placed by the style's alignment, with the drop shadow first when the style has one. False,
// with the image untouched, for an empty image or one of another mode.
bool DrawButtonText(CImage& image, const CTextStyle& style);

// Draws a one-line label in bold 16-pixel Arial centred on (cx, cy) of an RGB or RGBA image, with a shadow one pixel
// down and right when asked for. False for an empty image or one of another mode.
bool DrawCentredLabel(CImage& image, int cx, int cy, const std::string& text, COLORREF colour, bool shadow,
                      COLORREF shadowColour);

namespace detail {

// The coverage a text band keeps for ink drawn at that strength: none and full stay as they are, partial ink loses
// 5 so that faint fringes fall away.
BYTE ReduceTextCoverage(BYTE ink);
// A colour sample drawn over black at the given coverage, back to its full strength.
BYTE UnpremultiplyTextColour(BYTE colour, BYTE coverage);
// The button text's lines: split at each LF, an empty remainder after the last LF dropped.
std::vector<std::string_view> SplitButtonLines(std::string_view text);
// Where the shadow goes for a direction in degrees (0 is to the left, 90 down) and a distance.
POINT ButtonShadowOffset(int direction, int distance);

} // namespace detail
