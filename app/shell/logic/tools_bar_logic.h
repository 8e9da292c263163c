#pragma once

// What the tools bar and the Shapes palette decide, apart from their windows: where the tool buttons sit and which
// one a click takes, the colour well's frame and colour, the current, previous and companion tools, the first-use
// hint of each tool, and the palette's buttons with their shape kinds.

#include <array>
#include <vector>

#include "image/image.h"
#include "platform/win/win_types.h"

struct CAppSettings;
class CWebsite;

// Tools 12 to 17 launch companion programs: current only while their button is held.
constexpr int kFirstCompanionTool = 12;
constexpr int kLastCompanionTool = 17;
constexpr int kShapeTool = 3;
bool IsCompanionTool(int tool);

struct ToolButtonInfo
{
    int tool;
    unsigned normalBitmap;
    unsigned selectedBitmap;
    // Added to the image height between the button above and this one: the groups stand 5 pixels apart, some
    // buttons overlap the one above by a row.
    int stepAfterImage;
    unsigned tooltip;
};
constexpr int kToolButtonCount = 13;
extern const std::array<ToolButtonInfo, kToolButtonCount> kToolButtons;

struct ToolButtonPlace
{
    int tool;
    CPoint pos;
};
// The buttons' places in the bar for images h pixels high: one column at x = 2 below the colour well.
std::vector<ToolButtonPlace> LayOutToolButtons(int h);
// The first button whose image of the given size holds pt (an overlapped row belongs to the upper button); -1
// for none.
int HitToolButton(const std::vector<ToolButtonPlace>& places, const CPoint& pt, const CSize& image);

// The colour well: a framed 32 x 20 swatch at (2, 2).
constexpr CPoint kWellPos{2, 2};
constexpr int kWellWidth = 32;
constexpr int kWellHeight = 20;
bool InColorWell(const CPoint& pt);
// Draws the well's frame into an RGB map of kWellWidth x kWellHeight (black outside, white at the top and left,
// mid grey within), then fills the inside with color. Pixels are blue, green, red, as the display takes them.
void BuildColorWell(CPixMap& well, const CColor& color);
void FillColorWell(CPixMap& well, const CColor& color);

// The bar's size around its buttons, from the image size, the button count and the frame's size outside the
// client area.
CSize FitToolsBar(const CSize& image, int count, const CSize& nonClient);

// The custom colours every colour dialog of the program shares.
using CustomColors = std::array<COLORREF, 16>;
CustomColors& SavedCustomColors();
// Before the well's colour dialog: a site's custom colours go to the dialogs the first time only.
void HandCustomColorsToDialog(CWebsite* site, CustomColors& saved);
// After OK: the custom colours the dialog changed go back to the site, which is then modified. True when any did.
bool TakeCustomColorsFromDialog(CWebsite* site, const CustomColors& saved);

// The setting that shows a tool's first-use hint; null for a tool without one.
bool* ToolHintFlag(CAppSettings& settings, int tool);

// The bar's tools as the buttons change them.
class CToolsBarState
{
public:
    int GetTool() const { return m_tool; }
    int GetPreviousTool() const { return m_previousTool; }
    void SetTool(int tool) { m_tool = tool; }
    int GetShapeKind() const { return m_shapeKind; }
    void SetShapeKind(int kind) { m_shapeKind = kind; }
    // A button pressed: a companion tool remembers the tool to return to.
    void Press(int tool);
    // The mouse let go over the bar: the companion tool to launch (the tool before it comes back), else 0.
    int Release();

private:
    int m_tool = 1;
    int m_previousTool = 1;
    int m_shapeKind = 1;
};

// The Shapes palette's buttons.
struct ShapeButtonInfo
{
    int id;
    CPoint pos;
    unsigned upBitmap;
    unsigned downBitmap;
    const char* tooltip;
    int shapeKind;
};
constexpr int kShapeButtonCount = 16;
constexpr int kRectangleShapeButton = 1260;
extern const std::array<ShapeButtonInfo, kShapeButtonCount> kShapeButtons;
// The button of an id; null for another id.
const ShapeButtonInfo* FindShapeButton(int id);
