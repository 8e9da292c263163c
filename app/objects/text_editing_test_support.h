#pragma once

// What the caret and editing tests share: a text object filled with given paragraphs and laid out, a stand-in for
// the program that has a view of a given size and records what is done to it, and readers of the text.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/model/app_settings.h"
#include "app/model/seams_test_support.h"
#include "app/model/services.h"
#include "app/objects/text_layout.h"
#include "app/objects/text_measure.h"
#include "app/objects/text_object.h"

namespace text_editing_testing {

struct Format
{
    const char* face = "Arial";
    WORD points = 12;
    bool bold = false;
    COLORREF colour = 0;
    bool linked = false;
};

inline CTextChar MakeChar(char c, const Format& f = {})
{
    CLinkInfo link;
    link.SetActive(f.linked);
    if (f.linked)
        link.SetUrl("http://example.com/");
    return MakeTextChar(static_cast<BYTE>(c), FindFontIndex(f.face), f.points, f.bold, false, false, f.colour, link);
}

inline void Append(CTextObject& object, int para, const std::string& text, const Format& f = {})
{
    CTextBody& body = *object.GetTextBody();
    while (body.GetParagraphCount() <= para)
        body.m_paragraphs.emplace_back();
    for (char c : text)
        body.m_paragraphs[para].m_chars.push_back(MakeChar(c, f));
}

inline void Layout(CTextObject& object)
{
    RECT dirty{};
    LayoutText(*object.GetTextBody(), dirty);
}

// A text object of a given width holding the paragraphs in one format, laid out, caret at the start.
inline std::unique_ptr<CTextObject> MakeText(int width, const std::vector<std::string>& paragraphs,
                                             const Format& f = {})
{
    auto object = std::make_unique<CTextObject>(300.0, 200.0, SIZE{width, 40}, 0.0);
    object->GetTextBody()->m_paragraphs.clear();
    for (size_t p = 0; p < paragraphs.size(); ++p)
        Append(*object, static_cast<int>(p), paragraphs[p], f);
    Layout(*object);
    return object;
}

inline std::vector<std::string> Paragraphs(const CTextObject& object)
{
    std::vector<std::string> texts;
    for (const auto& para : object.GetTextBody()->m_paragraphs) {
        texts.emplace_back();
        for (const auto& ch : para.m_chars)
            texts.back().push_back(static_cast<char>(ch.m_ch));
    }
    return texts;
}

struct Pos
{
    int para = 0;
    int index = 0;
    bool operator==(const Pos&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Pos& p)
{
    return out << "(" << p.para << ", " << p.index << ")";
}

inline Pos CaretOf(const CTextObject& object)
{
    return {object.GetTextBody()->m_caretPara, object.GetTextBody()->m_caretIndex};
}

inline void PutCaret(CTextObject& object, Pos at)
{
    object.GetTextBody()->m_caretPara = at.para;
    object.GetTextBody()->m_caretIndex = at.index;
    object.UpdateCaret(at.para, at.index);
}

inline void Select(CTextObject& object, Pos anchor, Pos focus)
{
    CTextBody& body = *object.GetTextBody();
    body.m_anchorPara = anchor.para;
    body.m_anchorIndex = anchor.index;
    body.m_focusPara = focus.para;
    body.m_focusIndex = focus.index;
    body.m_caretPara = focus.para;
    body.m_caretIndex = focus.index;
    body.m_selectionEmpty = anchor == focus;
}

// Stands in for the program: settings, a site of some pages, and a view with a client area over a page, which
// records the caret it is given, its scrolling and what it is asked to repaint.
class FakeEditServices : public NullCoreServices, public NullCurrentState, public NullModelDialogs
{
public:
    CAppSettings* GetAppSettings() override { return &settings; }
    PageView* GetCurrentView() override { return hasView ? &m_view : nullptr; }
    int GetSitePageCount() override { return pageCount; }

    CAppSettings settings;
    bool hasView = true;
    int pageCount = 3;
    CRect client{0, 0, 800, 600};
    CSize page{800, 600};
    CPoint scroll{0, 0};
    std::vector<CPoint> scrolls;
    int caretHeight = 0;
    CPoint caretPos{-1, -1};
    std::vector<CRect> editRects;

private:
    // The view over the page, answering from the fields above and recording into them.
    class FakeView : public NullPageView
    {
    public:
        explicit FakeView(FakeEditServices& fake) : m_fake(fake) {}
        CRect GetViewClientRect() const override { return m_fake.client; }
        CSize GetPageSize() const override { return m_fake.page; }
        CPoint GetScrollPosition() const override { return m_fake.scroll; }
        void ScrollToPosition(const CPoint& position) override
        {
            m_fake.scroll = position;
            m_fake.scrolls.push_back(position);
        }
        void SetCaretShape(int height) override { m_fake.caretHeight = height; }
        void SetCaretPos(const CPoint& at) override { m_fake.caretPos = at; }
        void InvalidateEditRect(const CRect& rect) override { m_fake.editRects.push_back(rect); }

    private:
        FakeEditServices& m_fake;
    };
    FakeView m_view{*this};
};

// Installs the stand-in for one test.
class TextEditFixture : public ::testing::Test
{
protected:
    FakeEditServices services;
    SeamsInstalled<FakeEditServices> installed{services};
};

} // namespace text_editing_testing
