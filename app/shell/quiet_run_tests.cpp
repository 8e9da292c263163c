// An ordinary session with the real main window prints nothing on the standard error stream: no toolkit warning
// at start, while pages open and close, or while the window is resized.

#include "app/shell/orvel_app.h"
#include "app/shell/orvel_frame.h"
#include "app/shell/shell_test_support.h"
#include "app/site/website.h"

#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace {

// Sends file descriptor 2 into a file while it lives; Text() gives what was written.
class StderrCapture
{
public:
    explicit StderrCapture(std::string path) : m_path(std::move(path))
    {
        std::fflush(stderr);
        m_saved = dup(2);
        const int file = open(m_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(file, 2);
        close(file);
    }
    ~StderrCapture() { Stop(); }

    std::string Text()
    {
        Stop();
        std::ifstream in(m_path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

private:
    void Stop()
    {
        if (m_saved < 0)
            return;
        std::fflush(stderr);
        dup2(m_saved, 2);
        close(m_saved);
        m_saved = -1;
    }

    std::string m_path;
    int m_saved = -1;
};

TEST_F(ShellTest, AnOrdinarySessionPrintsNothingOnStandardError)
{
    const std::string path = scratch / "bakery.kst";
    ASSERT_TRUE(SaveSiteFile(*MakeSite({"Home", "About us", "Contact", "Prices"}), path));

    StderrCapture capture(scratch / "stderr.txt");
    Start();
    ASSERT_NE(OpenDocumentFile(*frame, path), nullptr);
    Settle();
    for (int page : {0, 2, 3}) {
        frame->OpenPageWindow(page);
        Settle();
    }
    ASSERT_EQ(frame->CountPageWindows(), 4);
    // A tab closed as its close button does it, then another.
    frame->GetPageWindows()[1]->Close();
    Settle();
    frame->GetActivePageWindow()->Close();
    Settle();
    EXPECT_EQ(frame->CountPageWindows(), 2);
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
