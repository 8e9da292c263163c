#pragma once

// The user's settings that the model reads and writes. The shell loads them at start and saves them; until it
// installs its record, the model works with the defaults below.

#include <string>

#include "image/image.h"
#include "platform/win/win_types.h"

struct CAppSettings
{
    // Button-text defaults that a new button-text style takes.
    std::string m_strButtonTextFont = "Arial";
    int m_nButtonTextFontSize = 12;
    COLORREF m_clrButtonTextColor = 0xFFFFFF;
    bool m_bButtonTextBold = false;
    bool m_bButtonTextItalic = false;
    bool m_bButtonTextUnderline = false;
    int m_nButtonTextAlignment = 1;
    bool m_bButtonTextShadow = false;
    int m_nButtonTextShadowDistance = 1;
    int m_nButtonTextShadowDirection = 120;
    COLORREF m_clrButtonTextShadowColor = 0;

    // The format that new text takes and the palettes show; text editing writes the caret's format back here.
    std::string m_strTextFont = "Arial";
    int m_nTextFontSize = 12;
    CColor m_textColor = CColor(0, 0, 0);
    BYTE m_bTextBold = 0;
    BYTE m_bTextItalic = 0;
    BYTE m_bTextUnderline = 0;

    // The folder site files are kept in.
    std::string m_strKstPath;
    // The folder of the last chosen picture.
    std::string m_strImagePath;
    std::string m_strDefaultFont = "Arial";
    std::string m_strBackgroundImagePath;

    // The number the next new counter object gets.
    int counterId = 0;

    std::string GetButtonTextFont() const { return m_strButtonTextFont; }
    std::string GetDefaultFont() const { return m_strDefaultFont; }
    std::string GetImagePath() const { return m_strImagePath; }
    std::string GetBackgroundImagePath() const { return m_strBackgroundImagePath; }
};
