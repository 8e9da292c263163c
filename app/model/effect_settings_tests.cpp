#include "app/model/effect_settings.h"

#include <gtest/gtest.h>

#include "app/model/stream_test_support.h"

namespace {

std::vector<BYTE> Ints(std::initializer_list<int32_t> values)
{
    std::vector<BYTE> bytes;
    for (int32_t v : values) {
        const auto b = LE32(static_cast<uint32_t>(v));
        bytes.insert(bytes.end(), b.begin(), b.end());
    }
    return bytes;
}

CEffectSettings AllOn()
{
    CEffectSettings e;
    e.m_shadow = e.m_bevel = e.m_glow = true;
    e.m_shadowOffset = 7;
    e.m_shadowSoftness = 20;
    e.m_shadowOpacity = 30;
    e.m_shadowStyle = 2;
    e.m_shadowAngle = 315;
    e.m_shadowColor = CColor(1, 2, 3);
    e.m_bevelDirection = 1;
    e.m_bevelSoftness = 25;
    e.m_bevelStrength = 60;
    e.m_bevelAngle = 90;
    e.m_bevelStyle = 3;
    e.m_glowSoftness = 40;
    e.m_glowStrength = 25;
    e.m_glowStyle = 1;
    e.m_glowColor = CColor(9, 8, 7);
    return e;
}

void GiveCaches(CEffectSettings& e)
{
    for (EffectCache* c : {&e.m_shadowCache, &e.m_bevelCache, &e.m_glowCache}) {
        c->m_pImage = std::make_unique<CImage>(IMAGE_MODE_COVERAGE, 4, 4);
        c->m_softness = 10;
        c->m_rect = CRect(0, 0, 4, 4);
    }
}

} // namespace

TEST(EffectSettings, AllOffWritesNothingAndLoadsTheDefaults)
{
    CEffectSettings off;
    off.m_shadowOffset = 40;
    CMemFile file;
    off.Write(file);
    EXPECT_EQ(file.GetLength(), 0u);
    CEffectSettings back;
    back.Read(file, 5, 15);
    EXPECT_EQ(back, CEffectSettings());
    EXPECT_EQ(back.m_shadowOffset, 5);
    EXPECT_EQ(back.m_shadowSoftness, 10);
    EXPECT_EQ(back.m_glowColor.GetCOLORREF(), RGB(255, 255, 0));
}

TEST(EffectSettings, GlowOnlyWritesTheGlowGroup)
{
    CEffectSettings glow;
    glow.m_glow = true;
    CMemFile file;
    glow.Write(file);
    EXPECT_EQ(FileBytes(file), Concat({LE32(CEffectSettings::kTag), {0, 0, 1}, Ints({50, 50, 0}), {255, 255, 0}}));
}

TEST(EffectSettings, RoundTripWithEveryEffect)
{
    const CEffectSettings e = AllOn();
    CMemFile file;
    e.Write(file);
    EXPECT_EQ(file.GetLength(), 4u + 3 + 23 + 20 + 15);
    file.SeekToBegin();
    CEffectSettings back;
    back.Read(file, 5, 15);
    EXPECT_EQ(back, e);
}

TEST(EffectSettings, ReadsTheOlderFormBeforeOneEight)
{
    // Before 1.8 every group is stored with its flag in front of it, whether it is on or not.
    const std::vector<BYTE> older = Concat({LE32(CEffectSettings::kTag),
                                            {1},
                                            Ints({3, 4, 5, 1, 45}),
                                            {10, 20, 30},
                                            {0},
                                            Ints({1, 6, 7, 8, 2}),
                                            {0},
                                            Ints({9, 11, 2}),
                                            {40, 50, 60}});
    const std::vector<BYTE> newer =
        Concat({LE32(CEffectSettings::kTag), {1, 0, 0}, Ints({3, 4, 5, 1, 45}), {10, 20, 30}});
    struct Case
    {
        int major, minor;
        const std::vector<BYTE>& bytes;
        bool groupsInFull;
    };
    const Case cases[] = {{1, 7, older, true}, {1, 8, newer, false}, {2, 0, newer, false}, {5, 15, newer, false}};
    for (const Case& c : cases) {
        auto file = FileOf(c.bytes);
        CEffectSettings e;
        e.Read(*file, c.major, c.minor);
        EXPECT_EQ(file->GetPosition(), c.bytes.size()) << c.major << "." << c.minor;
        EXPECT_TRUE(e.m_shadow);
        EXPECT_EQ(e.m_shadowAngle, 45);
        EXPECT_EQ(e.m_shadowColor.GetCOLORREF(), RGB(10, 20, 30));
        EXPECT_FALSE(e.m_bevel);
        EXPECT_EQ(e.m_bevelStrength, c.groupsInFull ? 7 : 50);
        EXPECT_EQ(e.m_glowStyle, c.groupsInFull ? 2 : 0);
    }
}

TEST(EffectSettings, ValuesFromAFileAreBroughtIntoThePalettesRanges)
{
    const auto stored = [](std::initializer_list<int32_t> shadow, std::initializer_list<int32_t> bevel,
                           std::initializer_list<int32_t> glow) {
        auto file = FileOf(Concat(
            {LE32(CEffectSettings::kTag), {1, 1, 1}, Ints(shadow), {0, 0, 0}, Ints(bevel), Ints(glow), {0, 0, 0}}));
        CEffectSettings e;
        e.Read(*file, 5, 15);
        return e;
    };
    // shadow: offset, softness, opacity, style, angle; bevel: direction, softness, strength, angle, style;
    // glow: softness, strength, style.
    const CEffectSettings high =
        stored({1000000, 2000000000, 300, 7, 720}, {5, 1000000, 101, 359, 9}, {INT32_MAX, 1000, 3});
    EXPECT_EQ(high.m_shadowOffset, 100);
    EXPECT_EQ(high.m_shadowSoftness, 100);
    EXPECT_EQ(high.m_shadowOpacity, 100);
    EXPECT_EQ(high.m_shadowStyle, 2);
    EXPECT_EQ(high.m_shadowAngle, 0);
    EXPECT_EQ(high.m_bevelDirection, 1);
    EXPECT_EQ(high.m_bevelSoftness, 100);
    EXPECT_EQ(high.m_bevelStrength, 100);
    EXPECT_EQ(high.m_bevelAngle, 359);
    EXPECT_EQ(high.m_bevelStyle, 3);
    EXPECT_EQ(high.m_glowSoftness, 100);
    EXPECT_EQ(high.m_glowStrength, 100);
    EXPECT_EQ(high.m_glowStyle, 2);

    const CEffectSettings low = stored({-5, INT32_MIN, -1, -1, -45}, {-1, -1, -1, INT32_MIN, -2}, {-1, -1, -1});
    EXPECT_EQ(low.m_shadowOffset, 0);
    EXPECT_EQ(low.m_shadowSoftness, 0);
    EXPECT_EQ(low.m_shadowOpacity, 0);
    EXPECT_EQ(low.m_shadowStyle, 2); // drawn as both shadows, as before
    EXPECT_EQ(low.m_shadowAngle, 315);
    EXPECT_EQ(low.m_bevelDirection, 0);
    EXPECT_EQ(low.m_bevelSoftness, 0);
    EXPECT_EQ(low.m_bevelAngle, (INT32_MIN % 360) + 360);
    EXPECT_EQ(low.m_bevelStyle, 0);
    EXPECT_EQ(low.m_glowSoftness, 0);
    EXPECT_EQ(low.m_glowStyle, 0);

    const CEffectSettings inRange = stored({0, 100, 100, 1, 359}, {1, 0, 0, 0, 3}, {100, 0, 2});
    EXPECT_EQ(inRange.m_shadowSoftness, 100);
    EXPECT_EQ(inRange.m_shadowStyle, 1);
    EXPECT_EQ(inRange.m_shadowAngle, 359);
    EXPECT_EQ(inRange.m_bevelStyle, 3);
}

TEST(EffectSettings, CutRecordIsRefusedAndLeavesTheSettings)
{
    CMemFile stored;
    AllOn().Write(stored);
    std::vector<BYTE> bytes = FileBytes(stored);
    bytes.resize(bytes.size() - 2);
    auto file = FileOf(bytes);
    CEffectSettings e;
    EXPECT_TRUE(RaisesBadData([&] { e.Read(*file, 5, 15); }));
    EXPECT_EQ(e, CEffectSettings());
}

TEST(EffectSettings, CopiesCarrySettingsButNoCaches)
{
    CEffectSettings e = AllOn();
    e.m_rebuild = false;
    GiveCaches(e);

    const auto copy = e.Clone();
    EXPECT_EQ(*copy, e);
    EXPECT_TRUE(copy->m_rebuild);
    EXPECT_EQ(copy->m_shadowCache.m_pImage, nullptr);
    EXPECT_EQ(copy->m_glowCache.m_pImage, nullptr);

    CEffectSettings assigned;
    GiveCaches(assigned);
    assigned.m_rebuild = false;
    assigned = e;
    EXPECT_EQ(assigned, e);
    EXPECT_TRUE(assigned.m_rebuild);
    EXPECT_EQ(assigned.m_bevelCache.m_pImage, nullptr);
}

TEST(EffectSettings, CachesMoveAndFree)
{
    CEffectSettings source = AllOn();
    GiveCaches(source);
    const CImage* shadowImage = source.m_shadowCache.m_pImage.get();

    CEffectSettings restored = AllOn();
    EXPECT_EQ(restored, source); // caches do not count
    restored.TakeCachedImages(source);
    EXPECT_EQ(restored.m_shadowCache.m_pImage.get(), shadowImage);
    EXPECT_NE(restored.m_glowCache.m_pImage, nullptr);
    EXPECT_EQ(source.m_shadowCache.m_pImage, nullptr);
    EXPECT_EQ(source.m_bevelCache.m_pImage, nullptr);

    restored.FreeCachedImages();
    EXPECT_EQ(restored.m_shadowCache.m_pImage, nullptr);
    EXPECT_EQ(restored.m_shadowCache.m_rect, CRect());
}

TEST(EffectSettings, ReadingEmptiesTheCaches)
{
    CMemFile stored;
    AllOn().Write(stored);
    stored.SeekToBegin();
    CEffectSettings e = AllOn();
    GiveCaches(e);
    e.Read(stored, 5, 15);
    EXPECT_EQ(e.m_shadowCache.m_pImage, nullptr);
    EXPECT_EQ(e.m_shadowCache.m_softness, 0);
    EXPECT_EQ(e.m_glowCache.m_rect, CRect());
}
