// The reader of the changed-pages file: a file it takes is written back by the writer byte for byte.

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/publish/changed_pages.h"
#include "testing/fuzz_target.h"
#include "testing/scratch_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static ScratchFolder scratch;
    const std::string path = scratch / "ftpfile.dat";
    WriteFuzzInputFile(path, data, size);
    CChangedPages tracker(path);
    if (!tracker.Load())
        return 0;
    if (tracker.GetPageIndices().size() > static_cast<size_t>(CChangedPages::kMaxPageIndices) ||
        tracker.GetSitePath().size() > static_cast<size_t>(CChangedPages::kMaxSitePathLength))
        std::abort();
    // A list with no site is never written; any other is written as it was read.
    if (tracker.GetSitePath().empty())
        return 0;
    const std::vector<UINT> indices = tracker.GetPageIndices();
    tracker.SetSite(tracker.GetSitePath());
    if (!tracker.Save() || ReadFuzzFile(path) != std::vector<uint8_t>(data, data + size))
        std::abort();
    CChangedPages again(path);
    if (!again.Load() || again.GetPageIndices() != indices)
        std::abort();
    return 0;
}

void WriteFuzzSeeds(const std::filesystem::path& folder)
{
    ScratchFolder scratch;
    const struct
    {
        const char* name;
        std::string site;
        std::vector<UINT> indices;
    } seeds[] = {
        {"no-pages", "/home/me/Sites/shop.kst", {}},
        {"three-pages", "/home/me/Sites/shop.kst", {0, 4, 2}},
    };
    for (const auto& seed : seeds) {
        CChangedPages tracker(scratch / "ftpfile.dat");
        tracker.SetSite(seed.site);
        for (UINT index : seed.indices)
            tracker.AddPageIndex(index);
        tracker.Save();
        WriteFuzzSeed(folder, seed.name, ReadFuzzFile(scratch / "ftpfile.dat"));
    }
}
