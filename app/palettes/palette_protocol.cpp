#include "app/palettes/palette_protocol.h"

#include <array>
#include <cstdio>

namespace {

const std::array<PaletteDescription, kPropSheetCount> kPalettes = {{
    {" Page Properties", CSize(255, 425), true, 210, CSize(230, 425), 149},
    {" Object Properties", CSize(255, 395), true, 212, CSize(230, 395), 149},
    {" Link Properties", CSize(255, 220), false, 214, CSize(230, 179), 179},
    {" Fill Properties", CSize(255, 200), false, 280, CSize(230, 149), 149},
    {" Effects Properties", CSize(255, 525), true, 205, CSize(250, 525), 149},
    {" Styles Properties", CSize(255, 235), true, 322, CSize(230, 235), 149},
    {" Mouseover Properties", CSize(255, 200), false, 496, CSize(230, 149), 149},
}};

// The Windows-1252 degree sign.
constexpr char kDegree = '\xB0';

} // namespace

const PaletteDescription& DescribePalette(int index)
{
    return kPalettes.at(static_cast<size_t>(index));
}

bool PaletteListensTo(int index, UINT code)
{
    switch (code) {
    case kRefreshAll:
        return IsPropSheetIndex(index);
    case kRefreshSelection:
        return index != kPagePropSheet && IsPropSheetIndex(index);
    case kRefreshGeometry:
        return index == kObjectPropSheet;
    case kRefreshTextResized:
        return index == kLinkPropSheet;
    case kRefreshTextCaret:
        return index == kObjectPropSheet || index == kLinkPropSheet || index == kMouseOverPropSheet;
    default:
        return false;
    }
}

std::optional<CSize> PageSizeToRestore(int index, const CSize& client)
{
    const PaletteDescription& palette = DescribePalette(index);
    if (client.cx == 232 || client.cy == palette.pageTestHeight)
        return std::nullopt;
    return palette.pageSize;
}

std::string FormatPercentLabel(int value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%3d%%", value);
    return text;
}

std::string FormatAngleLabel(int degrees)
{
    char text[32];
    std::snprintf(text, sizeof text, "%3d%c", degrees, kDegree);
    return text;
}

std::string FormatRotationLabel(double degrees)
{
    char text[48];
    std::snprintf(text, sizeof text, "%3.1f%c", degrees, kDegree);
    return text;
}
