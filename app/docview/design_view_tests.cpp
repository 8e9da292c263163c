#include "app/docview/design_view.h"

#include <gtest/gtest.h>
#include <wx/frame.h>

#include <array>
#include <vector>

#include "app/docview/site_document.h"
#include "app/docview/window_test_support.h"
#include "app/model/fill_info.h"
#include "app/objects/circle_object.h"
#include "app/objects/rectangle_object.h"
#include "app/site/page_item.h"
#include "app/site/site_services_fake.h"
#include "app/site/website.h"
#include "testing/test_output.h"

namespace {

// The view under test is the program's current view.
class ViewServices : public SiteServicesFake
{
public:
    COrvelView* GetCurrentView() override { return view; }
    CSitePage* GetViewPage(COrvelView* v) override { return v && v == view ? view->GetPage() : nullptr; }
    int GetToolsBarTool() override { return 1; }
    COrvelView* view = nullptr;
};

std::unique_ptr<CWebsite> MakeSite()
{
    CFillStyle background;
    background.SetColor(CColor(255, 250, 235));
    auto site = std::make_unique<CWebsite>(std::string(), "Sample", background, false, 420, 300, 0, CColor(0, 0, 255),
                                           CColor(128, 0, 128));
    CSitePage* front =
        site->AddPage(std::make_unique<CSitePage>(site.get(), "index", "Home", site->GetNewPageSettings()));
    auto circle = std::make_unique<CCircleObject>(120, 110, SIZE{150, 110}, 0.0);
    circle->GetFill()->SetColor(CColor(210, 50, 40));
    front->AddObject(std::move(circle));
    auto band = std::make_unique<CRectangleObject>(260, 190, SIZE{220, 60}, 0.25);
    band->GetFill()->SetColor(CColor(40, 120, 200));
    front->AddObject(std::move(band));
    // Half of this one reaches beyond the right edge, into the surround.
    auto square = std::make_unique<CRectangleObject>(410, 60, SIZE{70, 70}, 0.0);
    square->GetFill()->SetColor(CColor(60, 170, 70));
    front->AddObject(std::move(square));
    front->AddGuide(true, 40);
    front->AddGuide(false, 300);
    site->SetHomePage(front);
    return site;
}

TEST(DesignView, ShowsTheFrontPageCentredWithItsGuidesAndObjects)
{
    ViewServices services;
    // The page goes through its file, as the program opens it.
    const std::string path = (TestOutputFolder() / "design_view_site.kst").string();
    {
        COrvelDoc writer;
        writer.AttachSite(MakeSite());
        ASSERT_TRUE(writer.SaveSiteSafely(path));
    }
    COrvelDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(path));
    CSitePage* page = GetFrontOrFirstPage(*doc.GetSite());
    ASSERT_NE(page, nullptr);
    page->SelectItemAt(1);

    auto* frame = new wxFrame(nullptr, wxID_ANY, "design view", wxPoint(0, 0), wxSize(640, 480));
    auto* view = new COrvelView(frame, page);
    services.view = view;
    frame->Show();
    Settle();
    view->Refresh();
    view->Update();
    Settle();

    const wxImage picture = SaveWindowScreenshot(view, "design_view.png");
    ASSERT_TRUE(picture.IsOk());

    const wxSize client = view->GetClientSize();
    const CPoint origin = view->GetPageOrigin();
    ASSERT_EQ(origin, CPoint((client.x - 420) / 2, (client.y - 300) / 2));
    ASSERT_GT(origin.x, 0);

    // The page as the page draws itself.
    std::vector<BYTE> drawn(420 * 300 * 4);
    page->Draw(RECT{0, 0, 420, 300}, drawn.data(), 420 * 4, true, false, false);
    const CRect selection = view->GetSelectionRect();
    int compared = 0;
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 420; ++x) {
            // Guides and the selection's frame are drawn over the page.
            if (std::abs(y - 40) < 1 || std::abs(x - 300) < 1 ||
                CRect(selection.left - 3, selection.top - 3, selection.right + 3, selection.bottom + 3)
                    .PtInRect(CPoint(x + origin.x, y + origin.y)))
                continue;
            const BYTE* p = drawn.data() + (static_cast<size_t>(y) * 420 + x) * 4;
            const int sx = x + origin.x, sy = y + origin.y;
            ASSERT_EQ((std::array<int, 3>{picture.GetRed(sx, sy), picture.GetGreen(sx, sy), picture.GetBlue(sx, sy)}),
                      (std::array<int, 3>{p[1], p[2], p[3]}))
                << "page pixel " << x << ", " << y;
            ++compared;
        }
    EXPECT_GT(compared, 420 * 300 / 2);

    const auto rgb = [&](int x, int y) {
        return std::array<int, 3>{picture.GetRed(x, y), picture.GetGreen(x, y), picture.GetBlue(x, y)};
    };
    EXPECT_EQ(rgb(origin.x / 2, 5), (std::array<int, 3>{190, 190, 190})) << "surround";
    EXPECT_EQ(rgb(origin.x + 430, origin.y + 60), (std::array<int, 3>{140, 140, 140})) << "silhouette beyond the edge";
    EXPECT_EQ(rgb(origin.x + 10, origin.y + 40), (std::array<int, 3>{144, 131, 255})) << "horizontal guide";
    EXPECT_EQ(rgb(origin.x + 300, origin.y + 250), (std::array<int, 3>{144, 131, 255})) << "vertical guide";
    // The guides run across the surround too.
    EXPECT_EQ(rgb(5, origin.y + 40), (std::array<int, 3>{144, 131, 255}));
    // A handle square of the selected band.
    const DPOINT handle = page->GetItem(1)->GetCurrentObject()->GetHandlePoints()[4];
    EXPECT_EQ(rgb(static_cast<int>(std::floor(handle.x + 0.5)) + origin.x,
                  static_cast<int>(std::floor(handle.y + 0.5)) + origin.y),
              (std::array<int, 3>{0, 128, 255}));

    services.view = nullptr;
    frame->Destroy();
    Settle();
}

TEST(DesignView, ASmallWindowScrollsThePage)
{
    ViewServices services;
    std::unique_ptr<CWebsite> site = MakeSite();
    CSitePage* page = site->GetPage(0);
    auto* frame = new wxFrame(nullptr, wxID_ANY, "design view", wxPoint(0, 0), wxSize(200, 160));
    auto* view = new COrvelView(frame, page);
    frame->Show();
    Settle();
    EXPECT_EQ(view->GetPageOrigin(), CPoint(0, 0));
    view->Scroll(100, 50);
    EXPECT_EQ(view->GetScrollPosition(), CPoint(100, 50));
    EXPECT_EQ(view->ClientToPage(CPoint(10, 10)), CPoint(110, 60));
    const wxSize client = view->GetClientSize();
    EXPECT_EQ(view->GetVisiblePageRect(), CRect(100, 50, 100 + client.x, 50 + client.y));
    frame->Destroy();
    Settle();
}

} // namespace
