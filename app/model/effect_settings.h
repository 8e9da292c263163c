#pragma once

// The three effects an outline object can carry (drop shadow, bevel, glow) with their parameters, and the
// spread images the effects renderer keeps here so that an unchanged effect is not computed again.

#include <memory>

#include "app/model/record_stream.h"

// A spread image kept for one effect, with what it was built from: the effect's softness and strength setting
// and the source size. Meaningful only while the image exists.
struct EffectCache
{
    std::unique_ptr<CImage> m_pImage;
    int m_softness = 0;
    int m_strength = 0;
    int m_sourceWidth = 0;
    int m_sourceHeight = 0;
    CRect m_rect;

    void Clear() { *this = EffectCache(); }
};

class CEffectSettings
{
public:
    static constexpr DWORD kTag = 0x82B73475;

    // The ranges the Effects palette offers. Values read from a file are brought into them before anything is
    // sized from them: an effect's softness and offset decide the size of its images.
    static constexpr int kMaxPercent = 100;
    static constexpr int kMaxShadowStyle = 2;
    static constexpr int kMaxBevelStyle = 3;
    static constexpr int kMaxGlowStyle = 2;
    static constexpr int kMaxBevelDirection = 1;

    CEffectSettings() = default;
    // Copies the settings, not the caches; the copy rebuilds its images on first use.
    CEffectSettings(const CEffectSettings& other);
    CEffectSettings& operator=(const CEffectSettings& other);
    ~CEffectSettings() = default;

    // A new copy; the caller owns it.
    std::unique_ptr<CEffectSettings> Clone() const { return std::make_unique<CEffectSettings>(*this); }

    void FreeCachedImages();
    // Moves the other record's caches here (freeing any this one held), so that a record put back by undo
    // keeps what was rendered.
    void TakeCachedImages(CEffectSettings& other);

    bool HasEffects() const { return m_shadow || m_bevel || m_glow; }
    // Brings every parameter into the range the Effects palette offers (see the .cpp for each rule).
    void ClampToRanges();

    // Compares the settings; the rebuild flag and the caches do not count.
    bool operator==(const CEffectSettings& other) const;
    bool operator!=(const CEffectSettings& other) const { return !(*this == other); }

    // Nothing while every effect is off.
    void Write(CFile& file) const;
    // A missing tag keeps the record as it is. Files before 1.8 hold every group, whether on or not.
    void Read(CFile& file, int major, int minor);

    // The caches must be rebuilt (the object moved by a fraction of a pixel, was resized or turned).
    bool m_rebuild = true;

    bool m_shadow = false;
    int m_shadowOffset = 5;
    int m_shadowSoftness = 10;
    // 0 draws the shadow at full strength, 100 makes it invisible.
    int m_shadowOpacity = 50;
    // 0 outer, 1 inner, 2 both.
    int m_shadowStyle = 0;
    int m_shadowAngle = 135;
    CColor m_shadowColor = CColor(0, 0, 0);
    EffectCache m_shadowCache;

    bool m_bevel = false;
    // 0 raised, 1 sunk.
    int m_bevelDirection = 0;
    int m_bevelSoftness = 10;
    // The bevel is drawn with strength 100 minus this, in percent.
    int m_bevelStrength = 50;
    int m_bevelAngle = 135;
    // 0 outer, 1 inner, 2 emboss, 3 pillow emboss.
    int m_bevelStyle = 0;
    EffectCache m_bevelCache;

    bool m_glow = false;
    int m_glowSoftness = 50;
    // The glow is drawn with strength 100 minus this, in percent.
    int m_glowStrength = 50;
    // 0 outer, 1 inner, 2 both.
    int m_glowStyle = 0;
    CColor m_glowColor = CColor(255, 255, 0);
    EffectCache m_glowCache;

private:
    void CopySettings(const CEffectSettings& other);
    void ReadShadow(CFile& file);
    void ReadBevel(CFile& file);
    void ReadGlow(CFile& file);
};
