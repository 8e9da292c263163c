#pragma once

// Test support for the palette pages: the program's current site, page and object as the tests set them, over the
// recording services of the site library.

#include "app/site/site_services_fake.h"

class PaletteServicesFake : public SiteServicesFake
{
public:
    // With realHistory, pages made from now on get the real undo history rather than the recording one.
    explicit PaletteServicesFake(bool realHistory = false) { realUndo = realHistory; }

    CWebsite* GetCurrentSite() override { return site; }
    CSitePage* GetCurrentPage() override { return page; }
    CPageObject* GetCurrentObject() override { return object; }

    CWebsite* site = nullptr;
    CSitePage* page = nullptr;
    CPageObject* object = nullptr;
};
