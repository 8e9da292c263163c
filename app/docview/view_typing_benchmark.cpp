// Typing into a long text edited in place in a design view on a display: from the key event to the caret in its
// new place and the changed part of the window painted again. Each round types a character and takes it back with
// Backspace, so the text keeps its length. The peer does the same two edits on the text alone, without a window;
// the floor repaints one pixel of the same view for each key: what any paint costs there, whatever it draws. Texts
// of 2,000 and 32,000 characters show whether a key's cost grows with the text.
// Run it on a display, e.g. xvfb-run -a build/release/bin/view_typing_benchmark.

#include <benchmark/benchmark.h>
#include <wx/app.h>
#include <wx/frame.h>
#include <wx/init.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "app/docview/design_view.h"
#include "app/model/seams_test_support.h"
#include "app/model/services.h"
#include "app/objects/text_layout.h"
#include "app/objects/text_measure.h"
#include "app/objects/text_object.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "platform/text/face_list.h"

namespace {

constexpr int kParagraphs = 20;
const std::string kWords = "the quick brown fox jumps over the lazy dog ";

class BenchServices : public NullCoreServices, public NullCurrentState, public NullModelDialogs
{
public:
    COrvelView* GetCurrentView() override { return view; }
    COrvelView* view = nullptr;
};

// A text object 500 pixels wide holding length characters in 20 paragraphs of 12-point Arial, laid out, with the
// caret at the end of the last paragraph. Its top stays where it was made as it grows (to about 725 pixels for
// 2,000 characters, so that the whole of it is in the view's 800 rows).
std::unique_ptr<CTextObject> MakeLongText(int length)
{
    auto object = std::make_unique<CTextObject>(500.0, 40.0, SIZE{500, 40}, 0.0);
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
    object->SetNewObject(false);
    return object;
}

void SendChar(COrvelView* view, int code)
{
    wxKeyEvent down(wxEVT_KEY_DOWN);
    down.m_keyCode = code;
    down.m_uniChar = code == WXK_BACK ? 0 : code;
    view->GetEventHandler()->ProcessEvent(down);
    wxKeyEvent typed(wxEVT_CHAR);
    typed.m_keyCode = code;
    typed.m_uniChar = down.m_uniChar;
    view->GetEventHandler()->ProcessEvent(typed);
    wxKeyEvent up(wxEVT_KEY_UP);
    up.m_keyCode = code;
    view->GetEventHandler()->ProcessEvent(up);
}

// typing: each round types a character and takes it back; otherwise each round repaints one pixel of the view twice,
// the smallest paint the view can do (the paint event and the round trip to the server).
void RunInView(benchmark::State& state, int length, bool typing)
{
    BenchServices services;
    SeamsInstalled installed(services);
    auto made = MakeLongText(length);
    SIZE textSize;
    made->GetSize(textSize);
    // The page holds the whole text; the view shows the caret's end of it, so that every key paints what it changed.
    NewPageSettings settings;
    settings.width = 1000;
    settings.height = std::max<int>(800, textSize.cy + 100);
    CSitePage page(nullptr, "p", "P", settings);
    CTextObject* text = static_cast<CTextObject*>(page.AddObject(std::move(made))->GetCurrentObject());
    auto* frame = new wxFrame(nullptr, wxID_ANY, "typing", wxPoint(0, 0), wxSize(1000, 800));
    auto* view = new COrvelView(frame, &page);
    services.view = view;
    frame->Show();
    for (int i = 0; i < 20; ++i)
        wxYield();
    view->Scroll(0, std::max<int>(0, textSize.cy - 500));
    view->SetFocus();
    // Where the display gives no window the focus (a bare server), the view hears it as it would.
    wxFocusEvent focus(wxEVT_SET_FOCUS, view->GetId());
    view->GetEventHandler()->ProcessEvent(focus);
    page.SelectItemAt(0);
    page.SetEditedObject(text);
    page.SetEditingInPlace(true);
    text->BeginEdit();
    text->UpdateCaret(text->GetTextBody()->m_caretPara, text->GetTextBody()->m_caretIndex);
    view->Update();
    if (!view->GetTextCaret().IsDrawn())
        state.SkipWithError("the caret does not show");

    for (auto _ : state) {
        if (typing) {
            SendChar(view, 'e');
            view->Update();
            SendChar(view, WXK_BACK);
            view->Update();
        } else {
            for (int i = 0; i < 2; ++i) {
                view->RefreshRect(wxRect(500, 300, 1, 1), false);
                view->Update();
            }
        }
    }
    state.counters["per_key"] = benchmark::Counter(static_cast<double>(state.iterations()) * 2,
                                                   benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    page.SetEditingInPlace(false);
    page.SetEditedObject(nullptr);
    services.view = nullptr;
    frame->Destroy();
    for (int i = 0; i < 5; ++i)
        wxYield();
    installed.PutBack();
}
void BM_TypeInView(benchmark::State& state)
{
    RunInView(state, static_cast<int>(state.range(0)), true);
}
BENCHMARK(BM_TypeInView)->Arg(2000)->Arg(32000)->Unit(benchmark::kMicrosecond);

// The peer: the same two edits on the text alone, as the view asks of it.
void BM_TypeInModel(benchmark::State& state)
{
    auto text = MakeLongText(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        RECT dirty{};
        text->InsertChar(dirty, 'e', true);
        text->DeleteChar(dirty, false, true);
        benchmark::DoNotOptimize(dirty);
    }
    state.counters["per_key"] = benchmark::Counter(static_cast<double>(state.iterations()) * 2,
                                                   benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_TypeInModel)->Arg(2000)->Arg(32000)->Unit(benchmark::kMicrosecond);

// The floor under the view's figure: one pixel inside the text painted and the display server waited for.
void BM_RepaintOnePixel(benchmark::State& state)
{
    RunInView(state, 2000, false);
}
BENCHMARK(BM_RepaintOnePixel)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    wxApp::SetInstance(new wxApp());
    if (!wxEntryStart(argc, argv)) {
        std::fprintf(stderr, "wx could not start: is there a display?\n");
        return 1;
    }
    // GTK's text layout holds fontconfig objects until the process ends.
    KeepFontconfigAtExit();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    wxEntryCleanup();
    return 0;
}
