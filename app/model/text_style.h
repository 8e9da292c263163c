#pragma once

// The label an outline shape can carry on top of its fill (its button text): text, font, colour, alignment and
// an optional drop shadow. A new style takes the user's button-text defaults.

#include <memory>
#include <string>

#include "app/model/record_stream.h"

class CTextStyle
{
public:
    static constexpr DWORD kTag = 0x3927BD8F;

    enum Alignment
    {
        alignLeft = 0,
        alignCenter = 1,
        alignRight = 2,
    };

    // The defaults of the settings record, or the built-in defaults while none is installed.
    CTextStyle();
    CTextStyle(const CTextStyle&) = default;
    CTextStyle& operator=(const CTextStyle&) = default;

    // A new copy; the caller owns it.
    std::unique_ptr<CTextStyle> Clone() const { return std::make_unique<CTextStyle>(*this); }

    std::string GetText() const { return m_strText; }

    // Colours compare by their RGB value, whatever their mode.
    bool operator==(const CTextStyle& other) const;
    bool operator!=(const CTextStyle& other) const { return !(*this == other); }

    // Nothing while the text is empty.
    void Write(CFile& file) const;
    // Files before 1.5 hold no style. A missing tag keeps the style as it is.
    void Read(CFile& file, int major, int minor);

    std::string m_strFont;
    int m_nSize;
    bool m_bBold;
    bool m_bItalic;
    bool m_bUnderline;
    CColor m_color;
    std::string m_strText;
    int m_alignment;
    bool m_shadow;
    int m_shadowDistance;
    int m_shadowDirection;
    CColor m_shadowColor;
};
