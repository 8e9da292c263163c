#pragma once

// The rich text of a text object: paragraphs of characters, each character carrying its whole format and the box
// layout gave it. There are no style runs; runs only appear when the text is written out.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/model/link_info.h"
#include "image/image.h"
#include "platform/text/font.h"
#include "platform/win/file.h"
#include "platform/win/win_types.h"

// The left or baseline of a character that layout has not placed yet.
constexpr int kTextNotPlaced = 0xFFFF;

// The installed faces characters index into (sorted, so an index is the same all run long on one machine).
const std::vector<std::string>& GetTextFaceNames();
// The face name for an index; empty when the index lies outside the list.
std::string GetTextFaceName(WORD faceIndex);

// The index of a face in the list; a face that is not there falls back to "Arial", then "MS Sans Serif", then 0.
WORD FindFontIndex(const std::string& face);
WORD FindFontIndex(const std::string& face, const std::vector<std::string>& faces);

// One character with its format and its laid-out box. The box is left .. left + width by
// baseline - ascent .. baseline + descent in text coordinates. Positions are kept as int rather than 16 bits so
// that long texts and wide characters never wrap around into "not placed".
class CTextChar
{
public:
    BYTE m_ch = ' ';
    int m_nLeft = kTextNotPlaced;
    int m_baseline = kTextNotPlaced;
    int m_nWidth = 0;
    int m_nHeight = 0;
    int m_ascent = 0;
    int m_descent = 0;
    CLinkInfo m_link;
    WORD m_faceIndex = 0;
    WORD m_pointSize = 12;
    BYTE m_bBold = 0;
    BYTE m_bItalic = 0;
    BYTE m_bUnderline = 0;
    COLORREF m_color = 0;
    // Set when the character was measured again or its format changed; layout clears it.
    BYTE m_needsPlacing = 1;

    bool IsPlaced() const { return m_nLeft != kTextNotPlaced; }
    bool IsBlank() const { return m_ch == ' '; }
    CRect GetBox() const { return CRect(m_nLeft, m_baseline - m_ascent, m_nLeft + m_nWidth, m_baseline + m_descent); }

    // The character format record: face name, point size, bold, italic, underline, colour and link.
    void WriteFormat(CFile& file) const;
    // Reads the format record into face index, point size, bold, italic, underline, colour and link. Bad data
    // raises the file exception and leaves the character as it was. The box is measured afterwards.
    void ReadFormat(CFile& file, int major, int minor);
};

class CTextParagraph
{
public:
    // Height of the paragraph while it holds no character.
    int m_emptyHeight = 20;
    int m_nLeft = 2;
    int m_firstBaseline = 2;
    std::vector<CTextChar> m_chars;
    // Pairs (first index, last index) of the laid-out lines; an empty paragraph holds (-1, -1).
    std::vector<int> m_lines;
    // Where the last layout began this paragraph and where the next one then began.
    int m_laidOutTop = 0;
    int m_laidOutBottom = 0;

    int GetCount() const { return static_cast<int>(m_chars.size()); }
    int GetLineCount() const { return static_cast<int>(m_lines.size() / 2); }
    // Whether the character at index ends a laid-out line.
    bool IsLineEnd(int index) const;
    // Whether the character at index starts a laid-out line.
    bool IsLineStart(int index) const;
};

class CTextBody;

// What the text body needs of the object that shows it (the text object implements it). The body and its
// layout reach the object only through here, so that the text can be used and tested on its own.
class TextBodyOwner
{
public:
    virtual ~TextBodyOwner() = default;
    // The object's render-dirty flag.
    virtual void MarkTextObjectDirty() = 0;
    // The object's centre in page pixels.
    virtual void GetTextObjectCenter(double& x, double& y) const = 0;
    virtual void SetTextObjectCenter(double x, double y) = 0;
    // The object's unrotated size (its body's frame size while it is edited).
    virtual SIZE GetTextObjectSize() const = 0;
    // The object's size over the body's frame size.
    virtual void GetTextObjectScale(double& x, double& y) const = 0;
    // Gives the object a new size and rebuilds its outline and handles.
    virtual void SetTextObjectSize(int cx, int cy) = 0;
    // Whether the object is being edited in place; while it is, layout keeps its bounds on the body's frame.
    virtual bool IsTextObjectEditing() const = 0;
    virtual void SetTextObjectBounds(const RECT& bounds) = 0;
    // Whether the object is written as HTML text; only then do its images show links as links.
    virtual bool IsTextObjectPlain() const { return true; }
    // Whether the object's own link is active, which makes its whole text a link.
    virtual bool IsTextObjectLinked() const { return false; }
};

class CTextBody
{
public:
    enum Alignment
    {
        alignLeft = 0,
        alignCenter = 1,
        alignRight = 2,
    };

    CTextBody(TextBodyOwner* owner, int width, int height);
    ~CTextBody();
    CTextBody(const CTextBody&) = delete;
    CTextBody& operator=(const CTextBody&) = delete;

    // A deep copy for the same owner; its cached images are rebuilt on first use.
    std::unique_ptr<CTextBody> Clone() const;

    TextBodyOwner* GetOwner() const { return m_pOwner; }
    void SetOwner(TextBodyOwner* owner) { m_pOwner = owner; }

    // Both cached images are stale and the owner renders again.
    void SetModified();
    // Only the colour image is stale.
    void SetModifiedSecond();
    void FreeCoverageImage();
    void FreeColorImage();
    // Bring the cached coverage and colour images up to date when they are stale; false, with the image still
    // stale, when one cannot be made. The colour image brings the coverage image up to date first.
    bool RebuildImage();
    bool RebuildSecondImage();

    // Whether any character carries an active link.
    bool HasLinkedText() const;
    // True when the text holds nothing but blanks (or nothing at all).
    bool IsBlank() const;
    // The first character of the first paragraph that has one; 0 for an empty text.
    BYTE GetFirstChar() const;
    // Characters of all paragraphs, each paragraph boundary counting as one.
    int GetCharCount() const;
    // The first active link, else the first character's link, else a default link.
    CLinkInfo GetTextLink() const;
    // The link of the character before the caret; null at the start of a paragraph.
    const CLinkInfo* GetCaretLink() const;

    int GetParagraphCount() const { return static_cast<int>(m_paragraphs.size()); }

    // The selection from its earlier end to its later one, as (paragraph, index) caret positions.
    void GetOrderedSelection(int& startPara, int& endPara, int& startIndex, int& endIndex) const;
    // Whether the character at index of paragraph para lies in the selection.
    bool IsCharSelected(int para, int index) const;

    BYTE m_imageStale = 1;
    BYTE m_secondImageStale = 1;
    std::unique_ptr<CImage> m_coverageImage;
    std::unique_ptr<CImage> m_colorImage;
    // The format the format commands apply.
    LOGFONT m_logFont;
    int m_curAscent = 0;
    int m_curDescent = 0;
    COLORREF m_curColor = 0;
    int m_caretPara = 0;
    int m_caretIndex = 0;
    // Kept as the goal column for moves by line and page.
    int m_caretX = 0;
    int m_caretY = 0;
    int m_caretHeight = 20;
    // Never empty.
    std::vector<CTextParagraph> m_paragraphs;
    int m_alignment = alignLeft;
    BYTE m_selectionEmpty = 1;
    int m_anchorIndex = 0;
    int m_anchorPara = 0;
    int m_focusIndex = 0;
    int m_focusPara = 0;
    // Grows only.
    int m_widestChar = 1;
    int m_tallestChar = 1;
    // The frame: width is the wrapping width, height follows the text after layout.
    int m_nWidth = 0;
    int m_nHeight = 0;
    BYTE m_allowAdvanced = 0;
    // Set by layout, with the width, alignment and paragraph count it had; SetModified clears it. While it holds,
    // an edit may lay out only what it changed, as the rest stands as that layout left it.
    BYTE m_laidOut = 0;
    int m_laidOutWidth = 0;
    int m_laidOutAlignment = 0;
    int m_laidOutParagraphs = 0;
    CRect m_imageRect;
    CRect m_inkRect;

private:
    TextBodyOwner* m_pOwner = nullptr;
};

// Whether the caret stands at a character position of the text as it is now (stale positions are not).
inline bool CaretIsInText(const CTextBody& body)
{
    return body.m_caretPara >= 0 && body.m_caretPara < body.GetParagraphCount() && body.m_caretIndex >= 0 &&
           body.m_caretIndex <= body.m_paragraphs[body.m_caretPara].GetCount();
}
