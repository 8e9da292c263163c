#include "app/publish/upload_plan.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// A small built site: two pages and the error page, a picture, an included-file list with a movie, and a linked
// document. Sizes and hashes come from these tables, never from files.
const std::map<std::string, long long> kSizes = {
    {"/s/index.html", 100}, {"/s/about.html", 50}, {"/s/error.html", 10}, {"/s/files/a.png", 200},
    {"/x/list.xml", 30},    {"/x/movie.swf", 400}, {"/d/doc.pdf", 300},
};

std::string HashOf(const std::string& path)
{
    return "hash of " + path;
}

UploadPlanInput SiteInput()
{
    UploadPlanInput input;
    input.index = "/s/index.html";
    for (const char* path : {"/s/index.html", "/s/about.html", "/s/error.html", "/s/files/a.png"})
        input.staged.push_back(StagedFile{path, kSizes.at(path)});
    input.pairs = {{"/x/list.xml", "/list.xml"}, {"/x/movie.swf", "/media/movie.swf"}};
    input.downloads = {StagedFile{"/d/doc.pdf", 300}};
    input.sizeOf = [](const std::string& path) {
        const auto found = kSizes.find(path);
        return found == kSizes.end() ? -1LL : found->second;
    };
    return input;
}

// What the last upload recorded when it left the site as it is now, with hashes or, as older runs wrote it,
// without.
std::vector<CServerRecordEntry> RecordOfThisSite(bool hashed)
{
    std::vector<CServerRecordEntry> record;
    for (const auto& [path, size] : kSizes)
        if (path != "/s/error.html")
            record.push_back(CServerRecordEntry{path, size, hashed ? HashOf(path) : std::string()});
    return record;
}

std::vector<CServerRecordEntry> With(std::vector<CServerRecordEntry> record, const std::string& path, long long size,
                                     const std::string& hash)
{
    std::erase_if(record, [&](const CServerRecordEntry& entry) { return entry.name == path; });
    record.push_back(CServerRecordEntry{path, size, hash});
    return record;
}

using Names = std::vector<std::string>;

struct PlanCase
{
    const char* what;
    std::vector<CServerRecordEntry> old;
    Names changedPages;
    Names pages, included, siteFiles, downloads, updatedXml, deleted;
};

TEST(UploadPlan, TheOldRecordAndTheStagedFilesGiveThePutsAndDeletes)
{
    const std::vector<PlanCase> cases = {
        {"no record: everything but the error page goes",
         {},
         {},
         {"/s/index.html", "/s/about.html"},
         {"/x/list.xml", "/x/movie.swf"},
         {"/s/files/a.png"},
         {"/d/doc.pdf"},
         {},
         {}},
        {"nothing changed: nothing goes", RecordOfThisSite(true), {}, {}, {}, {}, {}, {}, {}},
        {"a page changed since the upload goes whatever the record says",
         RecordOfThisSite(true),
         {"/s/about.html"},
         {"/s/about.html"},
         {},
         {},
         {},
         {},
         {}},
        {"a picture of the same length with other bytes goes",
         With(RecordOfThisSite(true), "/s/files/a.png", 200, "an older hash"),
         {},
         {},
         {},
         {"/s/files/a.png"},
         {},
         {},
         {}},
        {"a record without hashes: the size decides",
         With(RecordOfThisSite(false), "/d/doc.pdf", 299, ""),
         {},
         {},
         {},
         {},
         {"/d/doc.pdf"},
         {},
         {}},
        {"a changed included-file list goes and asks for another run",
         With(RecordOfThisSite(true), "/x/list.xml", 30, "an older hash"),
         {},
         {},
         {"/x/list.xml"},
         {},
         {},
         {"/x/list.xml"},
         {}},
        {"files the site no longer has are offered for deletion",
         With(With(RecordOfThisSite(true), "/s/gone.html", 5, "h"), "/y/old.jpg", 6, "h"),
         {},
         {},
         {},
         {},
         {},
         {},
         {"/s/gone.html", "/y/old.jpg"}},
    };
    for (const PlanCase& c : cases) {
        SCOPED_TRACE(c.what);
        UploadPlanInput input = SiteInput();
        input.changedPages = c.changedPages;
        CUploadRecord record(HashOf);
        record.SetOld(c.old);
        const UploadPlan plan = PlanSynchronize(input, record);
        EXPECT_EQ(plan.pages, c.pages);
        EXPECT_EQ(plan.included, c.included);
        EXPECT_EQ(plan.siteFiles, c.siteFiles);
        EXPECT_EQ(plan.downloads, c.downloads);
        EXPECT_EQ(plan.xmlFiles, Names{"/x/list.xml"});
        EXPECT_EQ(plan.updatedXml, c.updatedXml);
        EXPECT_EQ(plan.deleted, c.deleted);
        // The new record holds every file of the site but the error page, and the site remembers every remote name.
        EXPECT_EQ(record.Entries().size(), kSizes.size() - 1);
        EXPECT_FALSE(record.IsRecorded("/s/error.html"));
        EXPECT_EQ(plan.published, (Names{"index.html", "about.html", "/list.xml", "/media/movie.swf"}));
    }
}

TEST(UploadPlan, AMissingAdditionalFileIsNeitherSentNorRecorded)
{
    UploadPlanInput input = SiteInput();
    input.pairs.emplace_back("/x/missing.swf", "/missing.swf");
    CUploadRecord record(HashOf);
    const UploadPlan plan = PlanSynchronize(input, record);
    EXPECT_EQ(plan.included, (Names{"/x/list.xml", "/x/movie.swf"}));
    EXPECT_FALSE(record.IsRecorded("/x/missing.swf"));
}

TEST(UploadPlan, TheKeptRemotePathsKeepADeletedNameThatTheSiteStillUses)
{
    const std::vector<CServerRecordEntry> record = {
        {"/s/index.html", 1, ""}, {"/s/files/a.png", 1, ""}, {"/x/movie.swf", 1, ""}, {"/elsewhere/b.html", 1, ""}};
    const auto target = [](const std::string& source) {
        return source == "/x/movie.swf" ? std::string("/media/movie.swf") : std::string();
    };
    const std::unordered_set<std::string> kept = KeptRemotePaths(record, "/s/", target);
    EXPECT_EQ(kept, (std::unordered_set<std::string>{"index.html", "files/a.png", "media/movie.swf", "files/b.html"}));
}

} // namespace
