#pragma once

// The Object palette's button-text section without a window: what it shows of the current shape's label style, and
// its edits, each one undo step of the geometry kind (which keeps the whole style) drawn at once. Showing a style
// also makes it the default that new shapes take.

#include <optional>
#include <string>

#include "platform/win/win_types.h"

// The shadow distance's range.
inline constexpr int kMinShadowDistance = 0;
inline constexpr int kMaxShadowDistance = 20;

struct ButtonTextShown
{
    std::string face;
    int size = 0;
    std::string text;
    COLORREF color = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int alignment = 0;
    bool shadow = false;
    COLORREF shadowColor = 0;
    int direction = 0;
    int distance = 0;
};

// The current object's label style, copied into the defaults as it is read; nothing when the object can have no
// button text.
std::optional<ButtonTextShown> ReadButtonText();

// Each is true when it changed the style (one undo step). A value the style already has changes nothing, except for
// the toggles, of which every click is a step.
bool ApplyButtonFace(const std::string& face);
bool ApplyButtonSize(int points);
bool ApplyButtonColor(COLORREF color);
bool ToggleButtonBold();
bool ToggleButtonItalic();
bool ToggleButtonUnderline();
bool ApplyButtonAlignment(int alignment);
bool ToggleDropShadow();
bool ApplyShadowColor(COLORREF color);
bool ApplyShadowDirection(int degrees);
// The label itself. A mouse-over twin that shares the text takes it too.
bool ApplyButtonText(const std::string& text);

// A typed distance applies its leading number within the range; shown is the text the box must then hold when it
// differs from what was typed.
struct ShadowDistanceResult
{
    bool changed = false;
    std::optional<std::string> shown;
};
ShadowDistanceResult ApplyShadowDistance(const std::string& typed);
// The spin's arrows: the distance moves by step within the range.
bool StepShadowDistance(int step);
