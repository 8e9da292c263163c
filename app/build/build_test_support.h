#pragma once

// A small site of every kind of thing a page can show, for the end-to-end build tests, the browser comparison and
// the build benchmark: shapes with colour, gradient and picture fills and effects, HTML text with styles and links,
// text drawn as a picture, a mouse-over button, HTML code, a form and a counter, over colour, picture and gradient
// backgrounds. Its pictures are written into a folder the caller gives.

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>

#include "app/model/effect_settings.h"
#include "app/model/fill_info.h"
#include "app/model/fill_style.h"
#include "app/model/link_info.h"
#include "app/model/string_attr.h"
#include "app/model/text_style.h"
#include "app/objects/circle_object.h"
#include "app/objects/counter_object.h"
#include "app/objects/form_object.h"
#include "app/objects/html_object.h"
#include "app/objects/polygon_object.h"
#include "app/objects/rectangle_object.h"
#include "app/objects/text_body.h"
#include "app/objects/text_layout.h"
#include "app/objects/text_measure.h"
#include "app/objects/text_object.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "app/site/website.h"
#include "controls/gradient/gradient_model.h"
#include "image/image.h"
#include "platform/io/io.h"

namespace build_testing {

// A picture of soft stripes in two colours, the same bytes every time.
inline std::unique_ptr<CImage> StripedPicture(int width, int height, CColor a, CColor b)
{
    auto image = std::make_unique<CImage>(IMAGE_MODE_RGB, width, height);
    CPixMap map(IMAGE_MODE_RGB, width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const unsigned char* c = (((x + y) / 8) % 2 ? a : b).GetColor();
            std::copy(c, c + 3, map.Sample(x, y, 0));
        }
    image->SetBuf(0, 0, map);
    return image;
}

// Writes the picture in the format its name's extension gives; the path is returned.
inline std::string WritePicture(const std::filesystem::path& folder, const std::string& name, int width, int height,
                                CColor a, CColor b)
{
    const std::string path = (folder / name).string();
    CIO::SaveImage(path, *StripedPicture(width, height, a, b), 8, 98);
    return path;
}

inline std::unique_ptr<CEffectSettings> Effects(bool shadow, bool bevel, bool glow)
{
    auto effects = std::make_unique<CEffectSettings>();
    effects->m_shadow = shadow;
    effects->m_bevel = bevel;
    effects->m_glow = glow;
    return effects;
}

inline CLinkInfo Link(int kind, const std::string& target, int page = 0)
{
    CLinkInfo link;
    link.SetKind(kind);
    link.SetActive(true);
    link.SetPage(page);
    if (kind == CLinkInfo::kindEmail)
        link.SetEmail(target);
    else if (kind == CLinkInfo::kindUrl)
        link.SetUrl(target);
    else if (kind == CLinkInfo::kindFile)
        link.SetFile(target);
    return link;
}

struct TextFormat
{
    int points = 14;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    COLORREF colour = RGB(30, 30, 60);
    CLinkInfo link;
};

// A text object with the runs given, one paragraph each unless a run starts with '\n'; laid out.
inline std::unique_ptr<CTextObject> MakeText(double cx, double cy, int width,
                                             const std::vector<std::pair<std::string, TextFormat>>& runs)
{
    auto object = std::make_unique<CTextObject>(cx, cy, SIZE{width, 40}, 0.0);
    CTextBody& body = *object->GetTextBody();
    body.m_paragraphs.assign(1, CTextParagraph());
    const WORD face = FindFontIndex("Liberation Sans");
    for (const auto& [text, f] : runs)
        for (char c : text) {
            if (c == '\n') {
                body.m_paragraphs.emplace_back();
                continue;
            }
            body.m_paragraphs.back().m_chars.push_back(MakeTextChar(static_cast<BYTE>(c), face, f.points, f.bold,
                                                                    f.italic, f.underline, f.colour, f.link));
        }
    RECT dirty{};
    LayoutText(body, dirty);
    return object;
}

template <class Object> std::unique_ptr<Object> Coloured(std::unique_ptr<Object> object, CColor colour)
{
    object->GetFill()->SetColor(colour);
    return object;
}

inline std::unique_ptr<CRectangleObject> PictureRectangle(double cx, double cy, int width, int height,
                                                          const std::string& path)
{
    auto rectangle = std::make_unique<CRectangleObject>(cx, cy, SIZE{width, height}, 0.0);
    rectangle->GetFill()->SetImageFile(path);
    return rectangle;
}

inline CGradientInfo Gradient(int predefined, int angle)
{
    CGradientInfo gradient;
    GRADIENTCOLORS colours;
    CGradientModel::GetPredefinedGradient(colours, predefined);
    gradient.SetGradientColors(colours);
    gradient.angle = angle;
    return gradient;
}

// The showcase site: three pages, pictures written into pictureFolder. The front page is "welcome".
inline void MakeShowcaseSite(CWebsite& site, const std::filesystem::path& pictureFolder)
{
    std::filesystem::create_directories(pictureFolder);
    const std::string photo = WritePicture(pictureFolder, "photo.jpg", 120, 80, CColor(200, 120, 60), CColor(90, 60, 160));
    const std::string badge = WritePicture(pictureFolder, "badge.png", 60, 60, CColor(40, 160, 90), CColor(240, 240, 200));
    const std::string tile = WritePicture(pictureFolder, "tile.gif", 32, 32, CColor(236, 240, 248), CColor(246, 248, 252));
    site.SetLinkColor(CColor(0, 0, 200));
    site.SetVisitedLinkColor(CColor(120, 0, 120));

    NewPageSettings settings;
    settings.width = 640;
    settings.height = 480;
    settings.background.SetColor(CColor(250, 248, 240));
    CSitePage* welcome = site.AddPage(std::make_unique<CSitePage>(&site, "welcome", "Welcome", settings));
    site.SetHomePage(welcome);
    settings.centered = true;
    CSitePage* about = site.AddPage(std::make_unique<CSitePage>(&site, "about", "About us", settings));
    settings.centered = false;
    CSitePage* contact = site.AddPage(std::make_unique<CSitePage>(&site, "contact", "Contact", settings));

    // The front page.
    welcome->SetKeywords("shapes, text");
    welcome->SetDescription("A page of every kind of object");
    welcome->AddObject(Coloured(std::make_unique<CRectangleObject>(90, 60, SIZE{140, 70}, 0.0), CColor(40, 90, 180)));
    auto circle = std::make_unique<CCircleObject>(260, 70, SIZE{110, 110}, 0.0);
    circle->GetFill()->SetGradient(Gradient(1, 60));
    circle->SetEffects(Effects(false, false, true));
    welcome->AddObject(std::move(circle));
    welcome->AddObject(PictureRectangle(420, 70, 120, 80, photo));
    welcome->AddObject(PictureRectangle(560, 70, 60, 60, badge));
    TextFormat plain, bold, pageLink, webLink;
    bold.bold = true;
    pageLink.link = Link(CLinkInfo::kindPage, {}, 1);
    webLink.link = Link(CLinkInfo::kindUrl, "www.example.com");
    welcome->AddObject(MakeText(180, 190, 300,
                                {{"Welcome to ", plain},
                                 {"our shapes", bold},
                                 {"\nRead ", plain},
                                 {"about us", pageLink},
                                 {" or visit ", plain},
                                 {"the web", webLink}}));
    auto shadowed = MakeText(480, 190, 200, {{"Shadowed words", bold}});
    // Effects are offered only to text that allows advanced text.
    shadowed->GetTextBody()->m_allowAdvanced = 1;
    shadowed->SetEffects(Effects(true, false, false));
    welcome->AddObject(std::move(shadowed));
    auto button = Coloured(std::make_unique<CRectangleObject>(100, 320, SIZE{120, 50}, 0.0), CColor(200, 60, 50));
    button->SetLink(std::make_unique<CLinkInfo>(Link(CLinkInfo::kindPage, {}, 2)));
    CPageItem* hover = welcome->AddObject(std::move(button));
    hover->SetMouseOverObject(
        Coloured(std::make_unique<CRectangleObject>(100, 320, SIZE{120, 50}, 0.0), CColor(60, 170, 90)));
    hover->SetMouseOverShown(false);
    auto html = std::make_unique<CHtmlObject>(POINT{260, 290}, 200, 60);
    html->SetHtmlCode("<b>Hello</b> from HTML");
    html->SetHeaderHtml("<meta name=\"author\" content=\"Ann\">");
    html->SetOnloadCode("greet()");
    welcome->AddObject(std::move(html));
    welcome->AddObject(std::make_unique<CCounterObject>(0, POINT{560, 320}));
    auto star = std::make_unique<CPolygonObject>(560, 420, SIZE{90, 90}, 0.3, 18);
    star->GetFill()->SetColor(CColor(240, 140, 30));
    star->SetEffects(Effects(true, true, false));
    welcome->AddObject(std::move(star));

    // About: centred, a tiled picture background, the same blue rectangle again, a form and hostile texts.
    about->GetBackground()->SetImageFile(tile);
    about->SetTitle("About \"us\" & <friends>");
    about->SetKeywords("a \"b\" <c>");
    about->SetDescription("x & y");
    about->AddObject(Coloured(std::make_unique<CRectangleObject>(90, 60, SIZE{140, 70}, 0.0), CColor(40, 90, 180)));
    auto captioned = PictureRectangle(300, 120, 120, 80, photo);
    captioned->SetAltText(std::make_unique<CStringAttr>("Our \"team\" <b>&</b>"));
    about->AddObject(std::move(captioned));
    about->AddObject(std::make_unique<CFormObject>("me@example.com", POINT{300, 330}));
    about->SetOnloadCode("start(\"x\")");

    // Contact: a gradient background and an e-mail link.
    CFillStyle gradient;
    GRADIENTCOLORS colours;
    CGradientModel::GetPredefinedGradient(colours, 2);
    gradient.SetGradient(&colours);
    gradient.SetWidth(640);
    gradient.SetHeight(480);
    contact->SetBackground(std::make_unique<CFillStyle>(gradient));
    TextFormat mail;
    mail.link = Link(CLinkInfo::kindEmail, "me@example.com");
    contact->AddObject(MakeText(200, 100, 300, {{"Write to ", plain}, {"me@example.com", mail}}));
    for (int i = 0; i < site.GetPageCount(); ++i)
        site.GetPage(i)->RenderDirtyObjects();
}

} // namespace build_testing
