#include "app/palettes/link_page_logic.h"

#include <functional>

#include "app/build/url_scheme.h"
#include "app/model/link_info.h"
#include "app/model/services.h"
#include "app/model/site_paths.h"
#include "app/objects/text_body.h"
#include "app/objects/text_object.h"
#include "app/palettes/palette_edit.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "app/site/website.h"

namespace {

constexpr const char* kFrontPageSuffix = " (front page)";

enum class Holder
{
    none,
    characters,
    wholeText,
    record,
};

// Where a change goes: by the view's page while it edits a text, else by the current object.
struct EditHolder
{
    Holder holder = Holder::none;
    CPageObject* object = nullptr;
    CTextObject* text = nullptr;
};

EditHolder HolderForChange()
{
    EditHolder h;
    h.object = GetCurrentObject();
    if (!h.object)
        return h;
    COrvelView* view = GetCurrentView();
    CSitePage* viewPage = view ? GetCoreServices().GetViewPage(view) : nullptr;
    if (viewPage && viewPage->IsEditingInPlace()) {
        h.text = dynamic_cast<CTextObject*>(viewPage->GetEditedObject());
        h.holder = h.text ? Holder::characters : Holder::none;
        return h;
    }
    auto* text = dynamic_cast<CTextObject*>(h.object);
    if (text && text->IsPlainObject()) {
        h.text = text;
        h.holder = Holder::wholeText;
    } else if (h.object->GetLink()) {
        h.text = text;
        h.holder = Holder::record;
    }
    return h;
}

std::string PageEntry(int index)
{
    const CWebsite* site = GetCurrentSite();
    if (!site || index < 0 || index >= site->GetPageCount())
        return {};
    const CSitePage* page = site->GetPage(index);
    return page->GetName() + (page == site->GetHomePage() ? kFrontPageSuffix : "");
}

// The link of the first selected character, or of the character before the caret; false when there is none.
bool CharacterLink(const CTextObject& text, CLinkInfo& link)
{
    if (!text.GetTextBody()->m_bSelectionEmpty) {
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
    COrvelView* view = GetCurrentView();
    GetCoreServices().InvalidateEditRect(view, CRect(dirty));
    text.SetDirty();
    if (CSitePage* page = GetCurrentPage())
        page->RenderDirtyObjects();
    if (view && repaintView)
        GetCoreServices().InvalidateView(view, false);
}

void ApplyWholeLinkToCharacters(CTextObject& text, const CLinkInfo& link)
{
    RECT dirty{0, 0, 0, 0};
    text.ApplyFormatToSelection(6, dirty, link);
    GetCoreServices().InvalidateEditRect(GetCurrentView(), CRect(dirty));
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

int ChosenTarget(const LinkControls& c)
{
    return ValidateLinkTarget(c.target);
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

LinkAfter SwitchToWebAddress(LinkControls& c, const EditHolder& h)
{
    const std::string address = FixedAddress(c);
    if (h.holder == Holder::characters) {
        CLinkInfo link;
        if (!CharacterLink(*h.text, link))
            return {};
        LinkCharactersTo(*h.text, true, address, link.GetTarget(), true);
        return {true, true};
    }
    if (h.holder == Holder::record) {
        if (h.object->GetLink()->GetKind() == CLinkInfo::kindUrl)
            return {false, true};
        ApplyToRecord(*h.object, [](CLinkInfo& l) { l.SetKind(CLinkInfo::kindUrl); });
        return AfterRecord(c, CLinkInfo::kindUrl);
    }
    return {};
}

// Leaves the keyboard where it is.
LinkAfter ApplyWebAddress(LinkControls& c, const EditHolder& h)
{
    const std::string address = FixedAddress(c);
    const int target = ChosenTarget(c);
    if (h.holder == Holder::characters) {
        CLinkInfo link;
        if (!CharacterLink(*h.text, link) || (link.GetUrl() == address && link.GetTarget() == target))
            return {};
        LinkCharactersTo(*h.text, true, address, target, true);
        return {true, false};
    }
    if (h.holder == Holder::record) {
        const CLinkInfo& record = *h.object->GetLink();
        if (record.GetUrl() == address && record.GetTarget() == target)
            return {};
        ApplyToRecord(*h.object, [&](CLinkInfo& l) {
            l.SetKind(CLinkInfo::kindUrl);
            l.SetUrl(address);
            l.SetTarget(target);
        });
        LinkAfter after = AfterRecord(c, CLinkInfo::kindUrl);
        after.focus = false;
        return after;
    }
    return {};
}

// A document path for characters being edited, unless they already lead there.
LinkAfter ApplyDocumentToCharacters(LinkControls& c, CTextObject& text, const std::string& path, bool focus)
{
    CLinkInfo link;
    const int target = ChosenTarget(c);
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

// A kind choice clicked: edited characters take the kind with the value their link already holds for it (fields
// says which), a whole text takes change (then wholeTextAfter), the record takes change unless it has the kind.
LinkAfter ApplyKindChoice(LinkControls& c, int kind, LinkAfter wholeTextAfter,
                          const std::function<void(const CLinkInfo&, TextLinkFields&)>& fields,
                          const std::function<void(CLinkInfo&)>& change)
{
    const EditHolder h = HolderForChange();
    switch (h.holder) {
    case Holder::characters: {
        CLinkInfo link;
        if (!CharacterLink(*h.text, link))
            return {};
        TextLinkFields chosen;
        fields(link, chosen);
        ApplyToCharacters(*h.text, chosen, true);
        return {true, true};
    }
    case Holder::wholeText:
        ApplyToWholeText(*h.text, change);
        return wholeTextAfter;
    case Holder::record:
        if (h.object->GetLink()->GetKind() == kind)
            return {false, true};
        ApplyToRecord(*h.object, change);
        return AfterRecord(c, kind);
    case Holder::none:
        break;
    }
    return {};
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

} // namespace

bool IsWebAddressText(const std::string& text)
{
    for (const char* marker : {"www.", ".com", ".net", ".org", ".gov", ".es", ".us", ".edu", "http:"})
        if (text.find(marker) != std::string::npos)
            return true;
    return false;
}

const std::vector<std::string>& LinkTargetNames()
{
    static const std::vector<std::string> names = {"Default", "Same Frame   (_self)", "Whole Page   (_top)",
                                                   "New Window (_blank)", "Parent Frame (_parent)"};
    return names;
}

void FillLinkPage(LinkControls& c)
{
    CPageObject* object = GetCurrentObject();
    if (!object) {
        c = LinkControls();
        c.pageEntries = {std::string()};
        c.pageSelection = 0;
        return;
    }
    auto* text = dynamic_cast<CTextObject*>(object);
    const bool gate =
        text ? (text->IsEditing() && text->IsPlainObject()) || text->AllowsAdvancedText() : object->HasFill();
    if (!gate)
        return;
    c.enabled = true;

    Holder holder = Holder::record;
    if (text && text->IsEditing())
        holder = Holder::characters;
    else if (text && text->IsPlainObject())
        holder = Holder::wholeText;
    // The link shown, and the stored link that showing it may normalise.
    CLinkInfo shown;
    CLinkInfo* stored = nullptr;
    bool caret = false;
    bool fromRecord = false;
    if (holder == Holder::characters) {
        if (!text->GetTextBody()->m_bSelectionEmpty) {
            TextLinkSameness same;
            text->GetSelectionFormat(same, shown);
        } else {
            const CLinkInfo* link = text->GetCaretLink();
            if (!link)
                return;
            stored = const_cast<CLinkInfo*>(link);
            caret = true;
        }
    } else if (holder == Holder::wholeText) {
        shown = text->GetTextLink();
        if (!shown.IsActive() && object->GetLink()) {
            stored = object->GetLink();
            fromRecord = true;
        }
    } else {
        stored = object->GetLink();
        if (!stored)
            return;
    }
    CLinkInfo& link = stored ? *stored : shown;
    const int kind = link.GetKind();

    c.useLink = fromRecord ? false : link.IsActive();
    c.pageEntries = {PageEntry(link.GetPage())};
    c.pageSelection = 0;
    if (caret) {
        if (kind == CLinkInfo::kindEmail)
            c.email = link.GetEmail();
    } else if (holder == Holder::wholeText && !fromRecord) {
        c.email = kind == CLinkInfo::kindEmail ? link.GetEmail() : CLinkInfo::kDefaultEmail;
    } else {
        c.email = link.GetEmail();
    }
    if (kind == CLinkInfo::kindUrl) {
        // Showing a stored address repairs it in the record; a copy is shown for the others.
        std::string url = link.GetUrl();
        FixUrl(url);
        if (stored)
            stored->SetUrl(url);
        c.address = url;
    } else if (kind == CLinkInfo::kindFile) {
        std::string file = link.GetFile();
        if (fromRecord) {
            StripUrlScheme(file);
            stored->SetFile(file);
        }
        c.address = file;
    } else if (holder == Holder::characters && !caret) {
        c.address = "http://";
    } else if (fromRecord) {
        c.address = "http://";
    } else if (holder == Holder::wholeText && c.address.empty()) {
        c.address = "http://";
    }
    c.target = link.GetTarget();
    c.choice = kind == CLinkInfo::kindPage    ? kLinkChoicePage
               : kind == CLinkInfo::kindEmail ? kLinkChoiceEmail
                                              : kLinkChoiceAddress;
    if (kind == CLinkInfo::kindEmail)
        c.target = 0;
}

LinkAfter LinkOnUseLink(LinkControls& c)
{
    const EditHolder h = HolderForChange();
    const bool on = c.useLink;
    switch (h.holder) {
    case Holder::characters: {
        CLinkInfo link;
        if (!h.text->GetTextBody()->m_bSelectionEmpty) {
            TextLinkSameness same;
            h.text->GetSelectionFormat(same, link);
            link.SetActive(on);
            ApplyWholeLinkToCharacters(*h.text, link);
            return {false, true};
        }
        if (!on) {
            TextLinkFields fields;
            fields.deactivate = true;
            ApplyToCharacters(*h.text, fields, false);
            return {false, true};
        }
        const CLinkInfo* caret = h.text->GetCaretLink();
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
            link.SetTarget(ChosenTarget(c));
        } else {
            // The e-mail choice, or none: an e-mail link to the address in the e-mail box.
            link.SetKind(CLinkInfo::kindEmail);
            link.SetEmail(c.email);
            link.SetTarget(0);
        }
        link.SetActive(true);
        ApplyWholeLinkToCharacters(*h.text, link);
        return {false, true};
    }
    case Holder::wholeText:
        ApplyToWholeText(*h.text, [&](CLinkInfo& l) { l.SetActive(on); });
        return {false, true};
    case Holder::record:
        ApplyToRecord(*h.object, [&](CLinkInfo& l) { l.SetActive(on); });
        return {false, true};
    case Holder::none:
        break;
    }
    return {};
}

LinkAfter LinkOnPageChoice(LinkControls& c)
{
    if (c.choice != kLinkChoicePage)
        return {};
    return ApplyKindChoice(
        c, CLinkInfo::kindPage, {true, true},
        [](const CLinkInfo& link, TextLinkFields& fields) {
            fields.setPage = true;
            fields.page = link.GetPage();
        },
        [](CLinkInfo& l) { l.SetKind(CLinkInfo::kindPage); });
}

LinkAfter LinkOnPageSelChange(LinkControls& c)
{
    const EditHolder h = HolderForChange();
    if (h.holder == Holder::none)
        return {};
    if (c.pageSelection < 0 || c.pageSelection >= static_cast<int>(c.pageEntries.size()))
        return {true, false};
    std::string name = c.pageEntries[c.pageSelection];
    const CWebsite* site = GetCurrentSite();
    if (!site)
        return {};
    const size_t suffix = name.find(kFrontPageSuffix);
    if (suffix != std::string::npos && suffix > 0 && site->GetHomePage())
        name = site->GetHomePage()->GetName();
    int page = -1;
    for (int i = 0; i < site->GetPageCount() && page < 0; ++i)
        if (site->GetPage(i)->GetName() == name)
            page = i;
    if (page < 0)
        return {};
    const int target = ChosenTarget(c);
    const auto change = [&](CLinkInfo& l) {
        l.SetKind(CLinkInfo::kindPage);
        l.SetPage(page);
        l.SetTarget(target);
    };
    switch (h.holder) {
    case Holder::characters: {
        TextLinkFields fields;
        fields.setPage = true;
        fields.page = page;
        fields.setTarget = true;
        fields.target = target;
        ApplyToCharacters(*h.text, fields, true);
        return {true, false};
    }
    case Holder::wholeText:
        ApplyToWholeText(*h.text, change);
        return {false, true};
    case Holder::record:
        // Recorded even when the same page is chosen again.
        ApplyToRecord(*h.object, change);
        return AfterRecord(c, CLinkInfo::kindPage);
    case Holder::none:
        break;
    }
    return {};
}

void LinkOnPageDropDown(LinkControls& c)
{
    const CWebsite* site = GetCurrentSite();
    if (!GetCurrentObject() || !site)
        return;
    c.pageEntries.clear();
    for (int i = 0; i < site->GetPageCount(); ++i)
        c.pageEntries.push_back(PageEntry(i));
    c.pageSelection = c.pageEntries.empty() ? -1 : 0;
}

LinkAfter LinkOnEmailChoice(LinkControls& c)
{
    if (c.choice != kLinkChoiceEmail)
        return {};
    return ApplyKindChoice(
        c, CLinkInfo::kindEmail, {false, true},
        [](const CLinkInfo& link, TextLinkFields& fields) {
            fields.setEmail = true;
            fields.email = link.GetEmail();
            fields.setTarget = true;
            fields.target = 0;
        },
        [](CLinkInfo& l) {
            l.SetKind(CLinkInfo::kindEmail);
            l.SetTarget(0);
        });
}

LinkAfter LinkOnEmailKillFocus(LinkControls& c)
{
    const EditHolder h = HolderForChange();
    const std::string email = c.email;
    const auto change = [&](CLinkInfo& l) {
        l.SetKind(CLinkInfo::kindEmail);
        l.SetEmail(email);
        l.SetTarget(0);
    };
    switch (h.holder) {
    case Holder::characters: {
        CLinkInfo link;
        if (!CharacterLink(*h.text, link) || link.GetEmail() == email)
            return {};
        TextLinkFields fields;
        fields.setEmail = true;
        fields.email = email;
        fields.setTarget = true;
        fields.target = 0;
        ApplyToCharacters(*h.text, fields, true);
        return {true, false};
    }
    case Holder::wholeText:
        ApplyToWholeText(*h.text, change);
        return {false, true};
    case Holder::record:
        if (EqualIgnoringCase(h.object->GetLink()->GetEmail(), email))
            return {};
        ApplyToRecord(*h.object, change);
        return AfterRecord(c, CLinkInfo::kindEmail);
    case Holder::none:
        break;
    }
    return {};
}

namespace {

// A plain text takes the address without its scheme, as a web address or a document by the test.
LinkAfter ApplyAddressToWholeText(LinkControls& c, CTextObject& text)
{
    const std::string address = StrippedAddress(c);
    const bool web = IsWebAddressText(address);
    const int target = ChosenTarget(c);
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
    const int target = ChosenTarget(c);
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

} // namespace

LinkAfter LinkOnAddressChoice(LinkControls& c)
{
    const EditHolder h = HolderForChange();
    if (c.choice != kLinkChoiceAddress)
        return {};
    const bool web = IsWebAddressText(c.address);
    switch (h.holder) {
    case Holder::characters:
        if (web)
            return SwitchToWebAddress(c, h);
        return ApplyDocumentToCharacters(c, *h.text, StrippedAddress(c), false);
    case Holder::wholeText:
        return ApplyAddressToWholeText(c, *h.text);
    case Holder::record:
        c.useLink = h.object->GetLink()->IsActive();
        if (!h.text) {
            // A shape: a document path typed here waits for the edit to be left.
            if (web)
                SwitchToWebAddress(c, h);
            StrippedAddress(c);
            return {true, true};
        }
        if (web) {
            LinkAfter after = ApplyWebAddress(c, h);
            c.choice = kLinkChoiceAddress;
            return after;
        }
        return ApplyDocumentToRecord(c, *h.object, true);
    case Holder::none:
        break;
    }
    return {};
}

LinkAfter LinkOnAddressKillFocus(LinkControls& c)
{
    const EditHolder h = HolderForChange();
    const bool web = IsWebAddressText(c.address);
    switch (h.holder) {
    case Holder::characters:
        if (web)
            return ApplyWebAddress(c, h);
        return ApplyDocumentToCharacters(c, *h.text, StrippedAddress(c), false);
    case Holder::wholeText:
        return ApplyAddressToWholeText(c, *h.text);
    case Holder::record:
        c.useLink = h.object->GetLink()->IsActive();
        if (web)
            return ApplyWebAddress(c, h);
        return ApplyDocumentToRecord(c, *h.object, false);
    case Holder::none:
        break;
    }
    return {};
}

LinkAfter LinkOnTargetChange(LinkControls& c)
{
    if (!c.useLink || c.choice == kLinkChoiceEmail) {
        c.target = 0;
        return {};
    }
    if (c.choice == kLinkChoicePage)
        return LinkOnPageSelChange(c);
    if (c.choice == kLinkChoiceAddress)
        return LinkOnAddressKillFocus(c);
    return {};
}

LinkAfter LinkOnDocument(LinkControls& c)
{
    CPageObject* object = GetCurrentObject();
    if (!object || !object->GetLink())
        return {};
    // The dialog starts from the object's own record, whatever holds the link being edited.
    const std::string present = object->GetLink()->GetFile();
    std::string title = GetPathFileName(present);
    const std::string extension = GetFileExtension(title);
    title.resize(title.size() - extension.size());
    std::string path;
    if (!GetCoreServices().GetDocumentFileName(present.empty() ? std::string() : GetPathFolder(present), title, path))
        return {};
    const EditHolder h = HolderForChange();
    const int target = ChosenTarget(c);
    switch (h.holder) {
    case Holder::characters: {
        CLinkInfo link;
        if (!CharacterLink(*h.text, link) || (link.GetFile() == path && link.GetTarget() == target))
            return {};
        LinkCharactersTo(*h.text, false, path, target, false);
        c.address = path;
        return {true, true};
    }
    case Holder::wholeText:
        ApplyToWholeText(*h.text, [&](CLinkInfo& l) {
            l.SetActive(true);
            l.SetKind(CLinkInfo::kindFile);
            l.SetFile(path);
            l.SetTarget(target);
        });
        return {true, true};
    case Holder::record: {
        const CLinkInfo& record = *h.object->GetLink();
        if (record.GetFile() == path && record.GetTarget() == target)
            return {};
        ApplyToRecord(*h.object, [&](CLinkInfo& l) {
            l.SetActive(true);
            l.SetKind(CLinkInfo::kindFile);
            l.SetFile(path);
            l.SetTarget(target);
        });
        c.address = path;
        return AfterRecord(c, CLinkInfo::kindFile);
    }
    case Holder::none:
        break;
    }
    return {};
}
