// Where built pages' texts and counters stand: HTML text or picture, its place by alignment, link runs and text
// styles, and counters online and offline.

#include <gtest/gtest.h>

#include "app/build/page_images_test_support.h"

namespace {

using page_images_testing::PageImagesTest;
using text_editing_testing::Append;
using text_editing_testing::Format;
using text_editing_testing::Layout;

// ---- Text: HTML or picture ----

TEST_F(PageImagesTest, TextIsHtmlUnlessSomethingShowsThroughOrItCarriesEffects)
{
    struct Case
    {
        const char* name;
        std::function<void(CSitePage*, CTextObject&)> arrange;
        bool html;
    };
    const Case cases[] = {
        {"alone", [](CSitePage*, CTextObject&) {}, true},
        {"shadow", [](CSitePage*, CTextObject& text) { text.SetEffects(ShadowGlowEffects(true)); }, false},
        {"covered by an upright plain rectangle",
         [](CSitePage* page, CTextObject&) { AddRect(page, 300, 200, 40, 40, CColor(200, 30, 30), 0.0, true); }, true},
        {"covered by a turned rectangle",
         [](CSitePage* page, CTextObject&) { AddRect(page, 300, 200, 40, 40, CColor(0, 0, 0), 0.4, true); }, false},
        {"covered by a rectangle with a glow",
         [](CSitePage* page, CTextObject&) {
             AddRect(page, 300, 200, 40, 40, CColor(200, 30, 30), 0.0, true)->SetEffects(ShadowGlowEffects(false, true));
         },
         false},
        {"covered by a circle",
         [](CSitePage* page, CTextObject&) {
             PutOnTop(page, std::make_unique<CCircleObject>(300, 200, SIZE{40, 40}, 0.0));
         },
         false},
        {"on a circle", // a new object goes below the plain text
         [](CSitePage* page, CTextObject&) {
             page->AddObject(std::make_unique<CCircleObject>(300, 200, SIZE{40, 40}, 0.0));
         },
         true},
        {"covered by HTML text",
         [](CSitePage* page, CTextObject&) { page->AddObject(text_editing_testing::MakeText(100, {"over"})); }, true},
        {"beside a circle",
         [](CSitePage* page, CTextObject&) {
             page->AddObject(std::make_unique<CCircleObject>(30, 30, SIZE{20, 20}, 0.0));
         },
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearSite();
        CSitePage* page = AddPage(600, 400);
        CTextObject* text = static_cast<CTextObject*>(
            page->AddObject(text_editing_testing::MakeText(120, {"Hello"}))->GetCurrentObject());
        c.arrange(page, *text);
        ASSERT_EQ(Build().code, buildDone);
        const CObjectBuildRecord& record = RecordOf(0, text);
        EXPECT_EQ(record.asHtmlText, c.html ? 1 : 0);
        EXPECT_EQ(record.imageUrl.empty(), c.html);
        if (!c.html) {
            EXPECT_TRUE(Written(record.imageUrl.substr(std::string("files/").size())));
        }
    }
}

TEST_F(PageImagesTest, HtmlTextStandsByItsAlignment)
{
    CSitePage* page = AddPage(600, 400);
    // The text box is 120 wide about (300.25, 200.5).
    auto text = text_editing_testing::MakeText(120, {"Hello"});
    text->SetCenter(DPOINT{300.25, 200.5});
    CTextObject* object = text.get();
    page->AddObject(std::move(text));
    const CTextBody& body = *object->GetTextBody();
    ASSERT_EQ(body.m_nWidth, 120);
    const double halfHeight = body.m_nHeight * 0.5;
    const int width = object->GetTextSize().cx;
    ASSERT_GT(width, 0);
    ASSERT_LT(width, 120);

    struct Case
    {
        int alignment;
        int left;
    };
    // Left: 300.25 - 60 = 240.25 -> 240, + 2. Centre and right are measured from the text's own width.
    const Case cases[] = {{CTextBody::alignLeft, 242},
                          {CTextBody::alignCenter, static_cast<int>(std::floor(300.25 - width * 0.5 + 0.5)) + 1},
                          {CTextBody::alignRight, static_cast<int>(std::floor(360.25 - width + 0.5))}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.alignment);
        object->GetTextBody()->m_alignment = c.alignment;
        ASSERT_EQ(Build().code, buildDone);
        EXPECT_EQ(Object(0, 0).asHtmlText, 1);
        EXPECT_EQ(Object(0, 0).left, c.left);
        EXPECT_EQ(Object(0, 0).top, static_cast<int>(std::floor(200.5 - halfHeight + 0.5)) + 2);
        EXPECT_EQ(Object(0, 0).width, width);
    }
}

TEST_F(PageImagesTest, LinkRunsAndTextStyles)
{
    CSitePage* page = AddPage(600, 400);
    auto first = std::make_unique<CTextObject>(200.0, 100.0, SIZE{200, 60}, 0.0);
    first->GetTextBody()->m_paragraphs.clear();
    Format plain, bold, linked;
    bold.bold = true;
    linked.linked = true;
    Append(*first, 0, "ab", linked);
    Append(*first, 0, "cd", plain);
    Format boldLinked = bold;
    boldLinked.linked = true;
    Append(*first, 0, "ef", boldLinked);
    Append(*first, 1, "gh", linked); // the same link goes on across the paragraph's end
    Append(*first, 1, "i", linked);
    Layout(*first);
    auto second = std::make_unique<CTextObject>(200.0, 300.0, SIZE{200, 60}, 0.0);
    second->GetTextBody()->m_paragraphs.clear();
    Format red = bold;
    red.colour = RGB(255, 0, 0);
    Append(*second, 0, "xy", bold);
    Append(*second, 0, "z", red);
    Layout(*second);
    // A colour fill paints every character, so that colour changes make no new style.
    auto filled = std::make_unique<CTextObject>(450.0, 300.0, SIZE{100, 60}, 0.0);
    filled->GetTextBody()->m_paragraphs.clear();
    Append(*filled, 0, "p", plain);
    Append(*filled, 0, "q", red);
    Layout(*filled);
    filled->GetFill()->SetColor(CColor(0, 0, 200));
    page->AddObject(std::move(first));
    page->AddObject(std::move(second));
    page->AddObject(std::move(filled));
    ASSERT_TRUE(static_cast<CTextObject*>(page->GetItem(2)->GetCurrentObject())->IsPlainObject());

    ASSERT_EQ(Build().code, buildDone);
    const std::vector<TextLinkRun>& runs = Object(0, 0).linkRuns;
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].firstChar, 0);
    EXPECT_EQ(runs[0].lastChar, 1);
    EXPECT_EQ(runs[1].firstChar, 4);
    EXPECT_EQ(runs[1].lastChar, 8);
    EXPECT_TRUE(runs[0].link.IsActive());
    EXPECT_TRUE(Object(0, 1).linkRuns.empty());

    const CPageBuildRecord& record = Page(0);
    ASSERT_EQ(record.textStyles.size(), 5u);
    EXPECT_EQ(record.textStyles[0].face, "Arial");
    EXPECT_EQ(record.textStyles[0].height, 12);
    EXPECT_EQ(record.textStyles[0].bold, 0);
    EXPECT_EQ(record.textStyles[1].bold, 1);
    EXPECT_EQ(record.textStyles[2].color, static_cast<COLORREF>(RGB(255, 0, 0)));
    EXPECT_EQ(record.textStyles[3].color, static_cast<COLORREF>(RGB(0, 0, 200)));
    EXPECT_EQ(record.textStyles[4].color, static_cast<COLORREF>(RGB(0, 0, 200)));
    EXPECT_EQ(record.textStyles[4].bold, 1);
    struct Run
    {
        int firstChar, style;
    };
    // First object: plain, bold at "ef", plain again at "gh"; second: bold, red; the filled one: its fill colour,
    // the red "q" only as bold.
    const std::vector<Run> expected = {{0, 0}, {4, 1}, {6, 0}, {0, 1}, {2, 2}, {0, 3}, {1, 4}};
    ASSERT_EQ(record.textStyleRuns.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(record.textStyleRuns[i].firstChar, expected[i].firstChar) << i;
        EXPECT_EQ(record.textStyleRuns[i].style, expected[i].style) << i;
    }
}

// ---- Counters ----

TEST_F(PageImagesTest, CountersArePlacedOnlineAndPicturesOffline)
{
    CSitePage* page = AddPage();
    page->AddObject(std::make_unique<CCounterObject>(0, 100.0, 80.0));
    const CRect bounds = page->GetItem(0)->GetRect();
    DPOINT centre;
    page->GetItem(0)->GetCurrentObject()->GetCenter(centre);

    ASSERT_EQ(Build(buildForPublish, 0).code, buildDone);
    EXPECT_EQ(Object(0, 0).imageNumber, -1);
    EXPECT_EQ(Object(0, 0).imageUrl, "");
    EXPECT_EQ(Object(0, 0).width, bounds.Width());
    EXPECT_EQ(Object(0, 0).height, bounds.Height());
    EXPECT_EQ(Object(0, 0).left, static_cast<int>(std::floor(centre.x - bounds.Width() * 0.5 + 0.5)));
    EXPECT_TRUE(OutputFiles().empty());

    ASSERT_EQ(Build(buildForPreview, 1).code, buildDone);
    EXPECT_EQ(Object(0, 0).imageUrl, "files/IMG_0.jpg");
    EXPECT_TRUE(Written("IMG_0.jpg"));
}
} // namespace
