#pragma once

// How text characters get their measures, and how a laid-out text is drawn, one character at a time on its
// baseline. Text is measured at a fixed resolution so that it lays out the same everywhere.

#include <functional>
#include <memory>

#include "app/objects/text_body.h"
#include "platform/text/font.h"

class CPixMap;

// The vertical resolution that point sizes are turned into pixels with.
constexpr int kTextResolution = 96;

// a * b / c rounded to the nearest integer (halves away from zero); -1 when c is 0.
int MulDiv(int a, int b, int c);

// Half-up rounding onto the pixel grid: 57.5 gives 58, -3.54 gives -3. Not a number gives 0; a value beyond the
// int range is clamped into it first.
int RoundHalfUp(double v);

// The LOGFONT height for a point size: the negative character height in pixels.
LONG PointSizeToFontHeight(int pointSize);

// The format a new text body starts with: 12 points, normal weight, face "noname".
void InitDefaultLogFont(LOGFONT& logFont);

// The font description of a character's format.
LOGFONT MakeCharLogFont(const CTextChar& ch);

// The process-wide measuring state: one current font, kept while consecutive characters share a format, so that a
// run of same-format characters is measured with one font. User-interface thread only.
class TextMeasurer
{
public:
    // Width, height, ascent and descent of the character in its format.
    void Measure(CTextChar& ch);
    // How many times a font had to be made; tests read it.
    int GetFontsMade() const { return m_fontsMade; }
    // Forgets the current font, so the next character makes one again.
    void Reset();

private:
    struct Key
    {
        WORD faceIndex = 0;
        WORD pointSize = 0;
        BYTE bold = 0;
        BYTE italic = 0;
        BYTE underline = 0;
        bool operator==(const Key&) const = default;
    };
    Key m_key;
    std::shared_ptr<const TextFont> m_font;
    int m_fontsMade = 0;
};

TextMeasurer& GetTextMeasurer();

// A new character in the given format, measured (or, with a model, taking the model's measures), not placed yet
// and marked for placing.
CTextChar MakeTextChar(BYTE ch, WORD faceIndex, WORD pointSize, bool bold, bool italic, bool underline, COLORREF color,
                       const CLinkInfo& link, const CTextChar* model = nullptr);
// Measures a character again after its format changed.
void RemeasureTextChar(CTextChar& ch);

// Whether drawing the character needs another font or colour than the current format.
bool IsFontDifferent(const CTextChar& ch, const LOGFONT& logFont, COLORREF color, int pointSize, bool linkActive);

// The characters whose lines meet a rectangle in text coordinates: the first from the first line whose bottom
// reaches the top of the rectangle, the last up to the first line whose top reaches its bottom. False when no line
// reaches the rectangle.
bool GetCharsInRect(const CTextBody& body, const RECT& rect, int& firstPara, int& firstIndex, int& lastPara,
                    int& lastIndex);

// The colour linked characters are drawn in: the current site's link colour.
COLORREF GetTextLinkColor();

// The answers of the program's services that drawing a text object needs (the site's link colour, whether the
// object has a mouse-over twin), asked beforehand on the user-interface thread for a render on another thread.
// While a scope lives, the text drawn on its thread takes them from it.
struct TextServiceAnswers
{
    COLORREF linkColor = 0;
    const void* object = nullptr; // the text object the twin answer is about
    bool hasMouseOverTwin = false;
};
class ScopedTextServiceAnswers
{
public:
    explicit ScopedTextServiceAnswers(const TextServiceAnswers& answers);
    ~ScopedTextServiceAnswers();
    ScopedTextServiceAnswers(const ScopedTextServiceAnswers&) = delete;
    ScopedTextServiceAnswers& operator=(const ScopedTextServiceAnswers&) = delete;

private:
    const TextServiceAnswers* m_previous;
};
// The answers in force on this thread, or null.
const TextServiceAnswers* GetTextServiceAnswers();

// How a drawing shows links: linked characters (or all, when the whole object is a link) are drawn underlined in
// the link colour; with showLinks clear every character keeps its own colour and underline.
struct LinkLook
{
    bool showLinks = true;
    bool allLinked = false;
};

// Hands each placed character of a range (start index in the first paragraph up to and including the end index
// in the last) to draw(ch, font, colour), with the font and colour it is drawn in. One font serves a run of
// characters of the same format.
void ForEachDrawnChar(const CTextBody& body, int startPara, int endPara, int startIndex, int endIndex, LinkLook look,
                      const std::function<void(const CTextChar&, const TextFont&, COLORREF)>& draw);

// Draws a range of characters (start index in the first paragraph up to and including the end index in the last)
// into an RGB or RGBA pixel map, each at its left and on its baseline. The frame's top-left corner lies at the
// owner's centre less half its size, rounded half up (0 without an owner), plus the offset. Linked characters are
// drawn underlined in the link colour.
void DrawTextRange(const CTextBody& body, CPixMap& target, POINT offset, int startPara, int endPara, int startIndex,
                   int endIndex);

// Redraws what an update rectangle (in target coordinates) shows of the text: the characters of the lines that
// meet it. The page origin is where the page's top-left corner lies in the target.
void DrawEditing(const CTextBody& body, CPixMap& target, const RECT& update, POINT pageOrigin);

// Inverts the selection's cells in an RGB or RGBA pixel map (colour samples only), so that drawing the same
// selection twice removes it: each selected character's line-high cell and the full text width of each selected
// empty paragraph. Answers the rectangle of the target that changed (empty when nothing is selected).
CRect DrawSelectionRange(const CTextBody& body, CPixMap& target, POINT pageOrigin);
