#include "app/palettes/link_page_logic.h"

#include "app/build/url_scheme.h"
#include "app/model/link_info.h"
#include "app/model/services.h"
#include "app/model/site_paths.h"
#include "app/objects/text_body.h"
#include "app/objects/text_object.h"
#include "app/palettes/link_holders.h"
#include "app/site/site_page.h"
#include "app/site/website.h"

namespace {

constexpr const char* kFrontPageSuffix = " (front page)";

// Which holder's link the page shows.
enum class Holder
{
    characters,
    wholeText,
    record,
};

std::string PageEntry(int index)
{
    const CWebsite* site = GetCurrentSite();
    if (!site || index < 0 || index >= site->GetPageCount())
        return {};
    const CSitePage* page = site->GetPage(index);
    return page->GetName() + (page == site->GetHomePage() ? kFrontPageSuffix : "");
}

} // namespace

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
        if (!text->GetTextBody()->m_selectionEmpty) {
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
    const std::unique_ptr<CLinkHolder> h = LinkHolderForChange();
    return h ? h->UseLink(c) : LinkAfter{};
}

LinkAfter LinkOnPageChoice(LinkControls& c)
{
    if (c.choice != kLinkChoicePage)
        return {};
    const std::unique_ptr<CLinkHolder> h = LinkHolderForChange();
    if (!h)
        return {};
    return h->ChooseKind(
        c, CLinkInfo::kindPage, {true, true},
        [](const CLinkInfo& link, TextLinkFields& fields) {
            fields.setPage = true;
            fields.page = link.GetPage();
        },
        [](CLinkInfo& l) { l.SetKind(CLinkInfo::kindPage); });
}

LinkAfter LinkOnPageSelChange(LinkControls& c)
{
    const std::unique_ptr<CLinkHolder> h = LinkHolderForChange();
    if (!h)
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
    const int target = ChosenLinkTarget(c);
    const auto change = [&](CLinkInfo& l) {
        l.SetKind(CLinkInfo::kindPage);
        l.SetPage(page);
        l.SetTarget(target);
    };
    return h->SelectPage(c, page, target, change);
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
    const std::unique_ptr<CLinkHolder> h = LinkHolderForChange();
    if (!h)
        return {};
    return h->ChooseKind(
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
    const std::unique_ptr<CLinkHolder> h = LinkHolderForChange();
    const std::string email = c.email;
    const auto change = [&](CLinkInfo& l) {
        l.SetKind(CLinkInfo::kindEmail);
        l.SetEmail(email);
        l.SetTarget(0);
    };
    return h ? h->LeaveEmail(c, email, change) : LinkAfter{};
}

LinkAfter LinkOnAddressChoice(LinkControls& c)
{
    const std::unique_ptr<CLinkHolder> h = LinkHolderForChange();
    if (c.choice != kLinkChoiceAddress)
        return {};
    const bool web = IsWebAddressText(c.address);
    return h ? h->ChooseAddress(c, web) : LinkAfter{};
}

LinkAfter LinkOnAddressKillFocus(LinkControls& c)
{
    const std::unique_ptr<CLinkHolder> h = LinkHolderForChange();
    const bool web = IsWebAddressText(c.address);
    return h ? h->LeaveAddress(c, web) : LinkAfter{};
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
    if (!GetModelDialogs().GetDocumentFileName(present.empty() ? std::string() : GetPathFolder(present), title, path))
        return {};
    const std::unique_ptr<CLinkHolder> h = LinkHolderForChange();
    const int target = ChosenLinkTarget(c);
    return h ? h->ChooseDocument(c, path, target,
                                 [&](CLinkInfo& l) {
                                     l.SetActive(true);
                                     l.SetKind(CLinkInfo::kindFile);
                                     l.SetFile(path);
                                     l.SetTarget(target);
                                 })
             : LinkAfter{};
}
