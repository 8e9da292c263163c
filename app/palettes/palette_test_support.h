#pragma once

// Test support for the palette pages: the program's current site, page and object as the tests set them, over the
// recording services of the site library.

#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "app/site/site_services_fake.h"

#include <gtest/gtest.h>

#include <memory>

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

// The start of the page logic tests: a page that is the program's current page, with the recording undo history,
// and one object at a time added and made the current object.
template <class Services = PaletteServicesFake> class PalettePageTest : public ::testing::Test
{
protected:
    PalettePageTest() : page(nullptr, "home", "Home")
    {
        services.page = &page;
        services.ShowPage(&page);
        undo = services.lastUndoManager;
    }

    // Adds the object to the page and makes it the current object.
    CPageObject* Select(std::unique_ptr<CPageObject> object)
    {
        CPageItem* item = page.AddObject(std::move(object));
        page.SelectItem(item);
        services.object = item->GetCurrentObject();
        return services.object;
    }
    size_t Steps() const { return undo->recorded.size(); }

    Services services;
    CSitePage page;
    RecordingUndoManager* undo = nullptr;
};
