#pragma once

// The text object tests' services, fixture and ways of typing text, shared by the tests of the object, its stream
// form and its rendering.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/model/app_settings.h"
#include "app/model/seams_test_support.h"
#include "app/model/services.h"
#include "app/objects/text_layout.h"
#include "app/objects/text_measure.h"
#include "app/objects/text_editing_test_support.h"
#include "app/objects/text_object.h"

// A view over the text's page, recording what the text object asks of it.
class TextView : public NullPageView
{
public:
    void EndPageTextEditing() override { ++pageEditsEnded; }
    void RecordPageUndo(UndoKind kind) override { undoKinds.push_back(static_cast<int>(kind)); }
    bool IsTextCaretShown() const override { return caretShown; }
    void HideTextCaret() override { caretShown = false; }
    void InvalidateView(bool) override { ++viewRepaints; }

    int viewRepaints = 0;
    bool caretShown = false;
    int pageEditsEnded = 0;
    std::vector<int> undoKinds;
};

// What the services and the item holding a text answer, and which calls the text object made.
class TextServices : public NullCoreServices, public NullCurrentState, public NullModelDialogs, public ObjectHolder
{
public:
    PageView* GetCurrentView() override { return viewShown ? &view : nullptr; }
    bool HasMouseOverTwin() const override
    {
        ++twinQuestions;
        return hasTwin;
    }
    void CopyTextToMouseOverTwin(const CPageObject& object) override { copiedTo = &object; }
    COLORREF GetSiteLinkColor() override { return linkColour; }
    CAppSettings* GetAppSettings() override { return &settings; }
    void BeginWaitCursor() override
    {
        ++waitsBegun;
        ++waitDepth;
    }
    void EndWaitCursor() override { --waitDepth; }

    // The view, current while shown.
    TextView view;
    bool viewShown = false;
    int waitsBegun = 0;
    int waitDepth = 0;
    bool hasTwin = false;
    mutable int twinQuestions = 0;
    const CPageObject* copiedTo = nullptr;
    COLORREF linkColour = RGB(0, 0, 255);
    CAppSettings settings;
};

class TextObjectTest : public ::testing::Test
{
protected:
    TextServices services;
    SeamsInstalled<TextServices> installed{services};
};

// One character's format as the tests spell it.
struct ObjectFormat
{
    std::string face = "Arial";
    WORD points = 12;
    BYTE bold = 0;
    BYTE italic = 0;
    BYTE underline = 0;
    COLORREF colour = 0;
    CLinkInfo link;
};

inline CLinkInfo UrlLink(const std::string& url)
{
    CLinkInfo link;
    link.SetKind(CLinkInfo::kindUrl);
    link.SetUrl(url);
    link.SetActive(true);
    return link;
}

inline CLinkInfo PageLinkInfo(int page)
{
    CLinkInfo link;
    link.SetKind(CLinkInfo::kindPage);
    link.SetPage(page);
    link.SetActive(true);
    return link;
}

// The paragraphs of a text as plain characters, as the editing tests spell them.
using text_editing_testing::Paragraphs;

// Types paragraphs into the object, each character in the format its position picks, and lays them out.
inline void Type(CTextObject& object, const std::vector<std::string>& paragraphs,
                 const std::function<ObjectFormat(int para, int index)>& formatAt = nullptr)
{
    RECT dirty{};
    for (size_t p = 0; p < paragraphs.size(); ++p) {
        if (p > 0)
            object.SplitParagraph();
        for (size_t i = 0; i < paragraphs[p].size(); ++i) {
            const ObjectFormat f = formatAt ? formatAt(static_cast<int>(p), static_cast<int>(i)) : ObjectFormat();
            object.InsertCharWithFormat(dirty, static_cast<BYTE>(paragraphs[p][i]), FindFontIndex(f.face), f.points,
                                        f.bold, f.italic, f.underline, f.colour, f.link);
        }
    }
    LayoutText(*object.GetTextBody(), dirty);
}

// A plain object with a line of text, laid out.
inline std::unique_ptr<CTextObject> MakeTextObject(const std::string& text = "Hello")
{
    auto object = std::make_unique<CTextObject>(200.0, 100.0, SIZE{120, 40}, 0.0);
    Type(*object, {text});
    return object;
}
