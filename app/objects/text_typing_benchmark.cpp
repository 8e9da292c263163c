#include <benchmark/benchmark.h>

#include <string>

#include "app/objects/text_layout.h"
#include "app/objects/text_measure.h"
#include "app/objects/text_object.h"

namespace {

constexpr int kParagraphs = 20;
constexpr int kKeystrokes = 2000;
const std::string kWords = "the quick brown fox jumps over the lazy dog ";

// A text object 500 pixels wide holding about length characters in 20 paragraphs of 12-point Arial, laid out, with
// the caret at the end of the last paragraph.
std::unique_ptr<CTextObject> MakeLongText(int length)
{
    auto object = std::make_unique<CTextObject>(400.0, 300.0, SIZE{500, 40}, 0.0);
    CTextBody& body = *object->GetTextBody();
    const WORD arial = FindFontIndex("Arial");
    body.m_paragraphs.assign(kParagraphs, CTextParagraph());
    for (int i = 0; i < length; ++i) {
        const BYTE ch = static_cast<BYTE>(kWords[i % kWords.size()]);
        body.m_paragraphs[i * kParagraphs / length].m_chars.push_back(
            MakeTextChar(ch, arial, 12, false, false, false, 0, CLinkInfo()));
    }
    RECT dirty{};
    LayoutText(body, dirty);
    body.m_caretPara = kParagraphs - 1;
    body.m_caretIndex = body.m_paragraphs.back().GetCount();
    return object;
}

// 2,000 keystrokes into the text at the caret, each inserting its character and laying out what it moved, as the
// view does for every key; wholeLayout lays the whole text out after each key instead, as every key once did.
void TypeKeys(benchmark::State& state, bool atEnd, bool wholeLayout)
{
    const int length = static_cast<int>(state.range(0));
    std::unique_ptr<CTextObject> object;
    for (auto _ : state) {
        state.PauseTiming();
        // The last round's text goes outside the timing too: freeing a long text costs as much as its keys.
        object.reset();
        object = MakeLongText(length);
        if (!atEnd) {
            // In the middle of the middle paragraph: the lines after the caret move with each key.
            CTextBody& body = *object->GetTextBody();
            body.m_caretPara = kParagraphs / 2;
            body.m_caretIndex = body.m_paragraphs[kParagraphs / 2].GetCount() / 2;
        }
        state.ResumeTiming();
        RECT dirty{};
        for (int i = 0; i < kKeystrokes; ++i) {
            object->InsertChar(dirty, static_cast<BYTE>(kWords[i % kWords.size()]), !wholeLayout);
            if (wholeLayout)
                LayoutText(*object->GetTextBody(), dirty);
        }
        benchmark::DoNotOptimize(object->GetTextBody()->m_nHeight);
    }
    state.counters["per_key"] = benchmark::Counter(static_cast<double>(state.iterations()) * kKeystrokes,
                                                   benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_TypeAtEnd(benchmark::State& state)
{
    TypeKeys(state, true, false);
}
BENCHMARK(BM_TypeAtEnd)->Arg(2000)->Arg(8000)->Arg(32000)->Unit(benchmark::kMillisecond);

void BM_TypeInMiddle(benchmark::State& state)
{
    TypeKeys(state, false, false);
}
BENCHMARK(BM_TypeInMiddle)->Arg(2000)->Arg(8000)->Arg(32000)->Unit(benchmark::kMillisecond);

// The peer: the same keys, each followed by a layout of the whole text.
void BM_TypeAtEndLayingOutWhole(benchmark::State& state)
{
    TypeKeys(state, true, true);
}
BENCHMARK(BM_TypeAtEndLayingOutWhole)->Arg(2000)->Arg(8000)->Arg(32000)->Unit(benchmark::kMillisecond);

// One layout of the same text with nothing changed, what each key cost on top of its edit when it laid the whole
// text out.
void BM_LayoutUnchanged(benchmark::State& state)
{
    auto object = MakeLongText(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        RECT dirty{};
        LayoutText(*object->GetTextBody(), dirty);
        benchmark::DoNotOptimize(dirty);
    }
}
BENCHMARK(BM_LayoutUnchanged)->Arg(2000)->Arg(8000)->Arg(32000)->Unit(benchmark::kMicrosecond);

} // namespace
