#pragma once

// What the Link palette's controls hold, which its page logic (link_page_logic.h) and the link's holders
// (link_holders.h) read and write, and what the page does after a handler.

#include <string>
#include <vector>

// The kind choices: a page of the site, an e-mail address, a web address or document.
enum LinkChoice : int
{
    kLinkChoiceNone = -1,
    kLinkChoicePage = 0,
    kLinkChoiceEmail = 1,
    kLinkChoiceAddress = 2,
};

// What the page's controls hold. The handlers read it and write back what they do to the controls.
struct LinkControls
{
    bool enabled = false;
    bool useLink = false;
    int choice = kLinkChoiceNone;
    std::vector<std::string> pageEntries;
    int pageSelection = -1;
    std::string email;
    std::string address;
    int target = -1; // the target list's selection
};

// What the page does after a handler.
struct LinkAfter
{
    bool refill = false; // read the holder again
    bool focus = false;  // give the keyboard back to the main window
};
