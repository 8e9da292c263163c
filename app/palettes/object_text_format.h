#pragma once

// The Object palette's text-format section and its advanced-text switch, without a window. While a text is edited in
// place the section shows the format at the caret and applies face, size, styles, colour and alignment to the
// selection (or the word at the caret); each format it shows or applies also becomes the default for new text. The
// section's own changes are no undo steps: the text's edit records them.

#include <optional>
#include <string>

#include "app/objects/text_body.h"
#include "platform/win/win_types.h"

class CTextObject;

// The point size of an entry of the size list ("1" to "7"); entries past the sixth give 36, a negative one 0.
int TextSizeEntryPoints(int entry);
// The entry of a point size, or nothing for a size the list does not hold.
std::optional<int> TextSizeEntryFor(int points);

// What the section shows.
struct TextFormatShown
{
    // Nothing: the list selects nothing (the selection mixes faces or sizes, or the size is not in the list).
    std::optional<std::string> face;
    std::optional<int> sizeEntry;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    COLORREF color = 0;
    int alignment = CTextBody::alignLeft;
};

class CObjectTextFormat
{
public:
    CObjectTextFormat();

    // The text being edited in place in the current view, or null.
    static CTextObject* GetEditedText();

    // The section's values for the text being edited; nothing when no text is edited.
    std::optional<TextFormatShown> Fill();

    // Each does nothing (false) while no text is edited.
    bool ApplyFace(const std::string& face);
    bool ApplySizeEntry(int entry);
    bool ToggleBold();
    bool ToggleItalic();
    bool ToggleUnderline();
    bool ApplyColor(COLORREF color);
    // True when the alignment changed.
    bool ApplyAlignment(int alignment);

    // The format the section applies next.
    const LOGFONT& GetFont() const { return m_font; }
    // Set by a format change: the next fill shows the defaults just written instead of asking the text.
    static bool IsKeepingFormat();

private:
    // The font's face, height, weight, italic and underline go to the text's current format, then attribute goes
    // to the selection.
    void ApplyAttribute(CTextObject& text, int attribute);

    LOGFONT m_font;
};

// Switches advanced text of the selected text object, one undo step. Switched on, the text leaves the run kept on
// top and lies directly below it; switched off, it becomes plain, loses its mouse-over twin (the step keeps it for
// Undo) and goes to the top. Switching on asks the advanced-text hint first: anything but OK changes nothing.
// Returns whether the text allows advanced text afterwards, or nothing when no text object is selected.
std::optional<bool> SwitchAdvancedText();
