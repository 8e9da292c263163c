#pragma once

// What the Object palette decides without a window: which of its sections show and which boxes take input for the
// current object or user group, the texts its boxes show, and the edits of width, height, angle, corner radius and
// alternate text, each one undo step of the geometry kind when it changes something.

#include <optional>
#include <string>

// The switches of the page's sections, one per kind of object the page knows apart.
struct ObjectControlStates
{
    bool canResize = false;
    bool canRotate = false;
    bool textEditing = false;
    bool advancedShown = false;
    bool advancedEnabled = false;
    bool counter = false;
    bool html = false;
    bool form = false;
    bool rectangle = false;

    bool WidthEnabled() const { return canResize; }
    bool HeightEnabled() const { return !textEditing && canResize; }
    bool AngleEnabled() const { return !textEditing && canRotate; }
    bool CornerEnabled() const { return rectangle; }
    // The text-format section shows and takes input only while a text is edited in place.
    bool TextFormatShown() const { return textEditing; }
};

// Everything the page shows, read from the current page, object and view. Texts are Windows-1252 bytes.
struct ObjectPageContent
{
    ObjectControlStates states;
    std::string width = "0";
    std::string height = "0";
    std::string angle = "0\xB0";
    // Nothing when the corner box keeps the text it has.
    std::optional<std::string> corner = std::string("0");
    bool altTextEnabled = false;
    std::string altText;
    bool buttonTextEnabled = false;
    // The counter list's entry, for a counter.
    std::optional<int> counterEntry;
    // The receiver's address, for a form.
    std::optional<std::string> email;
    // Whether the advanced-text box is ticked, for a text object.
    bool advancedChecked = false;
};

ObjectPageContent ReadObjectPage();

// The number a width or height box applies: its leading digits, within 1 to 2000.
int ParseObjectSide(const std::string& text);
// The angle in degrees an angle box applies: a comma counts as the decimal point, the degree sign and anything
// after the number are ignored, and 360 or more is brought below 360.
double ParseObjectAngle(const std::string& text);
// The radius a corner box applies: its leading digits, at most 100.
int ParseCornerRadius(const std::string& text);

// Each applies its box's text to the current object; true when something changed (and one undo step went).
bool ApplyObjectWidth(const std::string& text);
bool ApplyObjectHeight(const std::string& text);
bool ApplyObjectAngle(const std::string& text);
// For a rectangle only. Hands back the text the box must show when the value was brought down.
std::optional<std::string> ApplyObjectCorner(const std::string& text, bool* changed = nullptr);
bool ApplyObjectAltText(const std::string& text);
