#include "app/objects/text_object.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/model/app_settings.h"
#include "app/model/effect_settings.h"
#include "app/model/fill_info.h"
#include "app/model/services.h"
#include "app/model/string_attr.h"
#include "app/model/undo_manager.h"
#include "app/objects/text_layout.h"
#include "app/objects/text_measure.h"
#include "app/objects/text_object_test_support.h"

// ---- Construction and the page-object answers ----

TEST_F(TextObjectTest, NewObjectIsAnUncommittedEmptyPlainBox)
{
    CTextObject object(50.0, 40.0, SIZE{80, 30}, 0.0);
    EXPECT_EQ(object.GetKind(), objectText);
    EXPECT_TRUE(object.IsNewObject());
    EXPECT_FALSE(object.IsEditing());
    EXPECT_EQ(object.GetScaleX(), 1.0);
    EXPECT_EQ(object.GetFill()->GetKind(), CFillInfo::FILL_NONE);
    EXPECT_EQ(object.GetTextBody()->GetOwner(), &object);
    EXPECT_EQ(object.GetTextBody()->m_nWidth, 80);
    EXPECT_EQ(object.GetTextBody()->GetParagraphCount(), 1);
    EXPECT_TRUE(object.IsPlainObject());
    EXPECT_TRUE(object.IsDirty());
    EXPECT_TRUE(object.HasFill());
    EXPECT_TRUE(object.CanHaveMouseOver());
    EXPECT_FALSE(object.CanHaveButtonText());
    SIZE max;
    EXPECT_EQ(object.GetMaxSize(max).cx, 1000000);
    EXPECT_EQ(max.cy, 1000000);
    RECT bounds;
    object.GetBounds(bounds);
    EXPECT_EQ(CRect(bounds), CRect(10, 25, 90, 55));
}

TEST_F(TextObjectTest, PictureOnlyPropertiesFollowTheAdvancedTextFlag)
{
    CTextObject object(0.0, 0.0, SIZE{40, 20}, 0.0);
    for (BYTE flag : {0, 1}) {
        object.GetTextBody()->m_allowAdvanced = flag;
        const bool allowed = flag != 0;
        EXPECT_EQ(object.CanTakeStyle(), allowed);
        EXPECT_EQ(object.CanHavePictureFill(), allowed);
        EXPECT_EQ(object.CanHaveAltText(), allowed);
        EXPECT_EQ(object.CanResize(), allowed);
        EXPECT_EQ(object.CanRotate(), allowed);
    }
}

TEST_F(TextObjectTest, LinkColourIsTheSitesLinkColour)
{
    services.linkColour = RGB(200, 10, 20);
    EXPECT_EQ(GetTextLinkColor(), RGB(200, 10, 20));
    installed.PutBack();
    EXPECT_EQ(GetTextLinkColor(), RGB(0, 0, 255));
}

// ---- Editing in place ----

TEST_F(TextObjectTest, EditedObjectStandsUprightOnItsTextBox)
{
    auto object = MakeTextObject();
    object->SetRotation(0.7);
    object->SetSize(300, 80);
    const SIZE box{object->GetTextBody()->m_nWidth, object->GetTextBody()->m_nHeight};

    object->BeginEdit();
    SIZE size;
    EXPECT_EQ(object->GetRotation(), 0.0);
    object->GetSize(size);
    EXPECT_EQ(size.cx, box.cx);
    EXPECT_EQ(size.cy, box.cy);
    RECT bounds;
    object->GetBounds(bounds);
    EXPECT_EQ(CRect(bounds).Width(), box.cx);
    EXPECT_EQ(CRect(bounds).Height(), box.cy);
    EXPECT_NEAR(object->GetHandlePoints()[0].y, object->GetHandlePoints()[2].y, 1e-9) << "handles stand upright";

    EXPECT_TRUE(object->EndEdit(nullptr, false));
    EXPECT_EQ(object->GetRotation(), 0.7);
    object->GetSize(size);
    EXPECT_EQ(size.cx, 300);
    EXPECT_EQ(size.cy, 80);
}

TEST_F(TextObjectTest, EnteringEditingShowsTheCaretsFormatInThePalettes)
{
    ObjectFormat big;
    big.face = "Courier New";
    big.points = 18;
    big.bold = 1;
    big.colour = RGB(200, 0, 0);
    struct Case
    {
        const char* name;
        std::vector<std::string> paragraphs;
        bool selectAcrossSizes;
        std::string face;
        int points;
        BYTE bold;
        COLORREF colour;
    };
    // The palettes start at Arial 12, regular, green.
    const std::vector<Case> cases = {
        {"caret after a formatted character", {"Hi"}, false, "Courier New", 18, 1, RGB(200, 0, 0)},
        {"caret in an empty paragraph", {"Hi", ""}, false, "Arial", 12, 0, RGB(0, 128, 0)},
        {"selection over two sizes", {"Hi", "lo"}, true, "Courier New", 12, 1, RGB(200, 0, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        services.settings = CAppSettings();
        services.settings.m_textColor = CColor(0, 128, 0);
        auto object = std::make_unique<CTextObject>(0.0, 0.0, SIZE{200, 30}, 0.0);
        Type(*object, c.paragraphs, [&](int para, int) {
            ObjectFormat f = big;
            f.points = static_cast<WORD>(para == 0 ? 18 : 24);
            return f;
        });
        if (c.selectAcrossSizes) {
            CTextBody& body = *object->GetTextBody();
            body.m_selectionEmpty = 0;
            body.m_anchorPara = 0;
            body.m_anchorIndex = 0;
            body.m_focusPara = 1;
            body.m_focusIndex = 2;
        }
        object->BeginEdit();
        EXPECT_EQ(services.settings.m_textFont, c.face);
        EXPECT_EQ(services.settings.m_textFontSize, c.points);
        EXPECT_EQ(services.settings.m_textBold, c.bold);
        EXPECT_EQ(services.settings.m_textColor.GetCOLORREF(), c.colour);
    }
}

TEST_F(TextObjectTest, ResizingWhileEditingKeepsTheMinimumBox)
{
    auto object = MakeTextObject("W");
    object->BeginEdit();
    CTextBody& body = *object->GetTextBody();
    const int widest = body.m_widestChar;
    const int minWidth = static_cast<int>(1.5 * widest + 2);
    SIZE min;
    object->GetMinSize(min);
    EXPECT_EQ(min.cx, minWidth);
    EXPECT_EQ(min.cy, 3);
    struct Case
    {
        int w, h, expectW, expectH;
    };
    const std::vector<Case> cases = {
        {1, 1, minWidth, 3},
        {minWidth, 3, minWidth, 3},
        {minWidth + 1, 4, minWidth + 1, 4},
        {200, 90, 200, 90},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h);
        object->SetSize(c.w, c.h);
        EXPECT_EQ(body.m_nWidth, c.expectW);
        EXPECT_EQ(body.m_nHeight, c.expectH);
        EXPECT_EQ(object->GetScaleX(), 1.0) << "editing reflows rather than stretches";
    }
    object->EndEdit(nullptr, false);
    object->GetMinSize(min);
    EXPECT_EQ(min.cx, 1);
    EXPECT_EQ(min.cy, 1);
}

TEST_F(TextObjectTest, ResizingOutsideEditingStretches)
{
    auto object = MakeTextObject();
    const int boxW = object->GetTextBody()->m_nWidth, boxH = object->GetTextBody()->m_nHeight;
    object->SetSize(boxW * 2, boxH * 3);
    EXPECT_EQ(object->GetScaleX(), 2.0);
    EXPECT_EQ(object->GetScaleY(), 3.0);
    EXPECT_EQ(object->GetTextBody()->m_nWidth, boxW) << "the text keeps its box";
    EXPECT_FALSE(object->IsPlainObject());
}

TEST_F(TextObjectTest, LeavingEditing)
{
    struct Case
    {
        const char* name;
        std::string text;
        bool isNew, record, caretShown;
        bool result;
        std::vector<int> undo;
        bool stillNew;
    };
    const std::vector<Case> cases = {
        {"new object, recorded", "Hi", true, true, true, true, {0}, false},
        {"new object, not recorded", "Hi", true, false, false, true, {}, false},
        {"committed object", "Hi", false, true, false, true, {}, false},
        {"blank text", "   ", true, true, true, false, {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        services = TextServices();
        services.view.caretShown = c.caretShown;
        auto object = MakeTextObject(c.text);
        object->SetItem(&services);
        object->SetNewObject(c.isNew);
        object->BeginEdit();
        EXPECT_EQ(object->EndEdit(&services.view, c.record), c.result);
        EXPECT_FALSE(object->IsEditing());
        EXPECT_FALSE(services.view.caretShown);
        EXPECT_EQ(services.view.pageEditsEnded, 1);
        EXPECT_EQ(services.view.undoKinds, c.undo);
        EXPECT_EQ(object->IsNewObject(), c.stillNew);
        EXPECT_EQ(services.copiedTo, c.result ? object.get() : nullptr);
    }
}

TEST_F(TextObjectTest, LeavingEditingSizesTheObjectByItsScale)
{
    auto object = MakeTextObject();
    object->SetSize(object->GetTextBody()->m_nWidth * 2, object->GetTextBody()->m_nHeight);
    object->BeginEdit();
    object->SetSize(150, 30);
    ASSERT_TRUE(object->EndEdit(nullptr, false));
    SIZE size;
    object->GetSize(size);
    EXPECT_EQ(size.cx, 300);
    EXPECT_EQ(size.cy, object->GetTextBody()->m_nHeight);
}

// ---- Plainness ----

TEST_F(TextObjectTest, PlainUntilAnyConditionFails)
{
    struct Case
    {
        const char* name;
        std::function<void(CTextObject&, TextServices&)> change;
        bool asksForTwin; // the conditions are tested in order; the twin is asked about fifth
    };
    const std::vector<Case> cases = {
        {"an effect", [](CTextObject& o, TextServices&) { o.GetEffects()->m_glow = true; }, false},
        {"stretched", [](CTextObject& o, TextServices&) { o.SetSize(o.GetTextBody()->m_nWidth + 10, 30); }, false},
        {"turned", [](CTextObject& o, TextServices&) { o.SetRotation(0.01); }, false},
        {"gradient fill", [](CTextObject& o, TextServices&) { o.GetFill()->SetGradient(CGradientInfo()); }, false},
        {"mouse-over twin", [](CTextObject&, TextServices& s) { s.hasTwin = true; }, true},
        {"alternate text", [](CTextObject& o, TextServices&) { o.GetAltText()->SetString("x"); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        services = TextServices();
        auto object = MakeTextObject();
        object->SetItem(&services);
        ASSERT_TRUE(object->IsPlainObject());
        c.change(*object, services);
        services.twinQuestions = 0;
        EXPECT_FALSE(object->IsPlainObject());
        EXPECT_EQ(services.twinQuestions, c.asksForTwin ? 1 : 0);
    }
    auto object = MakeTextObject();
    object->GetFill()->SetColor(CColor(1, 2, 3));
    EXPECT_TRUE(object->IsPlainObject()) << "a colour fill keeps the text plain";
}

TEST_F(TextObjectTest, MakePlainRemovesEveryPictureProperty)
{
    auto object = MakeTextObject();
    object->GetTextBody()->m_allowAdvanced = 1;
    object->SetRotation(1.0);
    object->SetSize(400, 90);
    auto fill = std::make_unique<CFillInfo>();
    fill->SetGradient(CGradientInfo());
    object->SetFill(std::move(fill));
    auto effects = std::make_unique<CEffectSettings>();
    effects->m_shadow = effects->m_bevel = effects->m_glow = true;
    object->SetEffects(std::move(effects));
    object->SetLink(std::make_unique<CLinkInfo>(UrlLink("http://example.com/")));
    object->SetAltText(std::make_unique<CStringAttr>("words"));
    ASSERT_FALSE(object->IsPlainObject());

    object->MakePlain();
    EXPECT_TRUE(object->IsPlainObject());
    SIZE size;
    object->GetSize(size);
    EXPECT_EQ(size.cx, object->GetTextBody()->m_nWidth);
    EXPECT_EQ(size.cy, object->GetTextBody()->m_nHeight);
    EXPECT_EQ(object->GetFill()->GetKind(), CFillInfo::FILL_NONE);
    EXPECT_FALSE(object->GetLink()->IsActive());
    EXPECT_TRUE(object->GetAltText()->IsEmpty());
}

TEST_F(TextObjectTest, PlainnessChangesMakeTheTextRenderAgain)
{
    struct Case
    {
        const char* name;
        std::function<void(CTextObject&)> change;
        bool stale;
    };
    const std::vector<Case> cases = {
        {"colour fill", [](CTextObject& o) { o.SetFill(std::make_unique<CFillInfo>()); }, false},
        {"gradient fill",
         [](CTextObject& o) {
             auto fill = std::make_unique<CFillInfo>();
             fill->SetGradient(CGradientInfo());
             o.SetFill(std::move(fill));
         },
         true},
        {"effects off", [](CTextObject& o) { o.SetEffects(std::make_unique<CEffectSettings>()); }, false},
        {"a shadow",
         [](CTextObject& o) {
             auto effects = std::make_unique<CEffectSettings>();
             effects->m_shadow = true;
             o.SetEffects(std::move(effects));
         },
         true},
        {"a turn", [](CTextObject& o) { o.SetRotation(0.2); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto object = MakeTextObject();
        CTextBody& body = *object->GetTextBody();
        ASSERT_TRUE(body.RebuildImage() && body.RebuildSecondImage());
        c.change(*object);
        EXPECT_EQ(body.m_imageStale != 0, c.stale);
    }
}

// ---- Links, copies and sizes ----

TEST_F(TextObjectTest, PageLinksOfTheCharactersFollowPageChanges)
{
    const auto linkedToPage3 = [](int, int i) {
        ObjectFormat f;
        if (i < 2)
            f.link = PageLinkInfo(3);
        return f;
    };
    auto object = std::make_unique<CTextObject>(0.0, 0.0, SIZE{100, 30}, 0.0);
    Type(*object, {"abc"}, linkedToPage3);
    CTextBody& body = *object->GetTextBody();
    ASSERT_TRUE(body.RebuildImage() && body.RebuildSecondImage());
    object->OnPageDeleted(1);
    EXPECT_EQ(body.m_paragraphs[0].m_chars[0].m_link.GetPage(), 2);
    EXPECT_FALSE(body.m_imageStale) << "a renumbered link looks the same";
    object->ClampPageLinks(2);
    EXPECT_EQ(body.m_paragraphs[0].m_chars[1].m_link.GetPage(), 1);
    object->OnPageDeleted(1);
    EXPECT_FALSE(body.m_paragraphs[0].m_chars[0].m_link.IsActive());
    EXPECT_TRUE(body.m_imageStale) << "a link switched off is drawn as plain text";

    auto reset = std::make_unique<CTextObject>(0.0, 0.0, SIZE{100, 30}, 0.0);
    Type(*reset, {"abc"}, linkedToPage3);
    reset->ResetPageLinks();
    EXPECT_EQ(reset->GetTextBody()->m_paragraphs[0].m_chars[0].m_link.GetPage(), 0);

    // While the text is edited its links stay as they are.
    auto edited = std::make_unique<CTextObject>(0.0, 0.0, SIZE{100, 30}, 0.0);
    Type(*edited, {"abc"}, linkedToPage3);
    edited->BeginEdit();
    edited->OnPageDeleted(1);
    edited->ClampPageLinks(1);
    EXPECT_EQ(edited->GetTextBody()->m_paragraphs[0].m_chars[0].m_link.GetPage(), 3);
}

TEST_F(TextObjectTest, DuplicateIsAFullIndependentCopy)
{
    auto object = MakeTextObject("Copy me");
    object->GetTextBody()->m_allowAdvanced = 1;
    object->SetSize(object->GetTextBody()->m_nWidth * 2, object->GetTextBody()->m_nHeight);
    object->SetAltText(std::make_unique<CStringAttr>("alt"));
    std::unique_ptr<CPageObject> copy = object->Duplicate();
    auto* text = dynamic_cast<CTextObject*>(copy.get());
    ASSERT_NE(text, nullptr);
    EXPECT_FALSE(text->IsNewObject());
    EXPECT_EQ(text->GetScaleX(), 2.0);
    EXPECT_EQ(text->GetAltText()->GetString(), "alt");
    EXPECT_EQ(Paragraphs(*text), Paragraphs(*object));
    EXPECT_EQ(text->GetTextBody()->GetOwner(), text);
    SIZE a, b;
    EXPECT_EQ(text->GetSize(a).cx, object->GetSize(b).cx);
    object->GetTextBody()->m_paragraphs[0].m_chars.clear();
    EXPECT_EQ(Paragraphs(*text)[0], "Copy me");
}

TEST_F(TextObjectTest, CloneIsAnUndoShellAndCopyFromExchanges)
{
    auto object = MakeTextObject("Shell");
    object->SetRotation(0.4);
    object->SetAltText(std::make_unique<CStringAttr>("first"));
    std::unique_ptr<CPageObject> shell = object->Clone();
    auto* clone = dynamic_cast<CTextObject*>(shell.get());
    ASSERT_NE(clone, nullptr);
    EXPECT_EQ(clone->GetFill(), nullptr);
    EXPECT_EQ(clone->GetEffects(), nullptr);
    EXPECT_EQ(clone->GetLink(), nullptr);
    EXPECT_TRUE(clone->GetTextBody()->IsBlank());
    EXPECT_EQ(clone->IsNewObject(), object->IsNewObject());
    EXPECT_EQ(clone->GetRotation(), 0.4);

    object->SetRotation(1.2);
    object->SetSize(500, 70);
    object->GetAltText()->SetString("second");
    object->CopyFrom(*clone);
    EXPECT_EQ(object->GetRotation(), 0.4);
    EXPECT_EQ(clone->GetRotation(), 1.2);
    EXPECT_EQ(object->GetAltText()->GetString(), "first");
    EXPECT_EQ(clone->GetScaleX(), 500.0 / object->GetTextBody()->m_nWidth);
    EXPECT_EQ(Paragraphs(*object)[0], "Shell") << "the text stays where it is";
    object->CopyFrom(*clone);
    EXPECT_EQ(object->GetRotation(), 1.2);
    EXPECT_EQ(object->GetAltText()->GetString(), "second");
}

TEST_F(TextObjectTest, DownloadSizeOfPlainTextCountsCharacters)
{
    auto object = std::make_unique<CTextObject>(0.0, 0.0, SIZE{200, 30}, 0.0);
    Type(*object, {std::string(100, 'x'), std::string(19, 'y')});
    EXPECT_EQ(object->GetDownloadSize(10.0), static_cast<int>(120 * 1.05 + 200));
    object->SetRotation(0.5);
    CPixMap scratch(IMAGE_MODE_RGBA, 64, 64);
    ASSERT_TRUE(object->UpdateImage(scratch));
    RECT b;
    object->GetBounds(b);
    EXPECT_EQ(object->GetDownloadSize(10.0), static_cast<int>(CRect(b).Width() * CRect(b).Height() / 10.0));
}

TEST_F(TextObjectTest, TakingAnotherBodyLaysItOutAndLetsTheOldOneGo)
{
    auto object = MakeTextObject("Old");
    auto donor = MakeTextObject("New text");
    std::unique_ptr<CTextBody> taken = donor->GetTextBody()->Clone();
    for (CTextChar& ch : taken->m_paragraphs[0].m_chars)
        ch.m_nLeft = kTextNotPlaced;
    CTextBody* body = taken.get();
    CPixMap scratch(IMAGE_MODE_RGBA, 64, 64);
    ASSERT_TRUE(object->UpdateImage(scratch));
    services.viewShown = true;

    std::unique_ptr<CTextBody> old = object->SetTextBody(std::move(taken));
    EXPECT_EQ(object->GetTextBody(), body);
    EXPECT_EQ(body->GetOwner(), object.get());
    EXPECT_TRUE(body->m_paragraphs[0].m_chars[0].IsPlaced());
    EXPECT_TRUE(object->IsDirty());
    EXPECT_EQ(services.view.viewRepaints, 1);
    ASSERT_NE(old, nullptr);
    EXPECT_EQ(old->GetOwner(), nullptr);
    EXPECT_EQ(old->m_paragraphs[0].GetCount(), 3);
}

TEST_F(TextObjectTest, TextSizeSpansTheLaidOutCharacters)
{
    auto object = MakeTextObject("ab");
    const auto& chars = object->GetTextBody()->m_paragraphs[0].m_chars;
    const SIZE size = object->GetTextSize();
    EXPECT_EQ(size.cx, chars[1].m_nLeft + chars[1].m_nWidth - chars[0].m_nLeft);
    EXPECT_GT(size.cy, 0);
    CTextObject empty(0.0, 0.0, SIZE{20, 20}, 0.0);
    EXPECT_EQ(empty.GetTextSize().cx, -200000);
}
