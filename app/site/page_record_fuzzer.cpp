// Page records of the site file: texts, size, background, guides, frames and items. The first two bytes give the
// file version it is read as (major 1 to 6, minor 0 to 15). A record that loads must write itself again in a form
// that loads to the same bytes.

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/model/record_stream.h"
#include "app/objects/circle_object.h"
#include "app/objects/polygon_object.h"
#include "app/objects/rectangle_object.h"
#include "app/site/object_frame.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "app/site/website.h"
#include "platform/win/file.h"
#include "testing/fuzz_target.h"

namespace {

std::vector<BYTE> Saved(CSitePage& page)
{
    CMemFile file;
    if (!page.Save(file))
        return {};
    return std::vector<BYTE>(file.GetBuffer(), file.GetBuffer() + file.GetLength());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const int major = 1 + data[0] % 6;
    const int minor = data[1] % 16;
    std::vector<BYTE> bytes(data + 2, data + size);
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    CWebsite site("/fuzz/site.kst");
    site.AddPage(std::make_unique<CSitePage>(&site, "Home", "Home"));
    CSitePage page(&site, "", "");
    try {
        if (!page.Load(file, major, minor))
            return 0;
    } catch (const CFileException&) {
        // The refusal a damaged record must end in.
        return 0;
    }
    const std::vector<BYTE> first = Saved(page);
    if (first.empty())
        return 0;
    std::vector<BYTE> copy = first;
    CMemFile again(copy.data(), static_cast<UINT>(copy.size()));
    CSitePage reread(&site, "", "");
    if (!reread.Load(again, kCurrentMajorVersion, kCurrentMinorVersion) || Saved(reread) != first)
        std::abort();
    return 0;
}

void WriteFuzzSeeds(const std::filesystem::path& folder)
{
    const auto save = [&](const std::string& name, CSitePage& page, int major, int minor) {
        CMemFile file;
        page.Save(file);
        WriteFuzzSeed(folder, name, WithPrefix({static_cast<uint8_t>(major - 1), static_cast<uint8_t>(minor)}, file));
    };
    CSitePage empty(nullptr, "index", "Home");
    save("empty", empty, kCurrentMajorVersion, kCurrentMinorVersion);

    CSitePage page(nullptr, "products", "Products");
    page.SetHeaderHtml("<meta name=\"a\">");
    page.SetOnloadCode("go()");
    page.SetUsedFiles({"go.js"});
    page.AddGuide(true, 40);
    page.AddGuide(false, 60);
    page.SetKeywords("k");
    page.SetAnalyticsCode("<script></script>");
    CPageItem* circle = page.AddObject(std::make_unique<CCircleObject>(60, 60, SIZE{40, 30}, 0.2));
    CPageItem* button = page.AddObject(std::make_unique<CRectangleObject>(150, 60, SIZE{80, 30}, 0.0));
    button->SetMouseOverObject(std::make_unique<CRectangleObject>(150, 60, SIZE{80, 30}, 0.0));
    page.AddObject(std::make_unique<CPolygonObject>(250, 80, SIZE{60, 60}, 0.0, 6));
    page.SelectItem(circle);
    page.AddToSelection(button);
    page.CreateGroup();
    save("groups", page, kCurrentMajorVersion, kCurrentMinorVersion);
    // The same bytes read under an old version's rules (no keywords, kept-on-top items gathered).
    save("groups-old", page, 1, 7);
}
