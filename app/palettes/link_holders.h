#pragma once

// The three places the Link palette's link can live, each with what the page's handlers do to it: the characters
// of a text being edited in place (no undo step), the whole of a plain text (one step of the text kind, one link
// copied into every character), and the object's own link record (one step of the link kind, a copy given to the
// item's object and to its mouse-over twin).

#include <functional>
#include <memory>
#include <string>

#include "app/palettes/link_page_state.h"

class CLinkInfo;
struct TextLinkFields;

using LinkChange = std::function<void(CLinkInfo&)>;

class CLinkHolder
{
public:
    virtual ~CLinkHolder() = default;

    // The link switched on or off.
    virtual LinkAfter UseLink(LinkControls& c) = 0;
    // A kind choice clicked: edited characters take the kind with the value their link already holds for it (fields
    // says which), a whole text takes change (then wholeTextAfter), the record takes change unless it has the kind.
    virtual LinkAfter ChooseKind(LinkControls& c, int kind, LinkAfter wholeTextAfter,
                                 const std::function<void(const CLinkInfo&, TextLinkFields&)>& fields,
                                 const LinkChange& change) = 0;
    // A page of the site chosen with the target; change makes a link that leads there.
    virtual LinkAfter SelectPage(LinkControls& c, int page, int target, const LinkChange& change) = 0;
    // The e-mail box left holding email; change makes a link that writes to it.
    virtual LinkAfter LeaveEmail(LinkControls& c, const std::string& email, const LinkChange& change) = 0;
    // The address choice clicked, or the address box left, with a web address (web) or a document path typed.
    virtual LinkAfter ChooseAddress(LinkControls& c, bool web) = 0;
    virtual LinkAfter LeaveAddress(LinkControls& c, bool web) = 0;
    // A document picked in the dialog; change makes an active link that leads to it.
    virtual LinkAfter ChooseDocument(LinkControls& c, const std::string& path, int target,
                                     const LinkChange& change) = 0;
};

// Where a change goes: by the view's page while it edits a text, else by the current object; null for nowhere.
std::unique_ptr<CLinkHolder> LinkHolderForChange();

// The target the controls choose, made valid.
int ChosenLinkTarget(const LinkControls& c);

// Whether a typed address is a web address rather than a document path: it holds, with exact case, "www.", ".com",
// ".net", ".org", ".gov", ".es", ".us", ".edu" or "http:" anywhere.
bool IsWebAddressText(const std::string& text);
