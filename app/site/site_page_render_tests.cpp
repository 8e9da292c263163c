// Drawing pages: tiles against compositing the objects' images by hand, the ghost and selected-only forms,
// rendering dirty objects once, and thumbnails.

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

#include "app/model/effect_settings.h"
#include "app/model/fill_info.h"
#include "app/objects/circle_object.h"
#include "app/objects/polygon_object.h"
#include "app/objects/rectangle_object.h"
#include "app/site/object_frame.h"
#include "app/site/page_item.h"
#include "app/site/render_test_support.h"
#include "app/site/site_object_fake.h"
#include "app/site/site_page.h"
#include "app/site/site_services_fake.h"
#include "platform/win/task_pool.h"

namespace {

using Pixel = std::array<int, 4>; // alpha, red, green, blue

// A whole page drawn into one buffer of 4 bytes a pixel.
struct PageBuffer
{
    int width, height;
    std::vector<BYTE> bytes;

    PageBuffer(int w, int h) : width(w), height(h), bytes(static_cast<size_t>(w) * h * 4, 0) {}
    int Stride() const { return width * 4; }
    BYTE* At(int x, int y) { return bytes.data() + (static_cast<size_t>(y) * width + x) * 4; }
    Pixel Get(int x, int y) const
    {
        const BYTE* p = bytes.data() + (static_cast<size_t>(y) * width + x) * 4;
        return {p[0], p[1], p[2], p[3]};
    }
};

// The view's way: the page in tiles of the render buffer's size.
PageBuffer DrawInTiles(CSitePage& page, bool background = true, bool onlySelected = false, bool ghost = false)
{
    PageBuffer buffer(page.GetWidth(), page.GetHeight());
    constexpr int tile = CSitePage::kRenderBufferSize;
    for (int y = 0; y < buffer.height; y += tile)
        for (int x = 0; x < buffer.width; x += tile) {
            const RECT rect{x, y, std::min(x + tile, buffer.width), std::min(y + tile, buffer.height)};
            page.Draw(rect, buffer.At(x, y), buffer.Stride(), background, onlySelected, ghost);
        }
    return buffer;
}

// Source over destination written out: the colour is the upper pixel's share of the two.
Pixel Over(const Pixel& d, const Pixel& s)
{
    const int a = d[0], b = s[0];
    const int denominator = 255 * a + b * (255 - a);
    const int w = denominator == 0 ? 0 : 65025 * b / denominator;
    Pixel out{a + b * (255 - a) / 255, 0, 0, 0};
    for (int c = 1; c < 4; ++c)
        out[c] = w * s[c] / 255 + (255 - w) * d[c] / 255;
    return out;
}

// The pixel at (x, y) of the objects' own images laid over the background colour in z-order.
Pixel ComposeByHand(const std::vector<const CPageObject*>& objects, const CColor& background, int x, int y)
{
    const COLORREF c = background.GetCOLORREF();
    Pixel result{255, GetRValue(c), GetGValue(c), GetBValue(c)};
    for (const CPageObject* object : objects) {
        RECT bounds;
        object->GetBounds(bounds);
        const CImage* image = object->GetImage();
        if (!image || x < bounds.left || y < bounds.top || x >= bounds.right || y >= bounds.bottom)
            continue;
        const BYTE* p =
            image->GetData() + static_cast<size_t>(y - bounds.top) * image->GetStride() + (x - bounds.left) * 4;
        result = Over(result, Pixel{p[0], p[1], p[2], p[3]});
    }
    return result;
}

std::unique_ptr<CEffectSettings> Effects(bool shadow, bool glow)
{
    auto effects = std::make_unique<CEffectSettings>();
    effects->m_shadow = shadow;
    effects->m_glow = glow;
    return effects;
}

TEST(PageDraw, TilesMatchTheObjectsComposedByHand)
{
    SiteServicesFake services;
    NewPageSettings settings;
    settings.width = 300;
    settings.height = 200;
    settings.background.SetColor(CColor(30, 60, 90));
    CSitePage page(nullptr, "p", "P", settings);

    auto circle = std::make_unique<CCircleObject>(100, 100, SIZE{120, 80}, 0.0);
    circle->GetFill()->SetColor(CColor(220, 40, 40));
    circle->SetEffects(Effects(true, false));
    auto square = std::make_unique<CRectangleObject>(170, 110, SIZE{100, 100}, 0.3);
    square->GetFill()->SetColor(CColor(40, 200, 90));
    square->SetEffects(Effects(false, true));
    auto hidden = std::make_unique<CPolygonObject>(140, 100, SIZE{90, 90}, 0.0, 18);
    std::vector<const CPageObject*> drawn = {circle.get(), square.get()};
    CPageObject* edited = hidden.get();
    page.AddObject(std::move(circle));
    page.AddObject(std::move(square));
    page.AddObject(std::move(hidden));
    page.SetEditedObject(edited);
    page.SetEditingInPlace(true);

    page.RenderDirtyObjects();
    EXPECT_TRUE(edited->IsDirty());
    const PageBuffer buffer = DrawInTiles(page);
    for (int y = 0; y < buffer.height; ++y)
        for (int x = 0; x < buffer.width; ++x)
            ASSERT_EQ(buffer.Get(x, y), ComposeByHand(drawn, page.GetBackground()->GetColor(), x, y))
                << "at " << x << ", " << y;

    // Chosen pixels: the circle's middle, where the square covers it, its shadow alone, and the bare page.
    const Pixel circleMiddle = buffer.Get(70, 100);
    EXPECT_EQ(circleMiddle, (Pixel{255, 220, 40, 40}));
    EXPECT_EQ(buffer.Get(170, 110), (Pixel{255, 40, 200, 90}));
    EXPECT_EQ(buffer.Get(5, 5), (Pixel{255, 30, 60, 90}));
    RECT circleBounds;
    drawn[0]->GetBounds(circleBounds);
    const Pixel shadow = buffer.Get(100, circleBounds.bottom - 2);
    EXPECT_LT(shadow[1], 30);
    // Where only the hidden star would show, the page shows through.
    EXPECT_EQ(buffer.Get(140, 60), ComposeByHand(drawn, page.GetBackground()->GetColor(), 140, 60));
}

TEST(PageDraw, AnAreaWithoutItemsShowsOnlyTheBackground)
{
    NewPageSettings settings;
    settings.background.SetColor(CColor(1, 2, 3));
    CSitePage page(nullptr, "p", "P", settings);
    page.AddObject(MakeFake(objectRectangle, 50, 50, 20, 20));
    page.RenderDirtyObjects();
    PageBuffer tile(64, 32);
    page.Draw(RECT{200, 300, 264, 332}, tile.bytes.data(), tile.Stride(), true, false, false);
    for (int y = 0; y < tile.height; ++y)
        for (int x = 0; x < tile.width; ++x)
            ASSERT_EQ(tile.Get(x, y), (Pixel{255, 1, 2, 3}));

    // Without background the buffer keeps what it held.
    PageBuffer kept(20, 20);
    kept.bytes.assign(kept.bytes.size(), 77);
    page.Draw(RECT{0, 0, 20, 20}, kept.bytes.data(), kept.Stride(), false, false, false);
    EXPECT_EQ(kept.Get(3, 3), (Pixel{77, 77, 77, 77}));
}

TEST(PageDraw, GhostAndSelectedOnlyForms)
{
    SiteServicesFake services;
    NewPageSettings settings;
    settings.width = settings.height = 100;
    CSitePage page(nullptr, "p", "P", settings);
    auto solid = MakeFake(objectRectangle, 30, 30, 20, 20);
    auto faint = MakeFake(objectRectangle, 70, 70, 20, 20);
    faint->alpha = 128;
    page.AddObject(std::move(solid));
    CPageItem* faintItem = page.AddObject(std::move(faint));
    page.RenderDirtyObjects();

    const PageBuffer ghost = DrawInTiles(page, false, false, true);
    EXPECT_EQ(ghost.Get(5, 5), (Pixel{255, 190, 190, 190}));
    EXPECT_EQ(ghost.Get(30, 30), (Pixel{255, 140, 140, 140}));
    EXPECT_EQ(ghost.Get(70, 70), Over(Pixel{255, 190, 190, 190}, Pixel{128, 140, 140, 140}));

    page.SelectItem(faintItem);
    const PageBuffer selected = DrawInTiles(page, true, true, false);
    EXPECT_EQ(selected.Get(30, 30), (Pixel{255, 255, 255, 255}));
    EXPECT_EQ(selected.Get(70, 70), Over(Pixel{255, 255, 255, 255}, Pixel{128, 200, 40, 40}));
}

// An object that asks the page to render again while it renders, as an object's own rendering may.
class ReentrantObject : public FakeObject
{
public:
    ReentrantObject(CSitePage& page) : FakeObject(objectCircle, 20, 20, SIZE{10, 10}), m_page(page) {}
    bool UpdateImage(CPixMap& buffer) override
    {
        m_page.RenderDirtyObjects();
        return FakeObject::UpdateImage(buffer);
    }

private:
    CSitePage& m_page;
};

TEST(PageRenderDirtyObjects, RendersEachDirtyObjectOnce)
{
    SiteServicesFake services;
    CSitePage page(nullptr, "p", "P");
    std::vector<FakeObject*> fakes;
    for (int i = 0; i < 4; ++i) {
        auto fake = MakeFake(objectRectangle, 20 + 30 * i, 20, 20, 20);
        fakes.push_back(fake.get());
        page.AddObject(std::move(fake));
    }
    auto twin = MakeFake(objectRectangle, 20, 20, 20, 20);
    FakeObject* twinObject = twin.get();
    page.GetItem(0)->SetMouseOverObject(std::move(twin));
    const auto renders = [&] {
        std::vector<int> counts;
        for (const FakeObject* fake : fakes)
            counts.push_back(fake->renders);
        counts.push_back(twinObject->renders);
        return counts;
    };

    page.RenderDirtyObjects();
    page.RenderDirtyObjects();
    EXPECT_EQ(renders(), (std::vector<int>{1, 1, 1, 1, 1}));
    DrawInTiles(page);
    EXPECT_EQ(renders(), (std::vector<int>{1, 1, 1, 1, 1}));

    fakes[2]->SetDirty();
    page.RenderDirtyObjects();
    EXPECT_EQ(renders(), (std::vector<int>{1, 1, 2, 1, 1}));

    // A selection being dragged keeps its images until the gesture ends.
    page.SelectItem(page.GetItem(1));
    page.FreezeSelectedObjects();
    EXPECT_FALSE(page.IsItemToRender(1));
    EXPECT_TRUE(page.IsItemToRender(2));
    fakes[1]->SetDirty();
    fakes[3]->SetDirty();
    page.RenderDirtyObjects();
    EXPECT_EQ(renders(), (std::vector<int>{1, 1, 2, 2, 1}));
    page.UnfreezeSelectedObjects();
    page.RenderDirtyObjects();
    EXPECT_EQ(renders(), (std::vector<int>{1, 2, 2, 2, 1}));

    // The object edited in place is left to the editor.
    page.SetEditedObject(page.GetItem(0)->GetCurrentObject());
    page.SetEditingInPlace(true);
    EXPECT_FALSE(page.IsItemToRender(0));
    EXPECT_FALSE(page.IsItemToRender(9));
    page.SetEditingInPlace(false);

    // A call made while rendering returns at once.
    auto reentrant = std::make_unique<ReentrantObject>(page);
    ReentrantObject* object = reentrant.get();
    page.AddObject(std::move(reentrant));
    page.RenderDirtyObjects();
    EXPECT_EQ(object->renders, 1);
    EXPECT_EQ(renders(), (std::vector<int>{1, 2, 2, 2, 1}));
}

// A busy page, the same every time it is made: shapes with and without effects, turned, with a mouse-over twin,
// in a user group, and objects that render on the calling thread only (the fakes).
std::unique_ptr<CSitePage> BusyPage(int objects)
{
    NewPageSettings settings;
    settings.width = 700;
    settings.height = 600;
    settings.background.SetColor(CColor(240, 235, 220));
    auto page = std::make_unique<CSitePage>(nullptr, "p", "P", settings);
    for (int i = 0; i < objects; ++i) {
        const double x = 40 + (i * 97) % 620, y = 40 + (i * 61) % 520;
        const SIZE size{30 + (i * 13) % 90, 30 + (i * 29) % 70};
        std::unique_ptr<CPageObject> object;
        switch (i % 4) {
        case 0:
            object = std::make_unique<CCircleObject>(x, y, size, 0.0);
            break;
        case 1:
            object = std::make_unique<CRectangleObject>(x, y, size, 0.4);
            break;
        case 2:
            object = std::make_unique<CPolygonObject>(x, y, size, 0.1, 3 + i % 15);
            break;
        default:
            object = MakeFake(objectRectangle, x, y, size.cx, size.cy);
            break;
        }
        if (auto* shape = dynamic_cast<CPathObject*>(object.get())) {
            shape->GetFill()->SetColor(CColor(static_cast<BYTE>(i * 37), static_cast<BYTE>(255 - i * 11), 90));
            if (i % 3 == 0)
                shape->SetEffects(Effects(i % 2 == 0, i % 5 == 0));
        }
        page->AddObject(std::move(object));
    }
    auto twin = std::make_unique<CCircleObject>(40, 40, SIZE{30, 30}, 0.0);
    twin->GetFill()->SetColor(CColor(10, 10, 200));
    twin->SetEffects(Effects(false, true));
    page->GetItem(0)->SetMouseOverObject(std::move(twin));
    page->SelectItemAt(5);
    page->AddItemToSelection(9);
    page->CreateGroup();
    page->ClearSelection();
    return page;
}

TEST(PageRenderDirtyObjects, OnTheCoresGivesTheSamePixelsAsOnOneThread)
{
    SiteServicesFake services;
    CTaskPool alone(0), several(5);
    std::unique_ptr<CSitePage> one = BusyPage(60), spread = BusyPage(60);
    for (int round = 0; round < 2; ++round) {
        one->RenderDirtyObjects(&alone);
        spread->RenderDirtyObjects(&several);
        for (int i = 0; i < one->GetItemCount(); ++i)
            ASSERT_EQ(one->GetItem(i)->GetRect(), spread->GetItem(i)->GetRect()) << "item " << i;
        ASSERT_EQ(one->GetGroupAt(0)->GetRect(), spread->GetGroupAt(0)->GetRect());
        const PageBuffer expected = DrawInTiles(*one);
        // The areas drawn on the cores: the whole page, then two areas that meet and the page's rest.
        PageBuffer drawn(spread->GetWidth(), spread->GetHeight());
        const auto store = [&](const CRect& tile, const BYTE* pixels, int stride) {
            for (int y = 0; y < tile.Height(); ++y)
                std::memcpy(drawn.At(tile.left, tile.top + y), pixels + static_cast<size_t>(y) * stride,
                            static_cast<size_t>(tile.Width()) * 4);
        };
        spread->DrawAreas({CRect(0, 0, 700, 600)}, true, false, store, &several);
        ASSERT_EQ(drawn.bytes, expected.bytes) << "round " << round;
        drawn.bytes.assign(drawn.bytes.size(), 0);
        spread->DrawAreas({CRect(0, 0, 300, 333), CRect(300, 0, 700, 333), CRect(0, 333, 700, 600)}, true, false,
                          store, &several);
        ASSERT_EQ(drawn.bytes, expected.bytes) << "round " << round;
        // The second round renders only what changed: every third object, the twin among them.
        for (int i = 0; i < one->GetItemCount(); i += 3) {
            one->GetItem(i)->GetCurrentObject()->SetDirty();
            spread->GetItem(i)->GetCurrentObject()->SetDirty();
            one->GetItem(i)->Offset(3, 2);
            spread->GetItem(i)->Offset(3, 2);
        }
    }
}

// A picture fill that cannot be loaded is searched for on the calling thread, which asks the user, once.
TEST(PageRenderDirtyObjects, AMissingPictureIsAskedForOnceOnTheCallingThread)
{
    struct AskingServices : SiteServicesFake
    {
        DialogAnswer ShowFillMissingDialog(FillPictureDialog&) override
        {
            ++asked;
            onOtherThread = onOtherThread || std::this_thread::get_id() != caller;
            return DialogAnswer::cancel;
        }
        int asked = 0;
        bool onOtherThread = false;
        std::thread::id caller = std::this_thread::get_id();
    } services;
    CTaskPool several(3);
    std::unique_ptr<CSitePage> page = BusyPage(30);
    auto missing = std::make_unique<CRectangleObject>(200, 200, SIZE{80, 60}, 0.0);
    missing->GetFill()->SetImageFile("/nonexistent/folder/missing.jpg");
    CPageObject* object = missing.get();
    page->AddObject(std::move(missing));
    page->RenderDirtyObjects(&several);
    EXPECT_EQ(services.asked, 1);
    EXPECT_FALSE(services.onOtherThread);
    EXPECT_FALSE(object->IsDirty()) << "the fill shows its colour instead";
}

// A button with text renders on the calling thread while the helpers render the page's other objects. When its
// picture is missing, the question waits until the helpers are done: the repaint of the page that the question lets
// happen then draws finished objects, none of which a helper still writes.
TEST(PageRenderDirtyObjects, AMissingButtonPictureIsAskedForOnceTheOthersAreDone)
{
    struct AskingServices : SiteServicesFake
    {
        DialogAnswer ShowFillMissingDialog(FillPictureDialog&) override
        {
            ++asked;
            unfinished += render_testing::UnfinishedItems(*page, button);
            // The view's repaint behind the question.
            page->DrawAreas({CRect(0, 0, page->GetWidth(), page->GetHeight())}, true, false,
                            [](const CRect&, const BYTE*, int) {}, pool);
            return DialogAnswer::cancel;
        }
        CSitePage* page = nullptr;
        const CPageObject* button = nullptr;
        CTaskPool* pool = nullptr;
        int asked = 0;
        int unfinished = 0;
    } services;
    CTaskPool several(3);
    std::unique_ptr<CSitePage> page = BusyPage(60);
    auto button = render_testing::ButtonWithMissingPicture(300, 300);
    services.button = button.get();
    // First in z-order, so that it is the first object the calling thread renders.
    page->MoveItem(page->AddObject(std::move(button)), 0);
    services.page = page.get();
    services.pool = &several;
    page->RenderDirtyObjects(&several);
    EXPECT_EQ(services.asked, 1);
    EXPECT_EQ(services.unfinished, 0) << "objects were still being rendered while the user was asked";
    EXPECT_EQ(render_testing::UnfinishedItems(*page, nullptr), 0);
}

class PageThumbnail : public testing::Test
{
protected:
    SiteServicesFake services;
    CSitePage page{nullptr, "p", "P", Tall()};
    FakeObject* block = nullptr;

    PageThumbnail()
    {
        auto fake = MakeFake(objectRectangle, 300, 600, 300, 600);
        fake->red = fake->green = fake->blue = 0;
        block = fake.get();
        page.AddObject(std::move(fake));
    }
    static NewPageSettings Tall()
    {
        NewPageSettings settings;
        settings.width = 600;
        settings.height = 1200;
        settings.background.SetColor(CColor(250, 250, 100));
        return settings;
    }
    static Pixel At(const CImage& image, int x, int y)
    {
        const BYTE* p = image.GetData() + static_cast<size_t>(y) * image.GetStride() + x * 3;
        return {255, p[0], p[1], p[2]};
    }
};

TEST_F(PageThumbnail, FitsTheMaximumSizeKeepingProportions)
{
    struct Case
    {
        int maxWidth, maxHeight, width, height;
    };
    const Case cases[] = {{131, 134, 67, 134},
                          {159, 200, 100, 200},
                          {600, 1200, 600, 1200},
                          {1200, 2400, 1200, 2400},
                          {1000, 100, 50, 100}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.maxWidth << " x " << c.maxHeight);
        CImage image;
        ASSERT_TRUE(page.RenderPageImage(image, c.maxWidth, c.maxHeight));
        EXPECT_EQ(image.GetMode(), IMAGE_MODE_RGB);
        EXPECT_EQ(image.Width(), c.width);
        EXPECT_EQ(image.Height(), c.height);
        EXPECT_EQ(At(image, 0, 0), (Pixel{255, 250, 250, 100}));
        EXPECT_EQ(At(image, c.width / 2, c.height / 2), (Pixel{255, 0, 0, 0}));
        EXPECT_EQ(At(image, c.width - 1, c.height - 1), (Pixel{255, 250, 250, 100}));
    }
    CImage none;
    EXPECT_FALSE(page.RenderPageImage(none, 0, 100));
}

TEST_F(PageThumbnail, ASavedFrontPageReusesItsImageOnlyAtTheSameSize)
{
    page.SetFrontPage(true);
    CImage first;
    ASSERT_TRUE(page.RenderPageImage(first, 131, 134));
    page.SetSaved(true);
    // A change that a new rendering would show; the saved page's image stands for what was saved.
    block->red = 255;
    block->SetDirty();

    CImage again;
    ASSERT_TRUE(page.RenderPageImage(again, 131, 134));
    EXPECT_EQ(At(again, 33, 67), (Pixel{255, 0, 0, 0}));

    CImage larger;
    ASSERT_TRUE(page.RenderPageImage(larger, 159, 200));
    EXPECT_EQ(larger.Width(), 100);
    EXPECT_EQ(larger.Height(), 200);
    EXPECT_EQ(At(larger, 50, 100), (Pixel{255, 255, 0, 0}));

    // The cache now holds the larger size, so the smaller one is made again.
    CImage smaller;
    ASSERT_TRUE(page.RenderPageImage(smaller, 131, 134));
    EXPECT_EQ(smaller.Width(), 67);
    EXPECT_EQ(At(smaller, 33, 67), (Pixel{255, 255, 0, 0}));
    ASSERT_TRUE(page.GetPageImage());
    EXPECT_EQ(page.GetPageImage()->Width(), 67);

    // Not the front page: always made afresh.
    page.SetFrontPage(false);
    block->green = 255;
    block->SetDirty();
    CImage fresh;
    ASSERT_TRUE(page.RenderPageImage(fresh, 131, 134));
    EXPECT_EQ(At(fresh, 33, 67), (Pixel{255, 255, 255, 0}));
}

} // namespace
