#include "browser/browser_test_support.h"

using namespace kitefly;
using namespace kitefly::test;

namespace {

TEST(DdeErrorText, NamesTheRowOrTheUnknownCode)
{
    const struct
    {
        UINT code;
        const char* text;
    } cases[] = {
        {DMLERR_NO_ERROR, "DMLERR_NO_ERROR"},
        {DMLERR_BUSY, "DMLERR_BUSY\r\n\r\nThe response to the transaction caused the DDE_FBUSY bit to be set"},
        {DMLERR_NO_CONV_ESTABLISHED,
         "DMLERR_NO_CONV_ESTABLISHED\r\n\r\nA client's attempt to establish a conversation has failed"},
        {DMLERR_UNFOUND_QUEUE_ID, "DMLERR_UNFOUND_QUEUE_ID\r\n\r\nAn invalid transaction identifier was passed to a "
                                  "DDEML function. Once the application has returned from an XTYP_XACT_COMPLETE "
                                  "callback, the transaction identifier for that callback is no longer valid"},
        {0x4012, "Unknown error code : 16402"},
        {7, "Unknown error code : 7"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DdeErrorText(c.code), c.text) << c.code;
}

using DdeClient = ClientTest;

TEST_F(DdeClient, AFailedOpenShowsTheErrorBoxOnlyWhenAskedTo)
{
    EXPECT_EQ(DdeClientOpen("Nobody", "WWW_ListWindows", false), nullptr);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(DdeClientOpen("Nobody", "WWW_ListWindows", true), nullptr);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "DDEML Error");
    EXPECT_EQ(boxes[0].text, DdeErrorText(DMLERR_NO_CONV_ESTABLISHED));
    EXPECT_EQ(boxes[0].style, MB_OK | MB_TASKMODAL);
}

TEST_F(DdeClient, ARequestGetsTheServersReplyOrTheServersError)
{
    FakeBrowserServer server("Netscape");
    server.Answers("WWW_GetWindowInfo", [](const std::string& item) {
        if (item == "1")
            return DdeServer::Reply{"\"a.htm\",\"A\"", DMLERR_NO_ERROR};
        return DdeServer::Reply{std::nullopt, DMLERR_BUSY};
    });
    HCONV conversation = DdeClientOpen("netscape", "WWW_GetWindowInfo", true);
    ASSERT_NE(conversation, nullptr) << "services compare without regard to case";
    EXPECT_EQ(DdeClientRequest(conversation, "1", CF_TEXT), "\"a.htm\",\"A\"");
    EXPECT_EQ(DdeClientRequest(conversation, "2", CF_TEXT), std::nullopt);
    DdeClientClose(conversation);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, DdeErrorText(DMLERR_BUSY));
}

TEST_F(LibraryTest, WithoutTheClientNothingOpens)
{
    EXPECT_EQ(DdeClientOpen("IExplore", "WWW_OpenURL", false), nullptr);
    EXPECT_EQ(asserts, std::vector<std::string>{"g_dwDDEInst"});
}

} // namespace
