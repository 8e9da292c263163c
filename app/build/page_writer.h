#pragma once

// The links of the page writer's HTML text. WritePage itself is declared with the builder's records.

#include <string>

#include "app/build/site_builder.h"

class CSitePage;

// The target attribute of a link, with its trailing blank: 1 _self, 2 _top, 3 _blank, 4 _parent; empty otherwise.
std::string TargetAttribute(int target);
// Empty for a link that is off and for e-mail links, which open the mail program rather than a window.
std::string TextLinkTarget(const TextLinkRun& run);
// The address of a text link on page: a page's file name ("index.html" for the front page), "mailto:" and the
// address, the URL repaired in place in the run, or a linked document ("files/Download/" and its published name in
// an online build, the file address of its own path in an offline build).
std::string TextLinkHref(const CSiteBuilder& builder, TextLinkRun& run, const CSitePage& page);
