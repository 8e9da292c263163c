#include "app/palettes/object_page_logic.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <numbers>

#include "app/model/services.h"
#include "app/model/string_attr.h"
#include "app/objects/counter_object.h"
#include "app/objects/form_object.h"
#include "app/objects/text_object.h"
#include "app/palettes/palette_edit.h"
#include "app/palettes/palette_protocol.h"
#include "app/site/object_frame.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"

namespace {

constexpr int kMaxSide = 2000;
constexpr int kMaxCorner = 100;

std::string FormatInt(long value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%ld", value);
    return text;
}

double ToDegrees(double radians)
{
    return radians * 360.0 / (2.0 * std::numbers::pi);
}

// The shown object's item is what snaps to whole pixels after a change.
void SnapItemOf(CPageObject& object)
{
    if (CSitePage* page = GetCurrentPage())
        if (CPageItem* item = page->FindItem(&object))
            item->SnapToPixels();
}

bool ApplySide(const std::string& text, bool width)
{
    const int value = ParseObjectSide(text);
    return ApplyObjectEdit(
        kUndoObject,
        [&](const CPageObject& object) {
            SIZE size;
            object.GetSize(size);
            return (width ? size.cx : size.cy) == value;
        },
        [&](CPageObject& object) {
            SIZE size;
            object.GetSize(size);
            object.SetSize(width ? value : size.cx, width ? size.cy : value);
            // A shape that keeps its sides equal (the stars) ignores a width of its own: both sides take it.
            object.GetSize(size);
            if ((width ? size.cx : size.cy) != value)
                object.SetSize(value, value);
            SnapItemOf(object);
        });
}

} // namespace

ObjectPageContent ReadObjectPage()
{
    ObjectPageContent content;
    CPageObject* object = GetPaletteObject();
    if (!object) {
        // A user group is shown, never edited, here.
        const CSitePage* page = GetCurrentPage();
        const CObjectFrame* group = page ? page->GetSelectedGroup() : nullptr;
        if (group && page->IsSingleUserGroupSelected()) {
            content.width = FormatInt(group->GetSize().cx);
            content.height = FormatInt(group->GetSize().cy);
            content.angle = FormatRotationLabel(ToDegrees(group->GetAngle()));
            content.corner.reset();
        }
        return content;
    }

    const int kind = object->GetKind();
    ObjectControlStates& states = content.states;
    states.canResize = object->CanResize();
    if (IsViewEditingText()) {
        states.textEditing = true;
        states.advancedShown = true;
    } else if (kind == objectText) {
        states.canRotate = object->CanRotate();
        states.advancedShown = true;
        states.advancedEnabled = true;
    } else {
        states.canRotate = object->CanRotate();
        states.counter = kind == objectCounter;
        states.html = kind == objectHtml;
        states.form = kind == objectForm;
        states.rectangle = kind == objectRectangle;
    }

    if (object->CanHaveAltText()) {
        content.altTextEnabled = true;
        if (const CStringAttr* alt = object->GetAltText())
            content.altText = alt->GetString();
    }
    content.buttonTextEnabled = object->CanHaveButtonText();

    SIZE size;
    object->GetSize(size);
    content.width = FormatInt(size.cx);
    content.height = FormatInt(size.cy);
    content.angle = FormatRotationLabel(ToDegrees(object->GetRotation()));
    content.corner = FormatInt(kind == objectRectangle ? object->GetCorner() : 0);

    if (const auto* counter = dynamic_cast<const CCounterObject*>(object)) {
        const int style = counter->GetStyle();
        content.counterEntry = style >= 0 && style <= 2 ? style : 3;
    } else if (const auto* form = dynamic_cast<const CFormObject*>(object)) {
        content.email = form->GetEmailAddress();
    } else if (const auto* text = dynamic_cast<const CTextObject*>(object)) {
        content.advancedChecked = text->AllowsAdvancedText();
    }
    return content;
}

int ParseObjectSide(const std::string& text)
{
    // Leading digits only; a box without a number applies 0, which becomes 1.
    const long value = std::strtol(text.c_str(), nullptr, 10);
    return static_cast<int>(std::clamp<long>(value, 1, kMaxSide));
}

double ParseObjectAngle(const std::string& text)
{
    std::string number = text;
    std::replace(number.begin(), number.end(), ',', '.');
    double value = std::strtod(number.c_str(), nullptr);
    if (!std::isfinite(value))
        value = 0.0;
    // A negative angle is passed on as it is.
    if (value >= 360.0)
        value = std::fmod(value, 360.0);
    return value;
}

int ParseCornerRadius(const std::string& text)
{
    std::string number = text;
    std::replace(number.begin(), number.end(), ',', '.');
    const long value = std::strtol(number.c_str(), nullptr, 10);
    // No lower limit: the rectangle decides what a negative radius means.
    return static_cast<int>(std::clamp<long>(value, std::numeric_limits<int>::min(), kMaxCorner));
}

bool ApplyObjectWidth(const std::string& text)
{
    return ApplySide(text, true);
}

bool ApplyObjectHeight(const std::string& text)
{
    return ApplySide(text, false);
}

bool ApplyObjectAngle(const std::string& text)
{
    const double degrees = ParseObjectAngle(text);
    return ApplyObjectEdit(
        kUndoObject,
        [&](const CPageObject& object) {
            const double current = ToDegrees(object.GetRotation());
            // A box left as it was filled applies nothing, even where the shown tenths round the angle.
            return text == FormatRotationLabel(current) || std::fabs(current - degrees) < 1e-9;
        },
        [&](CPageObject& object) {
            object.SetRotation(degrees * std::numbers::pi / 180.0);
            SnapItemOf(object);
        });
}

std::optional<std::string> ApplyObjectCorner(const std::string& text, bool* changed)
{
    if (changed)
        *changed = false;
    const CPageObject* current = GetPaletteObject();
    if (!current || current->GetKind() != objectRectangle)
        return std::nullopt;
    const int radius = ParseCornerRadius(text);
    const bool done = ApplyObjectEdit(
        kUndoObject, [&](const CPageObject& object) { return object.GetCorner() == radius; },
        [&](CPageObject& object) {
            object.SetCorner(radius);
            SnapItemOf(object);
        });
    if (changed)
        *changed = done;
    if (radius == kMaxCorner && std::strtol(text.c_str(), nullptr, 10) > kMaxCorner)
        return FormatInt(kMaxCorner);
    return std::nullopt;
}

bool ApplyObjectAltText(const std::string& text)
{
    CSitePage* page = GetCurrentPage();
    CPageObject* object = GetPaletteObject();
    if (!page || !object)
        return false;
    const CStringAttr* alt = object->GetAltText();
    if ((alt ? alt->GetString() : std::string()) == text)
        return false;
    // The alternate text changes no pixel: nothing is drawn again.
    if (CUndoManager* undo = page->GetUndoManager())
        undo->RecordUndo(kUndoObject);
    auto copy = alt ? alt->Clone() : std::make_unique<CStringAttr>();
    copy->SetString(text);
    object->SetAltText(std::move(copy));
    return true;
}
