// Makes the themes that come with the program: small sites built with the site model and saved as theme files
// into <folder>/<category>/<name>.kth, the way a person saves a site as a theme. The build runs it, so every theme
// is made from its description below.
//
//     make_themes <folder>

#include "app/model/fill_info.h"
#include "app/model/fill_style.h"
#include "app/model/link_info.h"
#include "app/model/text_style.h"
#include "app/objects/circle_object.h"
#include "app/objects/rectangle_object.h"
#include "app/objects/text_body.h"
#include "app/objects/text_layout.h"
#include "app/objects/text_object.h"
#include "app/site/site_page.h"
#include "app/site/website.h"
#include "platform/win/file.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

struct Look
{
    const char* category;
    const char* name;
    const char* file;
    CColor page;      // the page background
    CColor header;    // the band across the top
    CColor accent;    // the buttons and the round mark
    CColor ink;       // the text
    CColor buttonInk; // the buttons' labels
    bool roundMark;   // a circle in the header rather than a square
};

constexpr int kWidth = 760;
constexpr int kHeight = 620;
const char* const kPages[] = {"index", "about", "contact"};
const char* const kTitles[] = {"Home", "About", "Contact"};

CFillStyle Background(const CColor& color)
{
    CFillStyle fill;
    fill.SetColor(color);
    fill.SetWidth(kWidth);
    fill.SetHeight(kHeight);
    return fill;
}

template <class Shape> std::unique_ptr<Shape> Block(double x, double y, int width, int height, const CColor& color)
{
    auto shape = std::make_unique<Shape>(x, y, SIZE{width, height}, 0.0);
    shape->GetFill()->SetColor(color);
    return shape;
}

std::unique_ptr<CTextObject> Text(double x, double y, int width, const std::string& text, int points, bool bold,
                                  const CColor& color)
{
    auto object = std::make_unique<CTextObject>(x, y, SIZE{width, points * 2}, 0.0);
    RECT dirty{};
    for (char c : text)
        object->InsertCharWithFormat(dirty, static_cast<BYTE>(c), FindFontIndex("Arial"), static_cast<WORD>(points),
                                     bold ? 1 : 0, 0, 0, static_cast<COLORREF>(color.GetCOLORREF()), CLinkInfo());
    LayoutText(*object->GetTextBody(), dirty);
    return object;
}

// A button with its label that leads to page target of the site.
std::unique_ptr<CRectangleObject> Button(double x, double y, const Look& look, const char* label, int target)
{
    auto button = Block<CRectangleObject>(x, y, 130, 36, look.accent);
    auto style = std::make_unique<CTextStyle>(*button->GetTextStyle());
    style->m_strFont = "Arial";
    style->m_nSize = 12;
    style->m_bBold = true;
    style->m_color = look.buttonInk;
    style->m_strText = label;
    style->m_alignment = CTextStyle::alignCenter;
    style->m_shadow = false;
    button->SetTextStyle(std::move(style));
    CLinkInfo link;
    link.SetKind(CLinkInfo::kindPage);
    link.SetActive(true);
    link.SetPage(target);
    button->SetLink(link.Clone());
    return button;
}

bool MakeTheme(const std::filesystem::path& folder, const Look& look)
{
    CWebsite site("", look.name, Background(look.page), false, kWidth, kHeight, 0, look.accent, look.ink);
    for (int p = 0; p < 3; ++p) {
        CSitePage* page =
            site.AddPage(std::make_unique<CSitePage>(&site, kPages[p], kTitles[p], site.GetNewPageSettings()));
        page->AddObject(Block<CRectangleObject>(kWidth / 2.0, 60, kWidth, 120, look.header));
        if (look.roundMark)
            page->AddObject(Block<CCircleObject>(70, 60, 70, 70, look.accent));
        else
            page->AddObject(Block<CRectangleObject>(70, 60, 64, 64, look.accent));
        page->AddObject(Text(330, 60, 400, look.name, 28, true, look.buttonInk));
        for (int b = 0; b < 3; ++b)
            page->AddObject(Button(90, 180 + b * 50, look, kTitles[b], b));
        page->AddObject(Text(470, 190, 440, kTitles[p], 20, true, look.ink));
        page->AddObject(Text(470, 240, 440, "Your text goes here.", 12, false, look.ink));
        page->AddObject(Block<CRectangleObject>(470, 400, 440, 220, look.header));
        page->AddObject(Block<CRectangleObject>(kWidth / 2.0, kHeight - 20, kWidth, 40, look.header));
    }
    site.SetHomePage(site.GetPage(0));

    const std::filesystem::path category = folder / look.category;
    std::error_code error;
    std::filesystem::create_directories(category, error);
    const std::string path = (category / look.file).string();
    CFile file;
    if (error || !file.Open(path, CFile::modeCreate | CFile::modeWrite) ||
        !site.Save(file, true, look.category, look.name)) {
        std::fprintf(stderr, "make_themes: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_themes <folder>\n");
        return 2;
    }
    const Look looks[] = {
        {"Business", "Harbour", "harbour.kth", CColor(244, 246, 250), CColor(22, 50, 92), CColor(230, 150, 40),
         CColor(30, 40, 60), CColor(255, 255, 255), false},
        {"Business", "Ledger", "ledger.kth", CColor(255, 255, 255), CColor(60, 60, 66), CColor(40, 120, 110),
         CColor(40, 40, 40), CColor(255, 255, 255), false},
        {"Personal", "Garden", "garden.kth", CColor(246, 250, 238), CColor(70, 120, 50), CColor(200, 90, 120),
         CColor(40, 60, 30), CColor(255, 255, 255), true},
        {"Personal", "Sunrise", "sunrise.kth", CColor(255, 248, 236), CColor(240, 140, 60), CColor(120, 60, 140),
         CColor(70, 40, 20), CColor(255, 255, 255), true},
        {"Events", "Festival", "festival.kth", CColor(30, 24, 48), CColor(200, 40, 90), CColor(250, 200, 40),
         CColor(240, 240, 250), CColor(30, 24, 48), true},
    };
    bool made = true;
    for (const Look& look : looks)
        made = MakeTheme(argv[1], look) && made;
    return made ? 0 : 1;
}
