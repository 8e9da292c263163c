#pragma once

// Test support for the palettes' windows: an owner frame with the palette manager over a site-less page with the
// real undo history, on the private display the GUI tests run on, with the steps the tests take on a palette.

#include <memory>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/frame.h>
#include <wx/uiaction.h>

#include "app/model/undo_manager.h"
#include "app/palettes/palette_test_support.h"
#include "app/palettes/prop_frames.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "platform/gui/window_picture.h"
#include "platform/gui/xrc_resources.h"
#include "testing/gui_settle.h"
#include "testing/test_output.h"

class PaletteWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(LoadXrcResources());
        page = std::make_unique<CSitePage>(nullptr, "home", "Home");
        services.page = page.get();
        services.ShowPage(page.get());
        // Away from where the palette stands, so that the palette's picture shows the palette.
        owner = new wxFrame(nullptr, wxID_ANY, "owner", wxPoint(700, 0), wxSize(200, 100));
        wxTheApp->SetTopWindow(owner);
        owner->Show();
        ASSERT_EQ(manager.Create(MakePaletteHost(owner, manager)), 0);
    }
    void TearDown() override
    {
        owner->Destroy();
        Settle();
    }

    // Shows the palette and answers its page.
    template <class Page> Page* ShowPalette(int index)
    {
        manager.ShowPropSheet(index);
        Settle();
        frame = dynamic_cast<CPropFrame*>(manager.GetPropFrame(index));
        return frame ? dynamic_cast<Page*>(frame->GetSheet()->GetActivePage()) : nullptr;
    }
    // Adds the object, selects it and tells the palette, as the view does.
    CPageObject* Select(std::unique_ptr<CPageObject> object)
    {
        CPageItem* item = page->AddObject(std::move(object));
        page->SelectItem(item);
        services.object = item->GetCurrentObject();
        manager.NotifyActivePropPage(kRefreshSelection);
        Settle();
        return services.object;
    }
    static void Click(wxWindow* window)
    {
        ASSERT_NE(window, nullptr);
        wxUIActionSimulator mouse;
        const wxRect area = window->GetScreenRect();
        mouse.MouseMove(area.GetLeft() + area.GetWidth() / 2, area.GetTop() + area.GetHeight() / 2);
        mouse.MouseClick();
        Settle();
    }
    int UndoSteps()
    {
        CUndoManager* undo = page->GetUndoManager();
        int steps = 0;
        for (; undo->CanUndo() && steps < 10; ++steps)
            undo->Undo();
        return steps;
    }
    // The palette as a person sees it. After a picture the display no longer shows later drawing of this process,
    // so a test takes one, last.
    void Picture(const char* name)
    {
        frame->Refresh();
        frame->Update();
        for (int i = 0; i < 3; ++i)
            Settle();
        EXPECT_TRUE(SaveWindowPicture(frame, (TestOutputFolder() / name).string()));
    }

    PaletteServicesFake services{true};
    std::unique_ptr<CSitePage> page;
    wxFrame* owner = nullptr;
    CPropSheetManager manager;
    CPropFrame* frame = nullptr;
};
