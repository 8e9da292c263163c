#pragma once

// What the seven inspector palettes share without a window: their order, titles and fixed sizes, the refresh codes
// and which page listens to which, the size a page is put back to, and the formats of the value labels.

#include <optional>
#include <string>

#include "platform/win/win_types.h"

// The palettes in the order every list and switch of them uses.
enum PropSheetIndex
{
    kPagePropSheet = 0,
    kObjectPropSheet = 1,
    kLinkPropSheet = 2,
    kFillPropSheet = 3,
    kEffectsPropSheet = 4,
    kStylesPropSheet = 5,
    kMouseOverPropSheet = 6,
};
inline constexpr int kPropSheetCount = 7;

inline bool IsPropSheetIndex(int index)
{
    return index >= 0 && index < kPropSheetCount;
}

// The codes by which the rest of the program tells the shown page to read the selection again.
enum InspectorRefresh : UINT
{
    kRefreshSelection = 10011,   // the selection changed
    kRefreshGeometry = 10012,    // the selection is being moved, sized or turned by the mouse
    kRefreshTextResized = 10015, // a handle resize reached a text object
    kRefreshTextCaret = 10016,   // the caret or text selection moved while a text is edited in place
    kRefreshAll = 10018,         // anything else: read everything again
};

struct PaletteDescription
{
    const char* title;  // the frame's title, which starts with a blank
    CSize frameSize;    // given to the frame each time it is shown
    bool resizeSheet;   // whether its sheet and page take that size too
    int pageTemplate;   // the page's dialog template
    CSize pageSize;     // the size the page is put back to at a refresh
    int pageTestHeight; // a page this high keeps its size
};

// The palette's row; index must be a PropSheetIndex.
const PaletteDescription& DescribePalette(int index);

// Whether the page of a palette fills itself again on a refresh code.
bool PaletteListensTo(int index, UINT code);

// The size a page whose client area measures client is set back to at a refresh, or nothing when it keeps its
// size (it is 232 wide, or as high as its test height).
std::optional<CSize> PageSizeToRestore(int index, const CSize& client);

// Value labels beside sliders and wheels, as Windows-1252 bytes: "%3d%%", "%3d°" and "%3.1f°".
std::string FormatPercentLabel(int value);
std::string FormatAngleLabel(int degrees);
std::string FormatRotationLabel(double degrees);
