#include "app/model/text_style.h"

#include <gtest/gtest.h>

#include "app/model/app_settings.h"
#include "app/model/seams_test_support.h"
#include "app/model/services.h"
#include "app/model/stream_test_support.h"

namespace {

class SettingsServices : public NullCoreServices, public NullCurrentState, public NullModelDialogs
{
public:
    CAppSettings* GetAppSettings() override { return &settings; }
    CAppSettings settings;
};

using TextStyleTest = ::testing::Test;

CTextStyle Labelled(const std::string& text)
{
    CTextStyle style;
    style.m_strText = text;
    return style;
}

} // namespace

TEST_F(TextStyleTest, NewStyleTakesTheUsersDefaults)
{
    // With no settings installed, a style takes those of a fresh settings record.
    const CTextStyle builtIn;
    EXPECT_EQ(builtIn.m_strFont, "Arial");
    EXPECT_EQ(builtIn.m_nSize, 12);
    EXPECT_EQ(builtIn.m_color.GetCOLORREF(), 0xFFFFFFu);
    EXPECT_EQ(builtIn.m_alignment, CTextStyle::alignCenter);
    EXPECT_EQ(builtIn.m_shadowDistance, 1);
    EXPECT_EQ(builtIn.m_shadowDirection, 120);
    EXPECT_EQ(builtIn.m_shadowColor.GetCOLORREF(), 0u);

    SettingsServices services;
    services.settings.m_buttonTextFont = "Courier New";
    services.settings.m_buttonTextFontSize = 20;
    services.settings.m_clrButtonTextColor = RGB(1, 2, 3);
    services.settings.m_buttonTextShadow = true;
    const SeamsInstalled installed(services);
    const CTextStyle style;
    EXPECT_EQ(style.m_strFont, "Courier New");
    EXPECT_EQ(style.m_nSize, 20);
    EXPECT_EQ(style.m_color.GetCOLORREF(), RGB(1, 2, 3));
    EXPECT_TRUE(style.m_shadow);
    EXPECT_TRUE(style.GetText().empty());
}

TEST_F(TextStyleTest, WritesItsFieldsInOrder)
{
    CTextStyle style = Labelled("OK");
    style.m_strFont = "A";
    style.m_nSize = 9;
    style.m_bBold = true;
    style.m_color = CColor(0x10, 0x20, 0x30);
    style.m_alignment = CTextStyle::alignRight;
    style.m_shadowColor = CColor(COLOR_BLACK);
    CMemFile file;
    style.Write(file);
    const std::vector<BYTE> expected = Concat({LE32(CTextStyle::kTag),
                                               LE32(1),
                                               {'A'},
                                               LE32(9),
                                               {1, 0, 0},
                                               {0x10, 0x20, 0x30},
                                               LE32(2),
                                               {'O', 'K'},
                                               LE32(2),
                                               {0},
                                               LE32(1),
                                               LE32(120),
                                               {0, 0, 0}});
    EXPECT_EQ(FileBytes(file), expected);

    file.SeekToBegin();
    CTextStyle back;
    back.Read(file, 5, 15);
    EXPECT_EQ(back, style);
    EXPECT_EQ(*style.Clone(), style);
}

TEST_F(TextStyleTest, EmptyTextIsNotSavedAndLoadsWithTodaysDefaults)
{
    CTextStyle style;
    style.m_nSize = 40;
    CMemFile file;
    style.Write(file);
    EXPECT_EQ(file.GetLength(), 0u);

    SettingsServices services;
    services.settings.m_buttonTextFontSize = 18;
    const SeamsInstalled installed(services);
    CTextStyle loaded;
    loaded.Read(file, 5, 15);
    EXPECT_EQ(loaded.m_nSize, 18);
}

TEST_F(TextStyleTest, ReadsOnlyFromVersionOneFive)
{
    CMemFile stored;
    Labelled("Go").Write(stored);
    const std::vector<BYTE> bytes = FileBytes(stored);
    struct Case
    {
        int major, minor;
        bool reads;
    };
    for (const Case& c : {Case{1, 4, false}, Case{1, 5, true}, Case{2, 0, true}}) {
        auto file = FileOf(bytes);
        CTextStyle style;
        style.Read(*file, c.major, c.minor);
        EXPECT_EQ(style.GetText(), c.reads ? "Go" : "") << c.major << "." << c.minor;
        EXPECT_EQ(file->GetPosition(), c.reads ? bytes.size() : 0u);
    }
}

TEST_F(TextStyleTest, BadOrCutDataIsRefused)
{
    CMemFile stored;
    Labelled("Go").Write(stored);
    std::vector<BYTE> bytes = FileBytes(stored);
    bytes.pop_back();
    auto cut = FileOf(bytes);
    CTextStyle style;
    EXPECT_TRUE(RaisesBadData([&] { style.Read(*cut, 5, 15); }));
    EXPECT_EQ(style, CTextStyle());

    auto longFace = FileOf(Concat({LE32(CTextStyle::kTag), LE32(20049)}));
    EXPECT_TRUE(RaisesBadData([&] { style.Read(*longFace, 5, 15); }));
}

TEST_F(TextStyleTest, ColoursCompareByTheirRgbValue)
{
    CTextStyle a = Labelled("x");
    CTextStyle b = a;
    CColor grey(COLOR_WHITE);
    grey.Convert(IMAGE_MODE_GREY);
    ASSERT_NE(grey.GetMode(), b.m_color.GetMode());
    b.m_color = grey;
    EXPECT_EQ(a, b);
    b.m_shadowDirection = 121;
    EXPECT_NE(a, b);
}
