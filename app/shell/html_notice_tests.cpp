// The notice about HTML objects comes once per save, however many pages hold one, and not again once switched off.

#include "app/model/app_settings.h"
#include "app/model/seams_test_support.h"
#include "app/objects/html_object.h"
#include "app/shell/orvel_app.h"
#include "app/shell/shell_test_support.h"
#include "app/site/page_item.h"
#include "platform/text/face_list.h"

namespace {

class NoticeServices : public RecordingServices
{
public:
    using RecordingServices::RecordingServices;
    CAppSettings* GetAppSettings() override { return m_frame2 ? &m_frame2->GetSettings() : nullptr; }
    DialogAnswer ShowNoticeDialog(int textId, bool& dontShowAgain) override
    {
        notices.push_back(textId);
        dontShowAgain = switchOff;
        return DialogAnswer::ok;
    }
    CMainFrame* m_frame2 = nullptr;
    std::vector<int> notices;
    bool switchOff = false;
};

TEST_F(ShellTest, TheHtmlNoticeComesOncePerSave)
{
    // The toolkit shares fontconfig with the pages' text, as in the program.
    KeepFontconfigAtExit();
    NoticeServices asked(frame);
    const SeamsInstalled askedSeams(asked);
    auto site = MakeSite({"Home", "About", "Contact"});
    for (int page : {0, 1, 2})
        site->GetPage(page)->InsertItem(
            std::make_unique<CPageItem>(std::make_unique<CHtmlObject>(POINT{10, 10}, 100, 40), nullptr));
    const std::string path = scratch / "club-v6.kst";
    ASSERT_TRUE(SaveSiteFile(*site, path));
    Start();
    asked.m_frame2 = frame;
    frame->GetSettings().m_showHtmlSaveWarning = true;
    ASSERT_NE(frame->GetOpenSite().OpenDocumentFile(path), nullptr);

    wxCommandEvent save(wxEVT_MENU, ID_FILE_SAVE);
    frame->GetCurrentSite()->SetModified();
    frame->GetEventHandler()->ProcessEvent(save);
    EXPECT_EQ(asked.notices.size(), 1u);
    asked.switchOff = true;
    frame->GetEventHandler()->ProcessEvent(save);
    EXPECT_EQ(asked.notices.size(), 2u);
    frame->GetEventHandler()->ProcessEvent(save);
    EXPECT_EQ(asked.notices.size(), 2u) << "switched off";
}

} // namespace
