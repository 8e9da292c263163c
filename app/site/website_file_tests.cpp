#include "app/site/website.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/model/effect_settings.h"
#include "app/model/record_stream.h"
#include "app/model/restore_on_exit.h"
#include "app/model/text_style.h"
#include "app/objects/circle_object.h"
#include "app/objects/object_factory.h"
#include "app/objects/polygon_object.h"
#include "app/objects/rectangle_object.h"
#include "app/objects/text_object.h"
#include "app/site/mixed_site_test_support.h"
#include "app/site/object_frame.h"
#include "app/site/page_item.h"
#include "app/site/site_file_test_support.h"
#include "app/site/website_file_test_support.h"
#include "app/site/site_services_fake.h"
#include "platform/win/file.h"
#include "platform/win/full_disk_test_support.h"
#include "platform/win/log.h"
#include "testing/scratch_folder.h"

namespace {

using namespace site_file_test;

// ---------------------------------------------------------------------------------------------------------------
// Round trip

std::vector<BYTE> PageBytes(CSitePage& page)
{
    CMemFile file;
    EXPECT_TRUE(page.Save(file));
    return std::vector<BYTE>(file.GetBuffer(), file.GetBuffer() + file.GetLength());
}

std::unique_ptr<CEffectSettings> MakeEffects()
{
    auto effects = std::make_unique<CEffectSettings>();
    effects->m_shadow = true;
    effects->m_glow = true;
    return effects;
}

TEST_F(SiteFileTest, ASavedSiteOpensEqualInEveryField)
{
    CWebsite site("", "Corner Shop", Background(900, 1400, CColor(10, 20, 30)), true, 900, 1400, 1, CColor(1, 2, 3),
                  CColor(4, 5, 6));
    site.AppendFilePair(std::make_unique<CFilePair>("/home/u/a.pdf", "/files/a.pdf"));
    site.AppendFilePair(std::make_unique<CFilePair>("C:\\old\\b.zip", "/b.zip"));
    site.AddPublishedFile("index.html"); // not in the file: the server list is the publisher's own
    for (int i = 0; i < 16; ++i)
        site.SetCustomColor(i, RGB(i, 2 * i, 3 * i));
    site.SetText(0, "first");
    site.SetText(1, std::string(kMaxStringLength, 'x'));
    site.SetText(2, "third");

    // Three pages: every object kind, a twin, button text with effects, a user group, guides and page texts.
    for (int p = 0; p < 3; ++p) {
        auto owned = std::make_unique<CSitePage>(&site, "page" + std::to_string(p), "Title " + std::to_string(p),
                                                 site.GetNewPageSettings());
        CSitePage* page = site.AddPage(std::move(owned));
        page->SetHeaderHtml("<meta name=\"p\" content=\"" + std::to_string(p) + "\">");
        page->SetOnloadCode("start();");
        page->SetUsedFiles({"script.js"});
        page->SetKeywords("shop, corner");
        page->SetDescription("A shop");
        page->SetAnalyticsCode("<script>track()</script>");
        page->AddGuide(true, 100 + p);
        page->AddGuide(false, 50);
        CPageItem* circle = page->AddObject(std::make_unique<CCircleObject>(100, 120, SIZE{80, 60}, 0.0));
        auto button = std::make_unique<CRectangleObject>(300, 100, SIZE{160, 60}, 0.2);
        auto label = std::make_unique<CTextStyle>(*button->GetTextStyle());
        label->m_strText = "Buy";
        button->SetTextStyle(std::move(label));
        button->SetEffects(MakeEffects());
        CPageItem* rectangle = page->AddObject(std::move(button));
        rectangle->SetMouseOverObject(std::make_unique<CRectangleObject>(300, 100, SIZE{160, 60}, 0.2));
        page->AddObject(std::make_unique<CPolygonObject>(500, 400, SIZE{90, 90}, 0.5, 18));
        page->SelectItem(circle);
        page->AddToSelection(rectangle);
        ASSERT_TRUE(page->CreateGroup());
    }
    site.SetHomePage(site.GetPage(1));
    GetOutsidePageBackground() = {1, CColor(9, 8, 7)};

    const std::vector<BYTE> bytes = Saved(site);
    EXPECT_TRUE(site.IsSaved());
    GetOutsidePageBackground() = OutsidePageBackground();
    ASSERT_TRUE(Open(bytes));
    CWebsite& back = *opened;
    EXPECT_TRUE(back.IsSaved());
    // Saved again as it was opened, the file comes back byte for byte, thumbnail included.
    EXPECT_EQ(Saved(back), bytes);

    EXPECT_EQ(back.GetName(), "Corner Shop");
    ASSERT_EQ(back.GetFilePairCount(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(back.GetFilePair(i)->m_strSource, site.GetFilePair(i)->m_strSource);
        EXPECT_EQ(back.GetFilePair(i)->m_strTarget, site.GetFilePair(i)->m_strTarget);
    }
    EXPECT_TRUE(back.GetPublishedFiles().empty());
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(back.GetCustomColor(i), site.GetCustomColor(i));
    EXPECT_TRUE(back.IsCentered());
    EXPECT_EQ(back.GetPageWidth(), 900);
    EXPECT_EQ(back.GetPageHeight(), 1400);
    EXPECT_EQ(back.GetDefaultBackground(), site.GetDefaultBackground());
    EXPECT_EQ(back.GetLinkColor(), CColor(1, 2, 3));
    EXPECT_EQ(back.GetVisitedLinkColor(), CColor(4, 5, 6));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(back.GetText(i), site.GetText(i));
    EXPECT_EQ(back.GetDoctype(), 1);
    EXPECT_EQ(GetOutsidePageBackground().m_bEnabled, 1);
    EXPECT_EQ(GetOutsidePageBackground().m_color, CColor(9, 8, 7));
    EXPECT_EQ(back.GetFileMajor(), 5);
    EXPECT_EQ(back.GetFileMinor(), 15);

    ASSERT_EQ(back.GetPageCount(), 3);
    EXPECT_EQ(back.GetHomePage(), back.GetPage(1));
    EXPECT_EQ(back.GetCurrentPage(), back.GetPage(1));
    for (int p = 0; p < 3; ++p) {
        SCOPED_TRACE(p);
        CSitePage& page = *back.GetPage(p);
        EXPECT_EQ(page.GetSite(), &back);
        EXPECT_EQ(page.GetName(), site.GetPage(p)->GetName());
        EXPECT_EQ(page.GetItemCount(), 3);
        EXPECT_EQ(page.GetGroupCount(), 1);
        EXPECT_EQ(page.GetDoctype(), 1);
        // The record of every page, objects and groups included, comes back byte for byte.
        // Objects store the bounds their effects reach once drawn, so both pages are drawn first.
        page.RenderDirtyObjects();
        site.GetPage(p)->RenderDirtyObjects();
        EXPECT_EQ(PageBytes(page), PageBytes(*site.GetPage(p)));
    }
}

TEST_F(SiteFileTest, WritersCutWhatReadersWouldRefuse)
{
    auto site = MakeSite();
    site->GetPage(0)->SetTitle(std::string(1500, 't'));
    const std::vector<BYTE> bytes = Saved(*site, true, std::string(300, 'c'), std::string(256, 'n'));
    const std::string path = WriteFile("long.kth", bytes);

    ASSERT_TRUE(Open(bytes));
    // The front-page title in the header is cut; the page's own record keeps the whole title.
    EXPECT_EQ(opened->GetPage(0)->GetTitle(), std::string(1500, 't'));
    std::string category, name;
    ASSERT_TRUE(ReadSiteFileInfo(path, category, name));
    EXPECT_EQ(category, std::string(255, 'c'));
    EXPECT_EQ(name, std::string(255, 'n'));
}

// The first text object of a page.
CTextObject* FirstText(CSitePage& page)
{
    for (int i = 0; i < page.GetItemCount(); ++i)
        if (auto* text = dynamic_cast<CTextObject*>(page.GetItem(i)->GetObject(false)))
            return text;
    return nullptr;
}

TEST_F(SiteFileTest, ATextLaidOutAgainOpensOnlyWhereItsSiteSavesAndOpensAgain)
{
    // Opening lays a text out again: its box shrinks to the text keeping the top edge, and the centre moves by half
    // of what the box lost. The site's own writer makes the file; the text's stored box height is then changed.
    for (int pageIndex : {1, 0}) {
        SCOPED_TRACE(pageIndex);
        auto site = MakeSite();
        site->GetPage(pageIndex)->AddObject(TypedText(100.0, 60.0, "Tall"));
        const std::vector<BYTE> bytes = Saved(*site);
        const BYTE tag[4] = {kTextObjectTag & 0xFF, kTextObjectTag >> 8 & 0xFF, kTextObjectTag >> 16 & 0xFF,
                             kTextObjectTag >> 24};
        const auto at = std::search(bytes.begin(), bytes.end(), std::begin(tag), std::end(tag));
        ASSERT_NE(at, bytes.end());
        ASSERT_EQ(std::search(at + 1, bytes.end(), std::begin(tag), std::end(tag)), bytes.end());
        // The tag, the size, the rotation, the centre, the bounds, the alignment and the box's width come first.
        const size_t boxHeight = size_t(at - bytes.begin()) + 60;
        const auto withBoxHeight = [&](uint32_t height) {
            std::vector<BYTE> changed = bytes;
            for (int i = 0; i < 4; ++i)
                changed[boxHeight + i] = static_cast<BYTE>(height >> (8 * i));
            return changed;
        };

        // 2^26 pixels high would put the centre near y = -2^25, where no reader takes it: the file is refused.
        EXPECT_FALSE(Open(withBoxHeight(1u << 26)));
        // At the largest box the centre moves far, yet the site opens, saves, and opens again the same.
        ASSERT_TRUE(Open(withBoxHeight(1000000)));
        DPOINT centre;
        FirstText(*opened->GetPage(pageIndex))->GetCenter(centre);
        EXPECT_LT(centre.y, -400000);
        const std::vector<BYTE> again = Saved(*opened);
        ASSERT_TRUE(Open(again));
        DPOINT centreAgain;
        FirstText(*opened->GetPage(pageIndex))->GetCenter(centreAgain);
        EXPECT_EQ(centreAgain.y, centre.y);
    }
}

TEST_F(SiteFileTest, ASiteWithoutPagesIsNotWritten)
{
    CWebsite empty("", "Empty", CFillStyle(), false, 740, 600, 0, CColor(0, 0, 255), CColor(128, 0, 128));
    CMemFile file;
    EXPECT_FALSE(empty.Save(file));
    EXPECT_EQ(file.GetLength(), 0u);
}

// ---------------------------------------------------------------------------------------------------------------
// Saving into a file

std::vector<BYTE> FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<BYTE>(std::istreambuf_iterator<char>(in), {});
}

int FailingRename(const char*, const char*)
{
    errno = EIO;
    return -1;
}

TEST_F(SiteFileTest, AnInterruptedSaveLeavesTheOldFileAndTheSiteUnsaved)
{
    auto site = MakeSite();
    const std::string path = folder / "shop.kst";
    ASSERT_TRUE(SaveSiteFile(*site, path));
    EXPECT_TRUE(site->IsSaved());
    const std::vector<BYTE> before = FileBytes(path);

    site->SetName("Renamed");
    site->GetPage(1)->SetTitle("changed");
    CFileException error;
    EXPECT_FALSE(SaveSiteFile(*site, path, &error, FailingRename));
    EXPECT_EQ(error.m_cause, CFileException::hardIO);
    EXPECT_EQ(FileBytes(path), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
    EXPECT_FALSE(site->IsSaved());
    EXPECT_TRUE(site->GetPage(0)->IsSaved());
    EXPECT_FALSE(site->GetPage(1)->IsSaved());
    EXPECT_FALSE(site->IsSaving());

    ASSERT_TRUE(SaveSiteFile(*site, path));
    EXPECT_TRUE(site->IsSaved());
    ASSERT_TRUE(Open(FileBytes(path)));
    EXPECT_EQ(opened->GetName(), "Renamed");
}

// The readers and writers of the site file ask for a few bytes at a time; the file must still reach the kernel in
// large pieces, saved through the safe save and opened as the program opens it.
TEST_F(SiteFileTest, ALargeSiteReachesTheKernelInLargePieces)
{
    const std::string path = folder / "mixed.kst";
    auto site = mixed_site::MakeSite(path);

    unsigned long long before = FileKernelCalls();
    CFileException error;
    ASSERT_TRUE(SaveSiteFile(*site, path, &error)) << DescribeFileError(error);
    const unsigned long long saving = FileKernelCalls() - before;

    before = FileKernelCalls();
    CWebsite reopened(path);
    {
        CFile file(path, CFile::modeRead | CFile::shareDenyWrite);
        ASSERT_TRUE(reopened.LoadFile(file));
    }
    const unsigned long long opening = FileKernelCalls() - before;

    const std::vector<BYTE> bytes = FileBytes(path);
    EXPECT_EQ(reopened.GetPageCount(), mixed_site::kPages);
    EXPECT_EQ(Saved(reopened), bytes) << "what was opened from disk saves to the same bytes";
    const unsigned long long allowed = bytes.size() / 4096 + 16;
    EXPECT_LE(saving, allowed);
    EXPECT_LE(opening, allowed);
    RecordProperty("file_bytes", std::to_string(bytes.size()));
    RecordProperty("kernel_calls_saving", std::to_string(saving));
    RecordProperty("kernel_calls_opening", std::to_string(opening));
}

// The disk fills while the new file is written: in the middle, where a write of the site's records sends the
// waiting bytes on, and with the last bytes, which go out when the safe save flushes the file. The save fails, the
// old file stays as it was, no temporary file is left and the site stays unsaved. The cause is the full disk's,
// unless an item's writer caught the exception and gave up, which the site writer passes on as a plain failure.
TEST_F(SiteFileTest, ADiskThatFillsDuringTheSaveLeavesTheOldFileWhole)
{
    const std::string path = folder / "mixed.kst";
    auto site = mixed_site::MakeSite(path);
    ASSERT_TRUE(SaveSiteFile(*site, path));
    const std::vector<BYTE> old = FileBytes(path);
    const auto rename = [](CWebsite& s) {
        s.SetName("Renamed");
        s.GetPage(1)->SetTitle("changed");
    };
    // The new file's size, from a twin of the site changed the same way.
    auto twin = mixed_site::MakeSite(path);
    rename(*twin);
    const size_t size = Saved(*twin).size();
    ASSERT_GT(size, 3 * CFile::kWindowBytes);

    rename(*site);
    for (const size_t room : {size / 3, size - 1}) {
        SCOPED_TRACE("room for " + std::to_string(room) + " of " + std::to_string(size) + " bytes");
        CFileException error;
        bool saved;
        {
            const FullDiskAt full(room);
            ASSERT_TRUE(full.IsSet());
            saved = SaveSiteFile(*site, path, &error);
        }
        EXPECT_FALSE(saved);
        if (room == size - 1) {
            EXPECT_EQ(error.m_cause, CFileException::diskFull);
        } else {
            EXPECT_TRUE(error.m_cause == CFileException::diskFull || error.m_cause == CFileException::generic)
                << error.m_cause;
        }
        EXPECT_EQ(FileBytes(path), old);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
        EXPECT_FALSE(site->IsSaved());
        EXPECT_FALSE(site->GetPage(1)->IsSaved());
    }
    ASSERT_TRUE(SaveSiteFile(*site, path));
    EXPECT_EQ(FileBytes(path).size(), size);
}

} // namespace
