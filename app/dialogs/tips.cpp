#include "app/dialogs/tips.h"

#include <cstdlib>
#include <ctime>

namespace {

const char* const kTips[] = {
    "Plan your website before you build it: decide which pages it needs, what goes on each, and how visitors move "
    "from one page to the next.",
    "The Toolbox can be moved by its handle and docked on the left or on the right side of the window.",
    "No time to design from scratch? Start from one of the ready-made designs with File > New From Theme.",
    "Guides and the grid help you place objects precisely. Right-click the page to insert guides or switch on the "
    "grid.",
    "Advanced text turns a text into a picture, so unusual fonts look the same on every visitor's computer. Switch "
    "it on in the Object inspector.",
    "The Settings menu shows and hides the toolbar, the Toolbox, the inspector and the status bar.",
    "The help dialogs explain each tool the first time you use it. Settings > Help Dialogs switches them back on.",
    "Publish your website with the built-in FTP: enter your server's details once, then press Send.",
    "The Tools menu leads to companion programs for forms, photo galleries and more.",
    "Glow, shadow and bevel in the Effects inspector give any object depth.",
    "Add pictures with the Picture tool, or fill any shape with a picture in the Fill inspector.",
    "A mouse-over effect changes an object when a visitor's mouse moves over it. Create one in the Mouseover "
    "inspector.",
    "Make the settings of a page the standard for every new page in the page defaults.",
    "Keywords and a description help search engines find your pages. Enter them in the page's meta tags.",
    "Files that your HTML objects use are added to the website with File > Add Files.",
    "Give your pictures an alternate text: visitors who cannot see the picture read it instead.",
    "The Object inspector shows the size, position and angle of the selected object, and lets you change them.",
    "The status bar shows the page count, the position and size of the selected object, and the time a page takes "
    "to load.",
    "After a change, Upload sends only the pages that changed; the Settings menu can publish the whole site again "
    "or remove it from the server.",
    "The area beyond the page's border can show a solid colour or the page's own background fill.",
};

} // namespace

CTipsList::CTipsList(unsigned start) : m_tips(std::begin(kTips), std::end(kTips))
{
    m_nIndex = static_cast<int>(start % m_tips.size());
}

void CTipsList::Next()
{
    m_nIndex = (m_nIndex + 1) % GetCount();
}

void CTipsList::Previous()
{
    m_nIndex = (m_nIndex + GetCount() - 1) % GetCount();
}

unsigned RandomTipStart()
{
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    return static_cast<unsigned>(std::rand());
}
