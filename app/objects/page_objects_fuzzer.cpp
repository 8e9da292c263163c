// The object factory over a stored object: class tag, then the object. The first two bytes give the file version
// it is read as (major 1 to 5, minor 0 to 15). An object that loads must save again and load back.

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/model/effect_settings.h"
#include "app/model/fill_info.h"
#include "app/model/link_info.h"
#include "app/model/record_stream.h"
#include "app/model/string_attr.h"
#include "app/objects/circle_object.h"
#include "app/objects/counter_object.h"
#include "app/objects/form_object.h"
#include "app/objects/html_object.h"
#include "app/objects/object_factory.h"
#include "app/objects/polygon_object.h"
#include "app/objects/rectangle_object.h"
#include "app/objects/text_layout.h"
#include "app/objects/text_object.h"
#include "platform/win/file.h"
#include "testing/fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const int major = 1 + data[0] % 5;
    const int minor = data[1] % 16;
    std::vector<BYTE> bytes(data + 2, data + size);
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    std::unique_ptr<CPageObject> object;
    try {
        object = CreatePageObjectFromArchive(file, major, minor);
    } catch (const CFileException&) {
        return 0;
    }
    if (!object)
        return 0;
    CMemFile saved;
    object->Save(saved);
    saved.SeekToBegin();
    try {
        if (!CreatePageObjectFromArchive(saved, kCurrentMajorVersion, kCurrentMinorVersion))
            std::abort();
    } catch (const CFileException&) {
        std::abort();
    }
    return 0;
}

void WriteFuzzSeeds(const std::filesystem::path& folder)
{
    const auto save = [&](const std::string& name, const CPageObject& object) {
        CMemFile file;
        object.Save(file);
        WriteFuzzSeed(folder, name, WithPrefix({kCurrentMajorVersion - 1, kCurrentMinorVersion}, file));
    };
    save("circle", CCircleObject(40.5, 30, SIZE{20, 12}, 0.3));
    save("rectangle", CRectangleObject(10, 20, SIZE{30, 40}, 0));
    for (int shape : {0, 3, 7})
        save("polygon-" + std::to_string(shape), CPolygonObject(50, 50, SIZE{25, 25}, 1.0, shape));

    // One object with everything an object carries.
    CRectangleObject dressed(12, 34, SIZE{56, 78}, 0.5);
    auto fill = std::make_unique<CFillInfo>();
    fill->SetColor(CColor(1, 2, 3));
    dressed.SetFill(std::move(fill));
    auto effects = std::make_unique<CEffectSettings>();
    effects->m_shadow = effects->m_glow = true;
    dressed.SetEffects(std::move(effects));
    auto link = std::make_unique<CLinkInfo>();
    link->SetUrl("http://example.com/");
    dressed.SetLink(std::move(link));
    dressed.SetAltText(std::make_unique<CStringAttr>("a box"));
    save("rectangle-dressed", dressed);

    // A text of two paragraphs in two formats, one of them linked, turned and stretched.
    CTextObject text(80, 60, SIZE{120, 30}, 0.0);
    RECT dirty{};
    const WORD arial = FindFontIndex("Arial");
    for (char c : std::string("Text "))
        text.InsertCharWithFormat(dirty, static_cast<BYTE>(c), arial, 12, 0, 0, 0, 0, CLinkInfo());
    text.SplitParagraph();
    CLinkInfo page;
    page.SetKind(CLinkInfo::kindPage);
    page.SetPage(2);
    page.SetActive(true);
    for (char c : std::string("link"))
        text.InsertCharWithFormat(dirty, static_cast<BYTE>(c), arial, 14, 1, 0, 1, RGB(0, 0, 200), page);
    LayoutText(*text.GetTextBody(), dirty);
    save("text", text);
    text.SetRotation(0.4);
    text.SetSize(200, 40);
    save("text-turned", text);

    // The picture objects: a linked counter, an HTML object with everything it keeps, and a form.
    CCounterObject counter(1, POINT{60, 40});
    counter.GetCounterLink()->SetUrl("http://example.com/");
    counter.GetCounterLink()->SetActive(true);
    save("counter", counter);
    CHtmlObject html(POINT{10, 10}, 120, 60);
    html.SetName("Movie");
    html.SetOnloadCode("start();");
    html.SetHeaderHtml("<script src='m.js'></script>");
    html.SetHtmlCode("<embed src='m.swf'>");
    html.SetUsedFiles({"m.swf", "m.js"});
    html.SetPlacedFlag(1);
    save("html", html);
    save("form", CFormObject("me@example.com", POINT{150, 200}));
}
