#pragma once

// The settings new pages get (size, centring, DOCTYPE, background) with the site's link colours, and how they are
// applied to one page of the site or handed on to every page. Each page that changes records an undo step of the
// page settings and counts as modified and changed since the last upload.

#include "app/model/fill_style.h"

class CSitePage;
class CWebsite;

struct PageDefaults
{
    int width = 740;
    int height = 600;
    // 0 Transitional, anything else Strict.
    int doctype = 0;
    bool centered = false;
    // Its kind, colour, picture path, gradient and direction go to the pages; the rest stays each page's own.
    CFillStyle background;
    CColor linkColor = CColor(0, 0, 255);
    CColor visitedLinkColor = CColor(128, 0, 128);
};

// The site's defaults for new pages and its link colours.
PageDefaults ReadPageDefaults(const CWebsite& site);

// The page takes the size, centring, DOCTYPE and background. When a link colour differs from the site's, the site
// takes both and the linked texts of every page are drawn again.
void ApplyPageDefaults(CWebsite& site, CSitePage& page, const PageDefaults& defaults);

// Every page takes the settings as ApplyPageDefaults gives them; the site's defaults for new pages follow the
// front page's new settings.
void TransferPageDefaults(CWebsite& site, const PageDefaults& defaults);
