#pragma once

// What the Link palette shows and what its controls do, without a window. The link it edits lives in one of three
// holders, chosen anew for every fill and change: the characters of a text being edited in place (no undo step),
// the whole of a plain text (one step of the text kind, one link copied into every character), or the object's own
// link record (one step of the link kind, a copy given to the item's object and to its mouse-over twin).
// Each holder is a type of its own (link_holders.h) with what every handler does to it.

#include <string>
#include <vector>

#include "app/palettes/link_page_state.h"

// The target list's texts, by target.
const std::vector<std::string>& LinkTargetNames();

// Shows the holder's link. Without an object everything is cleared and disabled; an object that carries no link
// (or a plain text that does not allow advanced text) leaves the controls as they are.
void FillLinkPage(LinkControls& controls);

LinkAfter LinkOnUseLink(LinkControls& controls);
LinkAfter LinkOnPageChoice(LinkControls& controls);
LinkAfter LinkOnPageSelChange(LinkControls& controls);
// The page list drops down: every page of the site, the front page marked, the first one selected.
void LinkOnPageDropDown(LinkControls& controls);
LinkAfter LinkOnEmailChoice(LinkControls& controls);
LinkAfter LinkOnEmailKillFocus(LinkControls& controls);
LinkAfter LinkOnAddressChoice(LinkControls& controls);
LinkAfter LinkOnAddressKillFocus(LinkControls& controls);
LinkAfter LinkOnTargetChange(LinkControls& controls);
// The document button: the user picks any file, starting at the object's present document.
LinkAfter LinkOnDocument(LinkControls& controls);
