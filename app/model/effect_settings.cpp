#include "app/model/effect_settings.h"

#include <algorithm>

namespace {

int ClampPercent(int value)
{
    return std::clamp(value, 0, CEffectSettings::kMaxPercent);
}

// Angles are directions: bring them into 0..359 without turning them.
int WrapAngle(int degrees)
{
    const int a = degrees % 360;
    return a < 0 ? a + 360 : a;
}

} // namespace

CEffectSettings::CEffectSettings(const CEffectSettings& other)
{
    CopySettings(other);
}

CEffectSettings& CEffectSettings::operator=(const CEffectSettings& other)
{
    if (this != &other) {
        CopySettings(other);
        FreeCachedImages();
        m_rebuild = true;
    }
    return *this;
}

void CEffectSettings::CopySettings(const CEffectSettings& other)
{
    m_shadow = other.m_shadow;
    m_shadowOffset = other.m_shadowOffset;
    m_shadowSoftness = other.m_shadowSoftness;
    m_shadowOpacity = other.m_shadowOpacity;
    m_shadowStyle = other.m_shadowStyle;
    m_shadowAngle = other.m_shadowAngle;
    m_shadowColor = other.m_shadowColor;
    m_bevel = other.m_bevel;
    m_bevelDirection = other.m_bevelDirection;
    m_bevelSoftness = other.m_bevelSoftness;
    m_bevelStrength = other.m_bevelStrength;
    m_bevelAngle = other.m_bevelAngle;
    m_bevelStyle = other.m_bevelStyle;
    m_glow = other.m_glow;
    m_glowSoftness = other.m_glowSoftness;
    m_glowStrength = other.m_glowStrength;
    m_glowStyle = other.m_glowStyle;
    m_glowColor = other.m_glowColor;
}

void CEffectSettings::FreeCachedImages()
{
    m_shadowCache.Clear();
    m_bevelCache.Clear();
    m_glowCache.Clear();
}

void CEffectSettings::TakeCachedImages(CEffectSettings& other)
{
    if (&other == this)
        return;
    m_shadowCache = std::move(other.m_shadowCache);
    m_bevelCache = std::move(other.m_bevelCache);
    m_glowCache = std::move(other.m_glowCache);
    other.FreeCachedImages();
}

void CEffectSettings::ClampToRanges()
{
    m_shadowOffset = ClampPercent(m_shadowOffset);
    m_shadowSoftness = ClampPercent(m_shadowSoftness);
    m_shadowOpacity = ClampPercent(m_shadowOpacity);
    // The renderer draws both shadows for any style but 0 and 1; keep that meaning.
    if (m_shadowStyle < 0 || m_shadowStyle > kMaxShadowStyle)
        m_shadowStyle = kMaxShadowStyle;
    m_shadowAngle = WrapAngle(m_shadowAngle);

    m_bevelDirection = std::clamp(m_bevelDirection, 0, kMaxBevelDirection);
    m_bevelSoftness = ClampPercent(m_bevelSoftness);
    m_bevelStrength = ClampPercent(m_bevelStrength);
    m_bevelAngle = WrapAngle(m_bevelAngle);
    m_bevelStyle = std::clamp(m_bevelStyle, 0, kMaxBevelStyle);

    m_glowSoftness = ClampPercent(m_glowSoftness);
    m_glowStrength = ClampPercent(m_glowStrength);
    m_glowStyle = std::clamp(m_glowStyle, 0, kMaxGlowStyle);
}

bool CEffectSettings::operator==(const CEffectSettings& other) const
{
    return m_shadow == other.m_shadow && m_shadowOffset == other.m_shadowOffset &&
           m_shadowSoftness == other.m_shadowSoftness && m_shadowOpacity == other.m_shadowOpacity &&
           m_shadowStyle == other.m_shadowStyle && m_shadowAngle == other.m_shadowAngle &&
           m_shadowColor.GetCOLORREF() == other.m_shadowColor.GetCOLORREF() && m_bevel == other.m_bevel &&
           m_bevelDirection == other.m_bevelDirection && m_bevelSoftness == other.m_bevelSoftness &&
           m_bevelStrength == other.m_bevelStrength && m_bevelAngle == other.m_bevelAngle &&
           m_bevelStyle == other.m_bevelStyle && m_glow == other.m_glow && m_glowSoftness == other.m_glowSoftness &&
           m_glowStrength == other.m_glowStrength && m_glowStyle == other.m_glowStyle &&
           m_glowColor.GetCOLORREF() == other.m_glowColor.GetCOLORREF();
}

void CEffectSettings::Write(CFile& file) const
{
    if (!HasEffects())
        return;
    WriteUInt32(file, kTag);
    WriteFlag(file, m_shadow);
    WriteFlag(file, m_bevel);
    WriteFlag(file, m_glow);
    if (m_shadow) {
        WriteInt32(file, m_shadowOffset);
        WriteInt32(file, m_shadowSoftness);
        WriteInt32(file, m_shadowOpacity);
        WriteInt32(file, m_shadowStyle);
        WriteInt32(file, m_shadowAngle);
        WriteColor(file, m_shadowColor);
    }
    if (m_bevel) {
        WriteInt32(file, m_bevelDirection);
        WriteInt32(file, m_bevelSoftness);
        WriteInt32(file, m_bevelStrength);
        WriteInt32(file, m_bevelAngle);
        WriteInt32(file, m_bevelStyle);
    }
    if (m_glow) {
        WriteInt32(file, m_glowSoftness);
        WriteInt32(file, m_glowStrength);
        WriteInt32(file, m_glowStyle);
        WriteColor(file, m_glowColor);
    }
}

void CEffectSettings::ReadShadow(CFile& file)
{
    m_shadowOffset = ReadInt32(file);
    m_shadowSoftness = ReadInt32(file);
    m_shadowOpacity = ReadInt32(file);
    m_shadowStyle = ReadInt32(file);
    m_shadowAngle = ReadInt32(file);
    m_shadowColor = ReadColor(file);
}

void CEffectSettings::ReadBevel(CFile& file)
{
    m_bevelDirection = ReadInt32(file);
    m_bevelSoftness = ReadInt32(file);
    m_bevelStrength = ReadInt32(file);
    m_bevelAngle = ReadInt32(file);
    m_bevelStyle = ReadInt32(file);
}

void CEffectSettings::ReadGlow(CFile& file)
{
    m_glowSoftness = ReadInt32(file);
    m_glowStrength = ReadInt32(file);
    m_glowStyle = ReadInt32(file);
    m_glowColor = ReadColor(file);
}

void CEffectSettings::Read(CFile& file, int major, int minor)
{
    if (!ReadOptionalTag(file, kTag))
        return;
    // Read into a copy first, so that a refused record leaves this one as it was.
    CEffectSettings read(*this);
    if (major == 1 && minor < 8) {
        read.m_shadow = ReadFlag(file);
        read.ReadShadow(file);
        read.m_bevel = ReadFlag(file);
        read.ReadBevel(file);
        read.m_glow = ReadFlag(file);
        read.ReadGlow(file);
    } else {
        read.m_shadow = ReadFlag(file);
        read.m_bevel = ReadFlag(file);
        read.m_glow = ReadFlag(file);
        if (read.m_shadow)
            read.ReadShadow(file);
        if (read.m_bevel)
            read.ReadBevel(file);
        if (read.m_glow)
            read.ReadGlow(file);
    }
    read.ClampToRanges();
    CopySettings(read);
    // The cached images belong to the settings they were built with.
    FreeCachedImages();
}
