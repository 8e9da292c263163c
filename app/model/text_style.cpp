#include "app/model/text_style.h"

#include "app/model/app_settings.h"
#include "app/model/services.h"

CTextStyle::CTextStyle() : m_color(COLOR_WHITE), m_shadowColor(COLOR_WHITE)
{
    const CAppSettings builtIn;
    const CAppSettings* settings = GetAppSettings();
    if (!settings)
        settings = &builtIn;
    m_strFont = settings->GetButtonTextFont();
    m_nSize = settings->m_buttonTextFontSize;
    m_bBold = settings->m_buttonTextBold;
    m_bItalic = settings->m_buttonTextItalic;
    m_bUnderline = settings->m_buttonTextUnderline;
    m_color = CColor(static_cast<unsigned long>(settings->m_clrButtonTextColor));
    m_alignment = settings->m_buttonTextAlignment;
    m_shadow = settings->m_buttonTextShadow;
    m_shadowDistance = settings->m_buttonTextShadowDistance;
    m_shadowDirection = settings->m_buttonTextShadowDirection;
    m_shadowColor = CColor(static_cast<unsigned long>(settings->m_clrButtonTextShadowColor));
}

bool CTextStyle::operator==(const CTextStyle& other) const
{
    return m_strText == other.m_strText && m_strFont == other.m_strFont && m_nSize == other.m_nSize &&
           m_bBold == other.m_bBold && m_bItalic == other.m_bItalic && m_bUnderline == other.m_bUnderline &&
           m_color.GetCOLORREF() == other.m_color.GetCOLORREF() && m_alignment == other.m_alignment &&
           m_shadow == other.m_shadow && m_shadowDistance == other.m_shadowDistance &&
           m_shadowDirection == other.m_shadowDirection &&
           m_shadowColor.GetCOLORREF() == other.m_shadowColor.GetCOLORREF();
}

void CTextStyle::Write(CFile& file) const
{
    if (m_strText.empty())
        return;
    WriteUInt32(file, kTag);
    WriteCountedString(file, m_strFont);
    WriteInt32(file, m_nSize);
    WriteFlag(file, m_bBold);
    WriteFlag(file, m_bItalic);
    WriteFlag(file, m_bUnderline);
    WriteColor(file, m_color);
    WriteCountedString(file, m_strText);
    WriteInt32(file, m_alignment);
    WriteFlag(file, m_shadow);
    WriteInt32(file, m_shadowDistance);
    WriteInt32(file, m_shadowDirection);
    WriteColor(file, m_shadowColor);
}

void CTextStyle::Read(CFile& file, int major, int minor)
{
    if (!IsVersionAtLeast(major, minor, 1, 5))
        return;
    if (!ReadOptionalTag(file, kTag))
        return;
    // Read into a copy first, so that a refused record leaves this one as it was.
    CTextStyle style(*this);
    style.m_strFont = ReadCountedString(file);
    style.m_nSize = ReadInt32(file);
    style.m_bBold = ReadFlag(file);
    style.m_bItalic = ReadFlag(file);
    style.m_bUnderline = ReadFlag(file);
    style.m_color = ReadColor(file);
    style.m_strText = ReadCountedString(file);
    style.m_alignment = ReadInt32(file);
    style.m_shadow = ReadFlag(file);
    style.m_shadowDistance = ReadInt32(file);
    style.m_shadowDirection = ReadInt32(file);
    style.m_shadowColor = ReadColor(file);
    *this = style;
}
