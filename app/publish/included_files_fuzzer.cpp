// The included-file collector and what the publisher makes of its names: a Flash object's list, whatever it holds,
// only ever adds files inside its own folder, each once, under a remote path inside the site.

#include <cstdlib>
#include <fstream>
#include <string>
#include <unordered_set>
#include <vector>

#include "app/model/included_file_list.h"
#include "app/publish/site_upload.h"
#include "testing/fuzz_target.h"
#include "testing/scratch_folder.h"

namespace {

bool InsideSite(const std::string& target)
{
    if (target.size() < 2 || target[0] != '/' || target[1] == '/' || target[1] == '\\')
        return false;
    size_t start = 1;
    for (;;) {
        const size_t end = target.find_first_of("/\\", start);
        if (target.substr(start, end == std::string::npos ? std::string::npos : end - start) == "..")
            return false;
        if (end == std::string::npos)
            return true;
        start = end + 1;
    }
}

std::vector<uint8_t> Bytes(const std::string& text)
{
    return std::vector<uint8_t>(text.begin(), text.end());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static ScratchFolder scratch;
    const std::string list = scratch / "movie.xml";
    WriteFuzzInputFile(list, data, size);
    const CIncludedFileList names(list);
    FilesOfLists added;
    added.Add(list, names.GetNames());
    if (added.sources.size() != added.targets.size())
        std::abort();
    std::unordered_set<std::string> sources;
    for (size_t i = 0; i < added.sources.size(); ++i) {
        if (!sources.insert(added.sources[i]).second || added.sources[i].rfind(scratch.Path(), 0) != 0 ||
            !InsideSite(added.targets[i]))
            std::abort();
    }
    return 0;
}

void WriteFuzzSeeds(const std::filesystem::path& folder)
{
    WriteFuzzSeed(folder, "flash-list",
                  Bytes("<?xml version=\"1.0\"?>\n<gallery><image src=\"pics/a.jpg\"/><image src=\"pics/b.png\"/>"
                        "<movie file=\"intro.swf\"/><sound>music/theme.mp3</sound></gallery>\n"));
    WriteFuzzSeed(folder, "unsafe-names",
                  Bytes("<movie><img src=\"../evil.jpg\"/><img src=\"/etc/b.png\"/><img src=\"C:\\c.gif\"/>"
                        "<a href=\"http://example.com/x.html\">x</a><img src=\"*.gif\"/></movie>"));
    WriteFuzzSeed(folder, "page",
                  Bytes("<html><head><link href=\"style.css\" rel=\"stylesheet\"><script "
                        "src=\"js/app.js\"></script></head><body><img src=pic.gif></body></html>"));
}
