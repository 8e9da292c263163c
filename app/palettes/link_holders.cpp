#include "app/palettes/link_holders.h"

#include <cctype>

#include "app/build/url_scheme.h"
#include "app/model/link_info.h"
#include "app/model/services.h"
#include "app/objects/text_body.h"
#include "app/objects/text_object.h"
#include "app/palettes/palette_edit.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"

namespace {

// The link of the first selected character, or of the character before the caret; false when there is none.
bool CharacterLink(const CTextObject& text, CLinkInfo& link)
{
    if (!text.GetTextBody()->m_selectionEmpty) {
        TextLinkSameness same;
        text.GetSelectionFormat(same, link);
        return true;
    }
    if (const CLinkInfo* caret = text.GetCaretLink()) {
        link = *caret;
        return true;
    }
    return false;
}

// Characters being edited take the fields, switched on; the text is drawn again.
void ApplyToCharacters(CTextObject& text, TextLinkFields fields, bool repaintView)
{
    fields.activate = !fields.deactivate;
    RECT dirty{0, 0, 0, 0};
    text.ApplyLinkFields(dirty, fields);
    PageView* view = GetCurrentView();
    if (view)
        view->InvalidateEditRect(CRect(dirty));
    text.SetDirty();
    if (CSitePage* page = GetCurrentPage())
        page->RenderDirtyObjects();
    if (view && repaintView)
        view->InvalidateView(false);
}

void ApplyWholeLinkToCharacters(CTextObject& text, const CLinkInfo& link)
{
    RECT dirty{0, 0, 0, 0};
    text.ApplyFormatToSelection(6, dirty, link);
    if (PageView* view = GetCurrentView())
        view->InvalidateEditRect(CRect(dirty));
    text.SetDirty();
    if (CSitePage* page = GetCurrentPage())
        page->RenderDirtyObjects();
}

void SetLinkForAllChars(CTextObject& text, const CLinkInfo& link)
{
    for (auto& paragraph : text.GetTextBody()->m_paragraphs)
        for (auto& ch : paragraph.m_chars)
            ch.m_link = link;
    text.GetTextBody()->SetModified();
}

// A plain text: one step of the text kind, then its link, changed, goes into every character.
void ApplyToWholeText(CTextObject& text, const std::function<void(CLinkInfo&)>& change)
{
    ApplyObjectEdit(
        kUndoTextLinks, [](const CPageObject&) { return false; },
        [&](CPageObject&) {
            CLinkInfo link = text.GetTextLink();
            change(link);
            SetLinkForAllChars(text, link);
        });
}

// The object's record: one step of the link kind; a changed copy goes to the item's object and its twin.
void ApplyToRecord(CPageObject& object, const std::function<void(CLinkInfo&)>& change)
{
    std::unique_ptr<CLinkInfo> link = object.GetLink()->Clone();
    change(*link);
    CPageItem* item = nullptr;
    if (CSitePage* page = GetCurrentPage())
        for (int i = 0; i < page->GetItemCount() && !item; ++i)
            if (page->GetItem(i)->GetObject(false) == &object || page->GetItem(i)->GetObject(true) == &object)
                item = page->GetItem(i);
    ApplyObjectEdit(
        kUndoLink, [](const CPageObject&) { return false; },
        [&](CPageObject& current) {
            if (!item) {
                current.SetLink(std::move(link));
                return;
            }
            if (CPageObject* twin = item->GetObject(true))
                twin->SetLink(link->Clone());
            item->GetObject(false)->SetLink(std::move(link));
        });
}

// After a change of the record the page shows the link switched on with its kind's choice.
LinkAfter AfterRecord(LinkControls& c, int kind)
{
    c.useLink = true;
    c.choice = kind == CLinkInfo::kindPage    ? kLinkChoicePage
               : kind == CLinkInfo::kindEmail ? kLinkChoiceEmail
                                              : kLinkChoiceAddress;
    if (kind == CLinkInfo::kindEmail)
        c.target = 0;
    return {true, true};
}

std::string FixedAddress(LinkControls& c)
{
    std::string address = c.address;
    FixUrl(address);
    c.address = address;
    return address;
}

std::string StrippedAddress(LinkControls& c)
{
    std::string address = c.address;
    StripUrlScheme(address);
    c.address = address;
    return address;
}

// Characters being edited become web-address or document links to address with target; the text's own record
// remembers the address too, without an undo step, so that the next document dialog starts from it.
void LinkCharactersTo(CTextObject& text, bool web, const std::string& address, int target, bool repaintView)
{
    CLinkInfo* own = text.GetLink();
    TextLinkFields fields;
    if (web) {
        if (own) {
            own->SetKind(CLinkInfo::kindUrl);
            own->SetUrl(address);
        }
        fields.setUrl = true;
        fields.url = address;
    } else {
        if (own) {
            own->SetKind(CLinkInfo::kindFile);
            own->SetFile(address);
        }
        fields.setFile = true;
        fields.file = address;
    }
    fields.setTarget = true;
    fields.target = target;
    ApplyToCharacters(text, fields, repaintView);
}

// A document path for characters being edited, unless they already lead there.
LinkAfter ApplyDocumentToCharacters(LinkControls& c, CTextObject& text, const std::string& path, bool focus)
{
    CLinkInfo link;
    const int target = ChosenLinkTarget(c);
    if (!CharacterLink(text, link) || (link.GetFile() == path && link.GetTarget() == target))
        return {};
    TextLinkFields fields;
    fields.setFile = true;
    fields.file = path;
    fields.setTarget = true;
    fields.target = target;
    ApplyToCharacters(text, fields, true);
    return {true, focus};
}

bool EqualIgnoringCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// A plain text takes the address without its scheme, as a web address or a document by the test.
LinkAfter ApplyAddressToWholeText(LinkControls& c, CTextObject& text)
{
    const std::string address = StrippedAddress(c);
    const bool web = IsWebAddressText(address);
    const int target = ChosenLinkTarget(c);
    ApplyToWholeText(text, [&](CLinkInfo& l) {
        if (web) {
            l.SetKind(CLinkInfo::kindUrl);
            l.SetUrl(address);
        } else {
            l.SetKind(CLinkInfo::kindFile);
            l.SetFile(address);
        }
        l.SetTarget(target);
    });
    return {false, true};
}

// A document path for the record, unless it already leads there with that target.
LinkAfter ApplyDocumentToRecord(LinkControls& c, CPageObject& object, bool checkActiveKind)
{
    const std::string path = StrippedAddress(c);
    const int target = ChosenLinkTarget(c);
    const CLinkInfo& record = *object.GetLink();
    const bool same = record.GetFile() == path && record.GetTarget() == target &&
                      (!checkActiveKind || (record.IsActive() && record.GetKind() == CLinkInfo::kindFile));
    if (same)
        return {false, true};
    ApplyToRecord(object, [&](CLinkInfo& l) {
        l.SetKind(CLinkInfo::kindFile);
        l.SetFile(path);
        l.SetTarget(target);
    });
    return AfterRecord(c, CLinkInfo::kindFile);
}

// The characters of a text being edited in place.
class CCharacterLinks final : public CLinkHolder
{
public:
    explicit CCharacterLinks(CTextObject& text) : m_text(text) {}

    LinkAfter UseLink(LinkControls& c) override
    {
        const bool on = c.useLink;
        CLinkInfo link;
        if (!m_text.GetTextBody()->m_selectionEmpty) {
            TextLinkSameness same;
            m_text.GetSelectionFormat(same, link);
            link.SetActive(on);
            ApplyWholeLinkToCharacters(m_text, link);
            return {false, true};
        }
        if (!on) {
            TextLinkFields fields;
            fields.deactivate = true;
            ApplyToCharacters(m_text, fields, false);
            return {false, true};
        }
        const CLinkInfo* caret = m_text.GetCaretLink();
        if (!caret)
            return {};
        link = *caret;
        if (c.choice == kLinkChoicePage) {
            link.SetKind(CLinkInfo::kindPage);
        } else if (c.choice == kLinkChoiceAddress) {
            std::string address = c.address;
            if (address.find_first_of(":/") != std::string::npos || address.find("www") != std::string::npos) {
                FixUrl(address);
                c.address = address;
                link.SetKind(CLinkInfo::kindUrl);
                link.SetUrl(address);
            } else {
                link.SetKind(CLinkInfo::kindFile);
                link.SetFile(address);
            }
            link.SetTarget(ChosenLinkTarget(c));
        } else {
            // The e-mail choice, or none: an e-mail link to the address in the e-mail box.
            link.SetKind(CLinkInfo::kindEmail);
            link.SetEmail(c.email);
            link.SetTarget(0);
        }
        link.SetActive(true);
        ApplyWholeLinkToCharacters(m_text, link);
        return {false, true};
    }

    LinkAfter ChooseKind(LinkControls&, int, LinkAfter,
                         const std::function<void(const CLinkInfo&, TextLinkFields&)>& fields,
                         const LinkChange&) override
    {
        CLinkInfo link;
        if (!CharacterLink(m_text, link))
            return {};
        TextLinkFields chosen;
        fields(link, chosen);
        ApplyToCharacters(m_text, chosen, true);
        return {true, true};
    }

    LinkAfter SelectPage(LinkControls&, int page, int target, const LinkChange&) override
    {
        TextLinkFields fields;
        fields.setPage = true;
        fields.page = page;
        fields.setTarget = true;
        fields.target = target;
        ApplyToCharacters(m_text, fields, true);
        return {true, false};
    }

    LinkAfter LeaveEmail(LinkControls&, const std::string& email, const LinkChange&) override
    {
        CLinkInfo link;
        if (!CharacterLink(m_text, link) || link.GetEmail() == email)
            return {};
        TextLinkFields fields;
        fields.setEmail = true;
        fields.email = email;
        fields.setTarget = true;
        fields.target = 0;
        ApplyToCharacters(m_text, fields, true);
        return {true, false};
    }

    LinkAfter ChooseAddress(LinkControls& c, bool web) override
    {
        if (web)
            return SwitchToWebAddress(c);
        return ApplyDocumentToCharacters(c, m_text, StrippedAddress(c), false);
    }

    LinkAfter LeaveAddress(LinkControls& c, bool web) override
    {
        if (web)
            return ApplyWebAddress(c);
        return ApplyDocumentToCharacters(c, m_text, StrippedAddress(c), false);
    }

    LinkAfter ChooseDocument(LinkControls& c, const std::string& path, int target, const LinkChange&) override
    {
        CLinkInfo link;
        if (!CharacterLink(m_text, link) || (link.GetFile() == path && link.GetTarget() == target))
            return {};
        LinkCharactersTo(m_text, false, path, target, false);
        c.address = path;
        return {true, true};
    }

private:
    LinkAfter SwitchToWebAddress(LinkControls& c)
    {
        const std::string address = FixedAddress(c);
        CLinkInfo link;
        if (!CharacterLink(m_text, link))
            return {};
        LinkCharactersTo(m_text, true, address, link.GetTarget(), true);
        return {true, true};
    }

    // Leaves the keyboard where it is.
    LinkAfter ApplyWebAddress(LinkControls& c)
    {
        const std::string address = FixedAddress(c);
        const int target = ChosenLinkTarget(c);
        CLinkInfo link;
        if (!CharacterLink(m_text, link) || (link.GetUrl() == address && link.GetTarget() == target))
            return {};
        LinkCharactersTo(m_text, true, address, target, true);
        return {true, false};
    }

    CTextObject& m_text;
};

// The whole of a plain text.
class CWholeTextLink final : public CLinkHolder
{
public:
    explicit CWholeTextLink(CTextObject& text) : m_text(text) {}

    LinkAfter UseLink(LinkControls& c) override
    {
        const bool on = c.useLink;
        ApplyToWholeText(m_text, [&](CLinkInfo& l) { l.SetActive(on); });
        return {false, true};
    }

    LinkAfter ChooseKind(LinkControls&, int, LinkAfter wholeTextAfter,
                         const std::function<void(const CLinkInfo&, TextLinkFields&)>&,
                         const LinkChange& change) override
    {
        ApplyToWholeText(m_text, change);
        return wholeTextAfter;
    }

    LinkAfter SelectPage(LinkControls&, int, int, const LinkChange& change) override
    {
        ApplyToWholeText(m_text, change);
        return {false, true};
    }

    LinkAfter LeaveEmail(LinkControls&, const std::string&, const LinkChange& change) override
    {
        ApplyToWholeText(m_text, change);
        return {false, true};
    }

    LinkAfter ChooseAddress(LinkControls& c, bool) override { return ApplyAddressToWholeText(c, m_text); }
    LinkAfter LeaveAddress(LinkControls& c, bool) override { return ApplyAddressToWholeText(c, m_text); }

    LinkAfter ChooseDocument(LinkControls&, const std::string&, int, const LinkChange& change) override
    {
        ApplyToWholeText(m_text, change);
        return {true, true};
    }

private:
    CTextObject& m_text;
};

// The object's own link record; text is the object when it is a text.
class CRecordLink final : public CLinkHolder
{
public:
    CRecordLink(CPageObject& object, CTextObject* text) : m_object(object), m_text(text) {}

    LinkAfter UseLink(LinkControls& c) override
    {
        const bool on = c.useLink;
        ApplyToRecord(m_object, [&](CLinkInfo& l) { l.SetActive(on); });
        return {false, true};
    }

    LinkAfter ChooseKind(LinkControls& c, int kind, LinkAfter,
                         const std::function<void(const CLinkInfo&, TextLinkFields&)>&,
                         const LinkChange& change) override
    {
        if (m_object.GetLink()->GetKind() == kind)
            return {false, true};
        ApplyToRecord(m_object, change);
        return AfterRecord(c, kind);
    }

    LinkAfter SelectPage(LinkControls& c, int, int, const LinkChange& change) override
    {
        // Recorded even when the same page is chosen again.
        ApplyToRecord(m_object, change);
        return AfterRecord(c, CLinkInfo::kindPage);
    }

    LinkAfter LeaveEmail(LinkControls& c, const std::string& email, const LinkChange& change) override
    {
        if (EqualIgnoringCase(m_object.GetLink()->GetEmail(), email))
            return {};
        ApplyToRecord(m_object, change);
        return AfterRecord(c, CLinkInfo::kindEmail);
    }

    LinkAfter ChooseAddress(LinkControls& c, bool web) override
    {
        c.useLink = m_object.GetLink()->IsActive();
        if (!m_text) {
            // A shape: a document path typed here waits for the edit to be left.
            if (web)
                SwitchToWebAddress(c);
            StrippedAddress(c);
            return {true, true};
        }
        if (web) {
            LinkAfter after = ApplyWebAddress(c);
            c.choice = kLinkChoiceAddress;
            return after;
        }
        return ApplyDocumentToRecord(c, m_object, true);
    }

    LinkAfter LeaveAddress(LinkControls& c, bool web) override
    {
        c.useLink = m_object.GetLink()->IsActive();
        if (web)
            return ApplyWebAddress(c);
        return ApplyDocumentToRecord(c, m_object, false);
    }

    LinkAfter ChooseDocument(LinkControls& c, const std::string& path, int target, const LinkChange& change) override
    {
        const CLinkInfo& record = *m_object.GetLink();
        if (record.GetFile() == path && record.GetTarget() == target)
            return {};
        ApplyToRecord(m_object, change);
        c.address = path;
        return AfterRecord(c, CLinkInfo::kindFile);
    }

private:
    LinkAfter SwitchToWebAddress(LinkControls& c)
    {
        FixedAddress(c);
        if (m_object.GetLink()->GetKind() == CLinkInfo::kindUrl)
            return {false, true};
        ApplyToRecord(m_object, [](CLinkInfo& l) { l.SetKind(CLinkInfo::kindUrl); });
        return AfterRecord(c, CLinkInfo::kindUrl);
    }

    // Leaves the keyboard where it is.
    LinkAfter ApplyWebAddress(LinkControls& c)
    {
        const std::string address = FixedAddress(c);
        const int target = ChosenLinkTarget(c);
        const CLinkInfo& record = *m_object.GetLink();
        if (record.GetUrl() == address && record.GetTarget() == target)
            return {};
        ApplyToRecord(m_object, [&](CLinkInfo& l) {
            l.SetKind(CLinkInfo::kindUrl);
            l.SetUrl(address);
            l.SetTarget(target);
        });
        LinkAfter after = AfterRecord(c, CLinkInfo::kindUrl);
        after.focus = false;
        return after;
    }

    CPageObject& m_object;
    CTextObject* m_text;
};

} // namespace

bool IsWebAddressText(const std::string& text)
{
    for (const char* marker : {"www.", ".com", ".net", ".org", ".gov", ".es", ".us", ".edu", "http:"})
        if (text.find(marker) != std::string::npos)
            return true;
    return false;
}

int ChosenLinkTarget(const LinkControls& c)
{
    return ValidateLinkTarget(c.target);
}

std::unique_ptr<CLinkHolder> LinkHolderForChange()
{
    CPageObject* object = GetCurrentObject();
    if (!object)
        return nullptr;
    PageView* view = GetCurrentView();
    CSitePage* viewPage = view ? view->GetPage() : nullptr;
    if (viewPage && viewPage->IsEditingInPlace()) {
        auto* edited = dynamic_cast<CTextObject*>(viewPage->GetEditedObject());
        return edited ? std::make_unique<CCharacterLinks>(*edited) : nullptr;
    }
    auto* text = dynamic_cast<CTextObject*>(object);
    if (text && text->IsPlainObject())
        return std::make_unique<CWholeTextLink>(*text);
    if (object->GetLink())
        return std::make_unique<CRecordLink>(*object, text);
    return nullptr;
}
