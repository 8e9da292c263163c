// A site whose linked picture went missing: the user is asked, the object takes its fill's colour, and the site
// counts as changed until it is saved, and no longer after.

#include "app/model/fill_info.h"
#include "app/model/seams_test_support.h"
#include "app/objects/rectangle_object.h"
#include "app/shell/logic/idle_rendering.h"
#include "app/shell/orvel_app.h"
#include "app/shell/shell_test_support.h"
#include "app/site/page_item.h"

#include <filesystem>
#include <wx/image.h>

namespace {

// What the idle time does once the user leaves the program alone: every piece of the open pages is rendered.
void RenderWhileIdle(CMainFrame* frame)
{
    for (int i = 0; i < 1000 && RenderNextPiece(frame->GetPageWindows().GetPages()) == IdleWork::done; ++i) {
    }
    Settle();
}

// The recording services, marking the site changed as the program does, with the missing-picture question
// answered as a user who keeps the fill's colour answers it.
class MissingPictureServices : public RecordingServices
{
public:
    using RecordingServices::RecordingServices;
    void SetSiteModified() override
    {
        if (CWebsite* site = GetCurrentSite())
            site->SetModified();
    }
    DialogAnswer ShowFillMissingDialog(FillPictureDialog& dialog) override
    {
        messages.push_back("missing: " + dialog.m_strPath);
        return DialogAnswer::cancel;
    }
};

TEST_F(ShellTest, AMissingPictureIsToldOnceAndASavedSiteIsNotChanged)
{
    MissingPictureServices asked(frame);
    const SeamsInstalled askedSeams(asked);
    const std::string picture = scratch / "sky.png";
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxImage::AddHandler(new wxPNGHandler());
    ASSERT_TRUE(wxImage(40, 20).SaveFile(picture, wxBITMAP_TYPE_PNG));
    auto site = MakeSite({"Home", "About"});
    auto rectangle = std::make_unique<CRectangleObject>(60, 40, SIZE{80, 40}, 0.0);
    rectangle->GetFill()->SetImageFile(picture);
    site->GetPage(1)->InsertItem(std::make_unique<CPageItem>(std::move(rectangle), nullptr));
    const std::string path = scratch / "bakery-v6.kst";
    ASSERT_TRUE(SaveSiteFile(*site, path));
    std::filesystem::remove(picture);

    Start();
    ASSERT_NE(frame->GetOpenSite().OpenDocumentFile(path), nullptr);
    RenderWhileIdle(frame);
    EXPECT_EQ(asked.messages, std::vector<std::string>{"missing: " + picture});
    EXPECT_FALSE(frame->GetCurrentSite()->IsSaved()) << "the object's fill became its colour";

    wxCommandEvent save(wxEVT_MENU, ID_FILE_SAVE);
    frame->GetEventHandler()->ProcessEvent(save);
    ASSERT_EQ(frame->GetCurrentSite()->GetPath(), path);
    EXPECT_TRUE(frame->GetCurrentSite()->IsSaved());
    RenderWhileIdle(frame);
    EXPECT_TRUE(frame->GetCurrentSite()->IsSaved()) << "drawing the pages again changes nothing";

    frame->GetOpenSite().CloseSite();
    asked.messages.clear();
    ASSERT_NE(frame->GetOpenSite().OpenDocumentFile(path), nullptr);
    RenderWhileIdle(frame);
    EXPECT_TRUE(asked.messages.empty());
    EXPECT_TRUE(frame->GetCurrentSite()->IsSaved());
}

} // namespace
