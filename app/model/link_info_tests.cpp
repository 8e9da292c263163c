#include "app/model/link_info.h"

#include <gtest/gtest.h>

#include "app/model/stream_test_support.h"

namespace {

CLinkInfo PageLink(int page, int target = 0)
{
    CLinkInfo link;
    link.SetKind(CLinkInfo::kindPage);
    link.SetActive(true);
    link.SetPage(page);
    link.SetTarget(target);
    return link;
}

} // namespace

TEST(LinkInfo, RoundTripInTheCurrentForm)
{
    CLinkInfo link;
    link.SetKind(CLinkInfo::kindFile);
    link.SetActive(true);
    link.SetPage(3);
    link.SetEmail("a@b.c");
    link.SetUrl("http://x.y/");
    link.SetFile("docs\\manual.pdf");
    link.SetTarget(3);
    CMemFile file;
    link.Write(file);
    EXPECT_EQ(file.GetLength(), 4u + 4 + 1 + 4 + (4 + 5) + (4 + 11) + (4 + 15) + 4);
    file.SeekToBegin();
    CLinkInfo back;
    back.Read(file, kCurrentMajorVersion, kCurrentMinorVersion);
    EXPECT_EQ(back, link);
    EXPECT_EQ(file.GetPosition(), file.GetLength());
    EXPECT_EQ(*link.Clone(), link);
}

TEST(LinkInfo, InactiveLinkWritesNothingAndReadsAsDefault)
{
    CLinkInfo link;
    link.SetUrl("http://elsewhere/");
    CMemFile file;
    link.Write(file);
    EXPECT_EQ(file.GetLength(), 0u);
    CLinkInfo back;
    back.Read(file, 5, 15);
    EXPECT_EQ(back, CLinkInfo());
    EXPECT_EQ(back.GetUrl(), "http:");
    EXPECT_EQ(back.GetKind(), CLinkInfo::kindUrl);
}

TEST(LinkInfo, ReadsOlderFormsByVersion)
{
    struct Case
    {
        int major, minor;
        bool hasFile, hasTarget;
    };
    const Case cases[] = {
        {1, 5, false, false}, {1, 6, true, false}, {2, 0, false, false},
        {4, 9, false, false}, {5, 0, true, true},  {5, 15, true, true},
    };
    for (const Case& c : cases) {
        std::vector<BYTE> bytes =
            Concat({LE32(CLinkInfo::kTag), LE32(2), {1}, LE32(0), Counted("e@x"), Counted("http://u/")});
        if (c.hasFile)
            bytes = Concat({bytes, Counted("f.doc")});
        if (c.hasTarget)
            bytes = Concat({bytes, LE32(2)});
        const std::vector<BYTE> trailer = {0xAA};
        auto file = FileOf(Concat({bytes, trailer}));
        CLinkInfo link;
        link.Read(*file, c.major, c.minor);
        EXPECT_EQ(file->GetPosition(), bytes.size()) << c.major << "." << c.minor;
        EXPECT_TRUE(link.IsActive());
        EXPECT_EQ(link.GetUrl(), "http://u/");
        EXPECT_EQ(link.GetFile(), c.hasFile ? "f.doc" : "");
        EXPECT_EQ(link.GetTarget(), c.hasTarget ? 2 : 0);
    }
}

TEST(LinkInfo, BadDataFromAFile)
{
    const auto body = [](uint32_t kind, uint32_t target) {
        return Concat(
            {LE32(CLinkInfo::kTag), LE32(kind), {1}, LE32(0), Counted(""), Counted(""), Counted(""), LE32(target)});
    };
    // An unknown target is not an error: it means no target.
    auto file = FileOf(body(0, 7));
    CLinkInfo link;
    link.Read(*file, 5, 15);
    EXPECT_EQ(link.GetTarget(), 0);

    for (uint32_t kind : {4u, 0xFFFFFFFFu}) {
        auto bad = FileOf(body(kind, 0));
        CLinkInfo refused;
        EXPECT_TRUE(RaisesBadData([&] { refused.Read(*bad, 5, 15); })) << kind;
        EXPECT_EQ(refused, CLinkInfo());
    }

    std::vector<BYTE> cut = body(0, 0);
    cut.pop_back();
    auto shortFile = FileOf(cut);
    EXPECT_TRUE(RaisesBadData([&] { link.Read(*shortFile, 5, 15); }));
}

TEST(LinkInfo, Equality)
{
    CLinkInfo inactivePage;
    inactivePage.SetKind(CLinkInfo::kindPage);
    CLinkInfo url;
    url.SetActive(true);
    CLinkInfo otherUrl = url;
    otherUrl.SetUrl("http://other/");
    CLinkInfo email;
    email.SetKind(CLinkInfo::kindEmail);
    email.SetActive(true);
    CLinkInfo emailOtherTarget = email;
    emailOtherTarget.SetTarget(3);

    struct Case
    {
        const char* what;
        CLinkInfo a, b;
        bool equal;
    };
    const Case cases[] = {
        {"both inactive, different kinds", CLinkInfo(), inactivePage, true},
        {"active and inactive", url, CLinkInfo(), false},
        {"different web addresses", url, otherUrl, false},
        {"different kinds", url, email, false},
        {"page links to the same page", PageLink(2), PageLink(2), true},
        {"page links with different targets", PageLink(2, 1), PageLink(2, 3), false},
        {"e-mail ignores the target", email, emailOtherTarget, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.a.IsEqual(c.b), c.equal) << c.what;

    EXPECT_FALSE(CLinkInfo() == inactivePage);
    EXPECT_FALSE(email == emailOtherTarget);
}

TEST(LinkInfo, FollowsPageChanges)
{
    struct Case
    {
        int deleted;
        bool result;
        bool active;
        int page;
    };
    const Case cases[] = {{3, true, false, 0}, {1, false, true, 2}, {5, false, true, 3}};
    for (const Case& c : cases) {
        CLinkInfo link = PageLink(3);
        EXPECT_EQ(link.OnPageDeleted(c.deleted), c.result) << c.deleted;
        EXPECT_EQ(link.IsActive(), c.active);
        EXPECT_EQ(link.GetPage(), c.page);
    }
    CLinkInfo url;
    url.SetActive(true);
    url.SetPage(3);
    EXPECT_FALSE(url.OnPageDeleted(3));
    EXPECT_EQ(url.GetPage(), 3);

    CLinkInfo link = PageLink(7);
    link.ClampPageNumber(5);
    EXPECT_EQ(link.GetPage(), 4);
    link.ClampPageNumber(0);
    EXPECT_EQ(link.GetPage(), 0);

    link = PageLink(4);
    link.ResetPageNumber();
    EXPECT_FALSE(link.IsActive());
    EXPECT_EQ(link.GetPage(), 0);
    url.ResetPageNumber();
    EXPECT_TRUE(url.IsActive());
}

TEST(LinkInfo, SettersKeepTheRecordWritable)
{
    CLinkInfo link;
    EXPECT_FALSE(link.SetKind(4));
    EXPECT_EQ(link.GetKind(), CLinkInfo::kindUrl);
    link.SetTarget(9);
    EXPECT_EQ(link.GetTarget(), 0);
    link.Reset();
    EXPECT_EQ(link.GetKind(), CLinkInfo::kindPage);
    EXPECT_EQ(link.GetUrl(), "");
}
