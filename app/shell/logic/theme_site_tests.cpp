#include "app/shell/logic/theme_site.h"

#include <gtest/gtest.h>
#include <memory>

#include "app/model/link_info.h"
#include "app/objects/rectangle_object.h"
#include "app/objects/text_body.h"
#include "app/objects/text_object.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "app/site/website.h"

namespace {

CLinkInfo MakeLink(int kind, bool active)
{
    CLinkInfo link;
    link.SetKind(kind);
    link.SetActive(active);
    link.SetPage(3);
    link.SetEmail("shop@theme.example");
    link.SetUrl("http://theme.example/");
    link.SetFile("/themes/brochure.pdf");
    return link;
}

struct Expected
{
    int kind;
    int page;
    const char* email;
    const char* url;
    const char* file;
};

TEST(ThemeLinks, KeepOnlyWhatAnActiveLinkOfItsKindUses)
{
    struct Case
    {
        int kind;
        bool active;
        Expected object;
        Expected character;
    };
    const char* mail = CLinkInfo::kDefaultEmail;
    const Case cases[] = {
        {CLinkInfo::kindPage, true, {0, 3, mail, "http:", ""}, {0, 3, "", "", ""}},
        {CLinkInfo::kindEmail, true, {1, 0, "shop@theme.example", "http:", ""}, {1, 0, "shop@theme.example", "", ""}},
        {CLinkInfo::kindUrl, true, {2, 0, mail, "http://theme.example/", ""}, {2, 0, "", "http://theme.example/", ""}},
        {CLinkInfo::kindFile,
         true,
         {3, 0, mail, "http:", "/themes/brochure.pdf"},
         {3, 0, "", "", "/themes/brochure.pdf"}},
        // A link that is off keeps nothing but a file name of its kind; a character's becomes a page link.
        {CLinkInfo::kindUrl, false, {2, 0, mail, "http:", ""}, {0, 0, "", "", ""}},
        {CLinkInfo::kindFile,
         false,
         {3, 0, mail, "http:", "/themes/brochure.pdf"},
         {0, 0, "", "", "/themes/brochure.pdf"}},
    };
    for (const Case& c : cases) {
        CLinkInfo object = MakeLink(c.kind, c.active);
        ClearThemeObjectLink(object);
        CLinkInfo character = MakeLink(c.kind, c.active);
        ClearThemeCharLink(character);
        for (const auto& [link, expected] : {std::pair{&object, c.object}, std::pair{&character, c.character}}) {
            SCOPED_TRACE(testing::Message() << "kind " << c.kind << " active " << c.active);
            EXPECT_EQ(link->GetKind(), expected.kind);
            EXPECT_EQ(link->IsActive(), c.active);
            EXPECT_EQ(link->GetPage(), expected.page);
            EXPECT_EQ(link->GetEmail(), expected.email);
            EXPECT_EQ(link->GetUrl(), expected.url);
            EXPECT_EQ(link->GetFile(), expected.file);
        }
    }
}

TEST(ThemeLinks, ReachEveryPageObjectTwinAndCharacter)
{
    CWebsite site("");
    for (const char* name : {"index", "about"}) {
        CSitePage* page = site.AddPage(std::make_unique<CSitePage>(&site, name, name));
        auto shape = std::make_unique<CRectangleObject>(50, 50, SIZE{40, 40}, 0.0);
        shape->SetLink(MakeLink(CLinkInfo::kindUrl, false).Clone());
        CPageItem* item = page->AddObject(std::move(shape));
        auto twin = std::make_unique<CRectangleObject>(50, 50, SIZE{40, 40}, 0.0);
        twin->SetLink(MakeLink(CLinkInfo::kindEmail, false).Clone());
        item->SetMouseOverObject(std::move(twin));
        auto text = std::make_unique<CTextObject>(100, 100, SIZE{80, 20}, 0.0);
        RECT dirty{};
        text->InsertCharWithFormat(dirty, 'a', 0, 12, 0, 0, 0, 0, MakeLink(CLinkInfo::kindUrl, false));
        page->AddObject(std::move(text));
    }
    ClearThemeLinks(site);
    for (int p = 0; p < 2; ++p) {
        CSitePage* page = site.GetPage(p);
        EXPECT_EQ(page->GetItem(0)->GetObject(false)->GetLink()->GetUrl(), "http:");
        EXPECT_EQ(page->GetItem(0)->GetObject(true)->GetLink()->GetEmail(), CLinkInfo::kDefaultEmail);
        auto* text = dynamic_cast<CTextObject*>(page->GetItem(1)->GetObject(false));
        ASSERT_NE(text, nullptr);
        const CLinkInfo& link = text->GetTextBody()->m_paragraphs[0].m_chars[0].m_link;
        EXPECT_EQ(link.GetUrl(), "");
        EXPECT_EQ(link.GetKind(), CLinkInfo::kindPage);
    }
}

} // namespace
