// Site files and single page records. The first byte chooses: even opens the rest as a site file, odd reads it as
// one page record of the present version. What opens must save, and what was saved must open again.

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/model/record_stream.h"
#include "app/model/seams_test_support.h"
#include "app/model/services.h"
#include "app/objects/circle_object.h"
#include "app/objects/page_object.h"
#include "app/objects/polygon_object.h"
#include "app/objects/rectangle_object.h"
#include "app/site/draw_budget_test_support.h"
#include "app/site/page_item.h"
#include "app/site/site_file_test_support.h"
#include "app/site/site_page.h"
#include "app/site/website.h"
#include "platform/win/file.h"
#include "testing/fuzz_target.h"

namespace {

// Opening an older file asks whether to convert it; agreeing reaches the rest of the reader.
class AgreeingServices : public NullMessages
{
public:
    bool AskYesNo(const std::string&, const std::string&) override { return true; }
};

void InstallServices()
{
    static AgreeingServices services;
    static const SeamsInstalled installed(services);
}

// Saving draws the front page for its thumbnail, each of its objects at full size.
constexpr int64_t kPixelBudget = 4 << 20;

// A page the site holds writes a record that reads again; a page may refuse to be written, never write what is then
// refused.
void SavePageAndReadItAgain(CWebsite& site, CSitePage& page)
{
    CMemFile saved;
    try {
        if (!page.Save(saved))
            return;
    } catch (const CFileException&) {
        return;
    }
    saved.SeekToBegin();
    CSitePage again(&site, std::string(), std::string(), site.GetNewPageSettings());
    bool read = false;
    try {
        read = again.Load(saved, kCurrentMajorVersion, kCurrentMinorVersion);
    } catch (const CFileException&) {
    }
    if (!read)
        __builtin_trap(); // the writer wrote what the reader refuses
}

void OpenSiteFile(CMemFile& file)
{
    CWebsite site("/fuzz/site.kst");
    if (!site.LoadFile(file))
        return;
    // Every page, drawn or not: a page the thumbnail never draws is saved all the same.
    for (int i = 0; i < site.GetPageCount(); ++i)
        SavePageAndReadItAgain(site, *site.GetPage(i));
    if (!PageDrawsCheaply(site.GetHomePage() ? *site.GetHomePage() : *site.GetPage(0), kPixelBudget))
        return;
    CMemFile saved;
    if (!site.Save(saved))
        return;
    saved.SeekToBegin();
    CWebsite again("/fuzz/site.kst");
    if (!again.LoadFile(saved))
        __builtin_trap(); // the writer wrote what the reader refuses
}

void ReadPageRecord(CMemFile& file)
{
    CWebsite site("/fuzz/site.kst");
    CSitePage page(&site, std::string(), std::string(), site.GetNewPageSettings());
    try {
        if (page.Load(file, kCurrentMajorVersion, kCurrentMinorVersion))
            SavePageAndReadItAgain(site, page);
    } catch (const CFileException&) {
        // A string too long for its field: the refusal the record reader raises.
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    InstallServices();
    std::vector<BYTE> bytes(data + 1, data + size);
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    if (data[0] & 1)
        ReadPageRecord(file);
    else
        OpenSiteFile(file);
    return 0;
}

void WriteFuzzSeeds(const std::filesystem::path& folder)
{
    CWebsite site("", "Seed site", CFillStyle(), true, 400, 300, 1, CColor(0, 0, 255), CColor(128, 0, 128));
    site.AppendFilePair(std::make_unique<CFilePair>("/home/u/a.pdf", "/files/a.pdf"));
    for (const char* name : {"index", "more"}) {
        CSitePage* page = site.AddPage(std::make_unique<CSitePage>(&site, name, "Title", site.GetNewPageSettings()));
        page->SetKeywords("seed");
        page->AddGuide(true, 20);
        CPageItem* circle = page->AddObject(std::make_unique<CCircleObject>(50, 50, SIZE{40, 30}, 0.0));
        CPageItem* rectangle = page->AddObject(std::make_unique<CRectangleObject>(150, 80, SIZE{60, 40}, 0.3));
        rectangle->SetMouseOverObject(std::make_unique<CRectangleObject>(150, 80, SIZE{60, 40}, 0.3));
        page->AddObject(std::make_unique<CPolygonObject>(250, 150, SIZE{50, 50}, 0.0, 18));
        page->AddObject(site_file_test::TypedText(300, 40, "Seed"));
        page->SelectItem(circle);
        page->AddToSelection(rectangle);
        page->CreateGroup();
    }
    site.SetHomePage(site.GetPage(0));

    const auto save = [&](const std::string& name, bool theme) {
        CMemFile file;
        if (site.Save(file, theme, theme ? "Business" : "", theme ? "Blue" : ""))
            WriteFuzzSeed(folder, name, WithPrefix({0}, file));
    };
    save("site", false);
    save("theme", true);
    CMemFile page;
    if (site.GetPage(1)->Save(page))
        WriteFuzzSeed(folder, "page", WithPrefix({1}, page));

    // Older versions, made field by field as those files have them.
    using namespace site_file_test;
    const int versions[][2] = {{1, 5}, {1, 7}, {4, 2}, {5, 1}, {5, 2}, {5, 10}};
    for (const auto& [major, minor] : versions) {
        SiteFields fields;
        fields.major = major;
        fields.minor = minor;
        fields.theme = minor == 10;
        fields.pages = {PageRecord(major, minor, {"home", true}), PageRecord(major, minor, {"more"})};
        WriteFuzzSeed(folder, "v" + std::to_string(major) + "." + std::to_string(minor),
                      WithPrefix({0}, SiteFile(fields).data));
    }
}
