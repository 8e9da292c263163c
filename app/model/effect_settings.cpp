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
        m_bRebuild = true;
    }
    return *this;
}

void CEffectSettings::CopySettings(const CEffectSettings& other)
{
    m_bShadow = other.m_bShadow;
    m_nShadowOffset = other.m_nShadowOffset;
    m_nShadowSoftness = other.m_nShadowSoftness;
    m_nShadowOpacity = other.m_nShadowOpacity;
    m_nShadowStyle = other.m_nShadowStyle;
    m_nShadowAngle = other.m_nShadowAngle;
    m_shadowColor = other.m_shadowColor;
    m_bBevel = other.m_bBevel;
    m_nBevelDirection = other.m_nBevelDirection;
    m_nBevelSoftness = other.m_nBevelSoftness;
    m_nBevelStrength = other.m_nBevelStrength;
    m_nBevelAngle = other.m_nBevelAngle;
    m_nBevelStyle = other.m_nBevelStyle;
    m_bGlow = other.m_bGlow;
    m_nGlowSoftness = other.m_nGlowSoftness;
    m_nGlowStrength = other.m_nGlowStrength;
    m_nGlowStyle = other.m_nGlowStyle;
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
    m_nShadowOffset = ClampPercent(m_nShadowOffset);
    m_nShadowSoftness = ClampPercent(m_nShadowSoftness);
    m_nShadowOpacity = ClampPercent(m_nShadowOpacity);
    // The renderer draws both shadows for any style but 0 and 1; keep that meaning.
    if (m_nShadowStyle < 0 || m_nShadowStyle > kMaxShadowStyle)
        m_nShadowStyle = kMaxShadowStyle;
    m_nShadowAngle = WrapAngle(m_nShadowAngle);

    m_nBevelDirection = std::clamp(m_nBevelDirection, 0, kMaxBevelDirection);
    m_nBevelSoftness = ClampPercent(m_nBevelSoftness);
    m_nBevelStrength = ClampPercent(m_nBevelStrength);
    m_nBevelAngle = WrapAngle(m_nBevelAngle);
    m_nBevelStyle = std::clamp(m_nBevelStyle, 0, kMaxBevelStyle);

    m_nGlowSoftness = ClampPercent(m_nGlowSoftness);
    m_nGlowStrength = ClampPercent(m_nGlowStrength);
    m_nGlowStyle = std::clamp(m_nGlowStyle, 0, kMaxGlowStyle);
}

bool CEffectSettings::operator==(const CEffectSettings& other) const
{
    return m_bShadow == other.m_bShadow && m_nShadowOffset == other.m_nShadowOffset &&
           m_nShadowSoftness == other.m_nShadowSoftness && m_nShadowOpacity == other.m_nShadowOpacity &&
           m_nShadowStyle == other.m_nShadowStyle && m_nShadowAngle == other.m_nShadowAngle &&
           m_shadowColor.GetCOLORREF() == other.m_shadowColor.GetCOLORREF() && m_bBevel == other.m_bBevel &&
           m_nBevelDirection == other.m_nBevelDirection && m_nBevelSoftness == other.m_nBevelSoftness &&
           m_nBevelStrength == other.m_nBevelStrength && m_nBevelAngle == other.m_nBevelAngle &&
           m_nBevelStyle == other.m_nBevelStyle && m_bGlow == other.m_bGlow &&
           m_nGlowSoftness == other.m_nGlowSoftness && m_nGlowStrength == other.m_nGlowStrength &&
           m_nGlowStyle == other.m_nGlowStyle && m_glowColor.GetCOLORREF() == other.m_glowColor.GetCOLORREF();
}

void CEffectSettings::Write(CFile& file) const
{
    if (!HasEffects())
        return;
    WriteUInt32(file, kTag);
    WriteFlag(file, m_bShadow);
    WriteFlag(file, m_bBevel);
    WriteFlag(file, m_bGlow);
    if (m_bShadow) {
        WriteInt32(file, m_nShadowOffset);
        WriteInt32(file, m_nShadowSoftness);
        WriteInt32(file, m_nShadowOpacity);
        WriteInt32(file, m_nShadowStyle);
        WriteInt32(file, m_nShadowAngle);
        WriteColor(file, m_shadowColor);
    }
    if (m_bBevel) {
        WriteInt32(file, m_nBevelDirection);
        WriteInt32(file, m_nBevelSoftness);
        WriteInt32(file, m_nBevelStrength);
        WriteInt32(file, m_nBevelAngle);
        WriteInt32(file, m_nBevelStyle);
    }
    if (m_bGlow) {
        WriteInt32(file, m_nGlowSoftness);
        WriteInt32(file, m_nGlowStrength);
        WriteInt32(file, m_nGlowStyle);
        WriteColor(file, m_glowColor);
    }
}

void CEffectSettings::ReadShadow(CFile& file)
{
    m_nShadowOffset = ReadInt32(file);
    m_nShadowSoftness = ReadInt32(file);
    m_nShadowOpacity = ReadInt32(file);
    m_nShadowStyle = ReadInt32(file);
    m_nShadowAngle = ReadInt32(file);
    m_shadowColor = ReadColor(file);
}

void CEffectSettings::ReadBevel(CFile& file)
{
    m_nBevelDirection = ReadInt32(file);
    m_nBevelSoftness = ReadInt32(file);
    m_nBevelStrength = ReadInt32(file);
    m_nBevelAngle = ReadInt32(file);
    m_nBevelStyle = ReadInt32(file);
}

void CEffectSettings::ReadGlow(CFile& file)
{
    m_nGlowSoftness = ReadInt32(file);
    m_nGlowStrength = ReadInt32(file);
    m_nGlowStyle = ReadInt32(file);
    m_glowColor = ReadColor(file);
}

void CEffectSettings::Read(CFile& file, int major, int minor)
{
    if (!ReadOptionalTag(file, kTag))
        return;
    // Read into a copy first, so that a refused record leaves this one as it was.
    CEffectSettings read(*this);
    if (major == 1 && minor < 8) {
        read.m_bShadow = ReadFlag(file);
        read.ReadShadow(file);
        read.m_bBevel = ReadFlag(file);
        read.ReadBevel(file);
        read.m_bGlow = ReadFlag(file);
        read.ReadGlow(file);
    } else {
        read.m_bShadow = ReadFlag(file);
        read.m_bBevel = ReadFlag(file);
        read.m_bGlow = ReadFlag(file);
        if (read.m_bShadow)
            read.ReadShadow(file);
        if (read.m_bBevel)
            read.ReadBevel(file);
        if (read.m_bGlow)
            read.ReadGlow(file);
    }
    read.ClampToRanges();
    CopySettings(read);
    // The cached images belong to the settings they were built with.
    FreeCachedImages();
}
