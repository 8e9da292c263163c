#pragma once

// The objects block of the clipboard: the selected groups of a page and their items, as another page of this or
// another running program reads them back. Any program can put bytes on the clipboard under the block's name, so
// the reader takes nothing on trust.

#include <memory>
#include <vector>

#include "app/model/page_size.h"
#include "platform/win/win_types.h"

class CFile;
class CImage;
class CPageItem;
class CSitePage;

// A picture as other programs take it: rows of red, green and blue bytes, no padding.
struct RgbPicture
{
    int width = 0;
    int height = 0;
    std::vector<BYTE> rgb;
    // Set, with no picture, for an object whose picture would be larger than the largest page.
    bool tooLarge = false;
};

// The most pixels a picture for other programs holds: those of the largest page (2000 x 30000, 180 MB of RGB). A
// pasted object may claim any size up to 2^24 pixels a side, whose picture no machine could hold.
constexpr long long kMaxClipboardPicturePixels = static_cast<long long>(kMaxPageWidth) * kMaxPageHeight;

// The selected groups (as the page lists them), then each selected item from the bottom with the index of its
// group among those written. False, with nothing written, when nothing is selected.
bool WriteObjectsBlock(const CSitePage& page, CFile& file);

// Reads a block into the page, whose selection is cleared first: the groups and items join the page selected,
// their page links reset when the block came from another site, else kept within pageCount pages. A group wholly
// outside the visible part of the page is moved to its centre. Records the step that takes them back. False, with
// the page as it was, for a block that is not whole and sound, and for one the site's writer would refuse once so
// placed (what pastes can always be copied, pasted again and saved).
bool PasteObjectsBlock(CSitePage& page, CFile& file, bool otherSite, int pageCount, const CRect& visible);

// The picture of an item for other programs: its object as drawn, each pixel over white. Empty for an object of
// no size, and, marked too large, for one whose picture would hold more than kMaxClipboardPicturePixels.
RgbPicture RenderItemOnWhite(CPageItem& item);

// A picture from another program becomes a rectangle of its size filled with it, centred on the visible part of
// the page and the only selection; records the step that takes it back.
CPageItem* PastePicture(CSitePage& page, std::unique_ptr<CImage> picture, const CRect& visible);
