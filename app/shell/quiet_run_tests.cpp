// An ordinary session with the real main window prints nothing on the standard error stream: no toolkit warning
// at start, while pages open and close, or while the window is resized.

#include "app/shell/orvel_app.h"
#include "app/shell/orvel_frame.h"
#include "app/shell/shell_test_support.h"
#include "app/site/website.h"
#include "testing/stderr_capture.h"

namespace {

TEST_F(ShellTest, AnOrdinarySessionPrintsNothingOnStandardError)
{
    const std::string path = scratch / "bakery.kst";
    ASSERT_TRUE(SaveSiteFile(*MakeSite({"Home", "About us", "Contact", "Prices"}), path));

    StderrCapture capture(scratch / "stderr.txt");
    Start();
    ASSERT_NE(frame->GetOpenSite().OpenDocumentFile(path), nullptr);
    Settle();
    for (int page : {0, 2, 3}) {
        frame->GetPageWindows().Open(page);
        Settle();
    }
    ASSERT_EQ(frame->GetPageWindows().Count(), 4);
    // A tab closed as its close button does it, then another.
    frame->GetPageWindows().GetWindows()[1]->Close();
    Settle();
    frame->GetPageWindows().GetActive()->Close();
    Settle();
    EXPECT_EQ(frame->GetPageWindows().Count(), 2);
    for (const wxSize size : {wxSize(400, 300), wxSize(1200, 900), wxSize(200, 150), wxSize(900, 700)}) {
        frame->SetSize(size);
        Settle();
    }
    frame->Maximize();
    Settle();
    Close();
    const std::string written = capture.Text();
    EXPECT_EQ(written, "");
    EXPECT_TRUE(services.messages.empty());
}

} // namespace
