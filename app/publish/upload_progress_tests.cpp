#include "app/publish/upload_progress.h"

#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <vector>

#include "platform/ftp/ftp.h"
#include "testing/ftp_test_servers.h"
#include "testing/scratch_folder.h"

namespace {

TEST(UploadProgress, StepsMoveTheBarWithinItsRange)
{
    const struct
    {
        int range;
        std::vector<int> steps;
        int position, bar;
    } cases[] = {
        {100, {30, 50}, 80, 80},
        {100, {60, 60}, 120, 100},                 // beyond the range: the bar stays full
        {0, {10}, 10, 0},                          // a range of 0: the bar stays empty
        {-5, {10}, 10, 0},                         // a negative total counts as 0
        {100, {-20, 30}, 30, 30},                  // negative steps are ignored
        {INT_MAX, {INT_MAX, 1}, INT_MAX, INT_MAX}, // the position stops rather than wraps
    };
    for (const auto& c : cases) {
        CUploadProgress progress(c.range);
        for (int step : c.steps)
            EXPECT_TRUE(progress.StepProgress(step));
        EXPECT_EQ(progress.GetPosition(), c.position) << c.range;
        EXPECT_EQ(progress.GetBarPosition(), c.bar) << c.range;
    }
}

TEST(UploadProgress, NewRangeStartsAtZero)
{
    CUploadProgress progress(10);
    EXPECT_EQ(progress.GetStatusText(), "");
    progress.SetStatusText("Synchronizing Files");
    progress.StepProgress(7);
    progress.SetRange(4096);
    EXPECT_EQ(progress.GetRange(), 4096);
    EXPECT_EQ(progress.GetPosition(), 0);
    EXPECT_EQ(progress.GetStatusText(), "Synchronizing Files");
}

TEST(UploadProgress, CancelAnswersFalseAndDropsTheRunningTransfer)
{
    CUploadProgress unconnected(0);
    unconnected.Cancel(nullptr);
    EXPECT_TRUE(unconnected.IsCancelled());
    EXPECT_FALSE(unconnected.StepProgress(0)) << "stepping still tells of the cancel with a range of 0";

    ftp_test::FtpServer& server = ftp_test::TheFtpServer();
    if (!server.Running())
        GTEST_SKIP() << "no FTP server: " << server.Error();
    ScratchFolder local;
    std::ofstream(local / "big.bin", std::ios::binary) << std::string(4 << 20, 'u');

    // The upload's progress callback steps the model; Cancel is pressed from inside it, as the dialog's button is
    // while a transfer runs, and pressed a second time.
    CUploadProgress progress(4 << 20);
    CFtp* connection = nullptr;
    bool serverNotFound = false, loginFailed = false, cancelled = false;
    CFtp ftp(serverNotFound, loginFailed, cancelled, "127.0.0.1", server.Port(), ftp_test::FtpServer::kUser,
             ftp_test::FtpServer::kPassword, true, [&](int bytes) {
                 if (connection && progress.GetPosition() > 0) {
                     progress.Cancel(connection);
                     progress.Cancel(connection);
                 }
                 return progress.StepProgress(bytes) ? 1 : 0;
             });
    connection = &ftp;
    EXPECT_FALSE(ftp.put(local / "big.bin", "cancelled-upload.bin", false));
    EXPECT_EQ(ftp.m_nError, CFtp::errorCancelled);
    EXPECT_TRUE(progress.IsCancelled());
    EXPECT_LT(progress.GetPosition(), 4 << 20);
}

} // namespace
