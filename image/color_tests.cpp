#include <gtest/gtest.h>

#include "image/image.h"

namespace {

TEST(Color, NamedColours)
{
    struct Case
    {
        colorName name;
        unsigned char r, g, b;
    } cases[] = {
        {COLOR_BLACK, 0, 0, 0},        {COLOR_WHITE, 255, 255, 255}, {COLOR_DARK_GREY, 64, 64, 64},
        {COLOR_GREY, 128, 128, 128},   {COLOR_LIGHT_GREY, 192, 192, 192}, {COLOR_RED, 255, 0, 0},
        {COLOR_GREEN, 0, 255, 0},      {COLOR_BLUE, 0, 0, 255},       {COLOR_CYAN, 0, 255, 255},
        {COLOR_MAGENTA, 255, 0, 255},  {COLOR_YELLOW, 255, 255, 0},
    };
    for (const Case& c : cases) {
        CColor color(c.name);
        EXPECT_EQ(color.GetMode(), IMAGE_MODE_RGB);
        EXPECT_EQ(color, CColor(c.r, c.g, c.b)) << "name " << c.name;
    }
    EXPECT_EQ(CColor(), CColor(COLOR_WHITE));
    EXPECT_EQ(CColor(static_cast<colorName>(99)).GetMode(), IMAGE_MODE_RGB);
}

TEST(Color, ColorrefRoundTrip)
{
    CColor c(0x00336699ul);
    EXPECT_EQ(c.GetColor()[0], 0x99);
    EXPECT_EQ(c.GetColor()[1], 0x66);
    EXPECT_EQ(c.GetColor()[2], 0x33);
    EXPECT_EQ(c.GetCOLORREF(), 0x00336699ul);
    EXPECT_EQ(CColor(LutColor{1, 2, 3}).GetCOLORREF(), 0x00030201ul);
}

TEST(Color, GreyColorrefRepeatsTheLevel)
{
    CColor grey(CColor(200, 200, 200));
    grey.Convert(IMAGE_MODE_GREY);
    EXPECT_EQ(grey.GetMode(), IMAGE_MODE_GREY);
    EXPECT_EQ(grey.GetCOLORREF(), 0x00C8C8C8ul);
}

TEST(Color, EqualityLooksAtTheModesSamplesOnly)
{
    CColor viaGrey(CColor(255, 255, 255));
    viaGrey.Convert(IMAGE_MODE_GREY);
    viaGrey.Convert(IMAGE_MODE_RGB);
    EXPECT_EQ(viaGrey, CColor(255, 255, 255));
    EXPECT_NE(CColor(1, 2, 3), CColor(1, 2, 4));
}

TEST(Color, ConvertToOwnModeKeepsEveryByte)
{
    CPixMap map(IMAGE_MODE_RGBA, 1, 1);
    unsigned char* p = map.plane[0].data;
    p[0] = 10, p[1] = 20, p[2] = 30, p[3] = 40;
    CColor c(map, 0, 0);
    EXPECT_EQ(c.GetMode(), IMAGE_MODE_RGBA);
    CColor same(c);
    same.Convert(IMAGE_MODE_RGBA);
    EXPECT_EQ(same, c);
}

TEST(Color, FromInterleavedAndPlanarMaps)
{
    CPixMap interleaved(IMAGE_MODE_RGB, 3, 2);
    unsigned char* px = interleaved.Sample(2, 1, 0);
    px[0] = 7, px[1] = 8, px[2] = 9;
    EXPECT_EQ(CColor(interleaved, 2, 1), CColor(7, 8, 9));

    CPixMap planar(IMAGE_MODE_RGB, 3, 2, false);
    *planar.Sample(1, 1, 0) = 4;
    *planar.Sample(1, 1, 1) = 5;
    *planar.Sample(1, 1, 2) = 6;
    EXPECT_EQ(CColor(planar, 1, 1), CColor(4, 5, 6));
}

TEST(Color, RgbThroughOtherModesAndBack)
{
    const CColor samples[] = {CColor(255, 0, 0), CColor(0, 255, 0), CColor(0, 0, 255), CColor(128, 128, 128),
                              CColor(0, 0, 0),   CColor(255, 255, 255)};
    for (IMAGE_MODE mode : {IMAGE_MODE_HLS, IMAGE_MODE_HSV, IMAGE_MODE_YCBCR}) {
        for (const CColor& rgb : samples) {
            CColor c(rgb);
            c.Convert(mode);
            c.Convert(IMAGE_MODE_RGB);
            // Hue is kept in 384 steps but stored in a byte, so pure blue comes back slightly off.
            for (int i = 0; i < 3; ++i)
                EXPECT_NEAR(c.GetColor()[i], rgb.GetColor()[i], 4) << "mode " << mode;
        }
    }
}

} // namespace
