// What the mouse-over question costs a text being drawn: a text drawn as HTML shows its links as links, and it is
// drawn so only while its item has no mouse-over twin, so the text asks about its item as it draws. On a site of
// 100 pages with 20 texts each, the text drawn is one of the last page's. Three answers: none at all (the drawing
// alone, the peer), the item found by walking every item of every page (what the question cost before the items
// told their objects), and the item the object knows.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "app/model/seams_test_support.h"
#include "app/model/services.h"
#include "app/objects/text_layout.h"
#include "app/objects/text_measure.h"
#include "app/objects/text_object.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "app/site/website.h"

namespace {

constexpr int kPages = 100;
constexpr int kTextsPerPage = 20;

enum class Lookup
{
    none,
    walk,
    item,
};

class LookupServices : public NullCurrentState
{
public:
    explicit LookupServices(CWebsite* site) : m_site(site) {}
    CWebsite* GetCurrentSite() override { return m_site; }

private:
    CWebsite* m_site;
};

// Stands between a text and its item: counts the questions and answers them as the lookup does.
class LookupHolder : public ObjectHolder
{
public:
    LookupHolder(const CWebsite& site, const CPageObject& object, Lookup lookup, long& asked)
        : m_site(site), m_object(object), m_item(dynamic_cast<CPageItem*>(object.GetItem())), m_lookup(lookup),
          m_asked(asked)
    {
    }
    bool HasMouseOverTwin() const override
    {
        ++m_asked;
        switch (m_lookup) {
        case Lookup::none:
            return false;
        case Lookup::walk:
            for (int p = 0; p < m_site.GetPageCount(); ++p) {
                const CSitePage* page = m_site.GetPage(p);
                for (int i = 0; i < page->GetItemCount(); ++i) {
                    const CPageItem* item = page->GetItem(i);
                    if (item->GetObject(false) == &m_object ||
                        (item->HasMouseOver() && item->GetObject(true) == &m_object))
                        return item->HasMouseOver();
                }
            }
            return false;
        case Lookup::item:
            break;
        }
        return m_item && m_item->HasMouseOverTwin();
    }
    void CopyTextToMouseOverTwin(const CPageObject&) override {}

private:
    const CWebsite& m_site;
    const CPageObject& m_object;
    CPageItem* m_item;
    Lookup m_lookup;
    long& m_asked;
};

// A one-line text of 12-point Arial, laid out.
std::unique_ptr<CTextObject> MakeText(int n)
{
    auto object = std::make_unique<CTextObject>(200.0, 40.0 + n * 30, SIZE{300, 24}, 0.0);
    CTextBody& body = *object->GetTextBody();
    const WORD arial = FindFontIndex("Arial");
    const std::string words = "Opening hours " + std::to_string(n);
    for (const char ch : words)
        body.m_paragraphs[0].m_chars.push_back(
            MakeTextChar(static_cast<BYTE>(ch), arial, 12, false, false, false, 0, CLinkInfo()));
    RECT dirty{};
    LayoutText(body, dirty);
    object->SetNewObject(false);
    return object;
}

std::unique_ptr<CWebsite> MakeSite()
{
    auto site = std::make_unique<CWebsite>("/tmp/lookup-bench.kst");
    for (int p = 0; p < kPages; ++p) {
        CSitePage* page =
            site->AddPage(std::make_unique<CSitePage>(site.get(), "page" + std::to_string(p), "Page"));
        for (int t = 0; t < kTextsPerPage; ++t)
            page->AddObject(MakeText(t));
    }
    return site;
}

void DrawText(benchmark::State& state, Lookup lookup)
{
    auto site = MakeSite();
    LookupServices services(site.get());
    const SeamsInstalled installed(services);
    CSitePage* last = site->GetPage(kPages - 1);
    long asked = 0;
    std::vector<std::unique_ptr<LookupHolder>> holders;
    for (int i = 0; i < kTextsPerPage; ++i) {
        CPageObject* text = last->GetItem(i)->GetCurrentObject();
        holders.push_back(std::make_unique<LookupHolder>(*site, *text, lookup, asked));
        text->SetItem(holders.back().get());
    }
    CPixMap scratch(IMAGE_MODE_RGBA, CSitePage::kRenderBufferSize, CSitePage::kRenderBufferSize);
    int next = 0;
    for (auto _ : state) {
        auto* text = static_cast<CTextObject*>(last->GetItem(next)->GetCurrentObject());
        next = (next + 1) % kTextsPerPage;
        text->GetTextBody()->SetModified();
        text->SetDirty();
        if (!text->UpdateImage(scratch)) {
            state.SkipWithError("the text was not drawn");
            break;
        }
        benchmark::DoNotOptimize(text->GetImage());
    }
    state.counters["items"] = kPages * kTextsPerPage;
    state.counters["asks_per_text"] = static_cast<double>(asked) / static_cast<double>(state.iterations());
}

// The peer: the same text drawn with nobody to ask.
void BM_DrawTextAlone(benchmark::State& state)
{
    DrawText(state, Lookup::none);
}
BENCHMARK(BM_DrawTextAlone)->Unit(benchmark::kMicrosecond);

void BM_DrawTextWalkingTheSite(benchmark::State& state)
{
    DrawText(state, Lookup::walk);
}
BENCHMARK(BM_DrawTextWalkingTheSite)->Unit(benchmark::kMicrosecond);

void BM_DrawTextAskingItsItem(benchmark::State& state)
{
    DrawText(state, Lookup::item);
}
BENCHMARK(BM_DrawTextAskingItsItem)->Unit(benchmark::kMicrosecond);

} // namespace
