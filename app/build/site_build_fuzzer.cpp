// Site files built into web pages: whatever a site file holds, a build either writes its pages inside its own
// output folder or stops with a result code; it never crashes and never writes elsewhere.

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/build/build_test_support.h"
#include "app/build/linked_files.h"
#include "app/build/site_builder.h"
#include "app/model/seams_test_support.h"
#include "app/model/services.h"
#include "app/site/draw_budget_test_support.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "app/site/website.h"
#include "platform/win/file.h"
#include "testing/fuzz_target.h"
#include "testing/scratch_folder.h"

namespace {

namespace fs = std::filesystem;

// Opening an older file asks whether to convert it; agreeing reaches the rest of the reader.
class AgreeingServices : public NullCoreServices, public NullMessages, public NullCurrentState, public NullModelDialogs
{
public:
    bool AskYesNo(const std::string&, const std::string&) override { return true; }
};

// Every page is drawn; sites of many or huge pages, or of objects too large to draw cheaply, are left out.
bool DrawsCheaply(const CWebsite& site)
{
    constexpr int64_t kPixelBudget = 1 << 20;
    if (site.GetPageCount() > 8)
        return false;
    for (int p = 0; p < site.GetPageCount(); ++p) {
        const CSitePage& page = *site.GetPage(p);
        if (int64_t(page.GetWidth()) * page.GetHeight() > 4 * kPixelBudget || page.GetItemCount() > 50 ||
            !PageDrawsCheaply(page, kPixelBudget))
            return false;
    }
    return true;
}

// Every file below the folder, by path.
std::vector<fs::path> FilesBelow(const fs::path& folder)
{
    std::vector<fs::path> files;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(folder, error); !error && it != fs::recursive_directory_iterator();
         it.increment(error))
        files.push_back(it->path());
    return files;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static AgreeingServices services;
    static const SeamsInstalled installed(services);
    static ScratchFolder scratch;
    std::vector<BYTE> bytes(data, data + size);
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    CWebsite site("/fuzz/site.kst");
    if (!site.LoadFile(file) || !DrawsCheaply(site))
        return 0;

    const fs::path root = scratch.Path();
    std::error_code ignored;
    fs::remove_all(root / "out", ignored);
    fs::create_directories(root / "out", ignored);
    GetLinkedFiles().clear();
    for (const bool offline : {false, true}) {
        SiteBuildOptions options;
        options.offline = offline ? 1 : 0;
        options.siteFolder = (root / "out" / "site/").string();
        options.filesFolder = (root / "out" / "site" / "files/").string();
        SiteBuildResult result;
        CSiteBuilder(options).BuildWebsite(result, &site, offline ? buildForPreview : buildForPublish);
    }
    // Nothing but the output folder may have been written.
    for (const fs::path& path : FilesBelow(root))
        if (path.lexically_relative(root).string().rfind("out", 0) != 0)
            __builtin_trap();
    return 0;
}

void WriteFuzzSeeds(const std::filesystem::path& folder)
{
    AgreeingServices services;
    const SeamsInstalled installed(services);
    ScratchFolder pictures;
    CWebsite site("/fuzz/site.kst");
    build_testing::MakeShowcaseSite(site, pictures.Path());
    // The seeds stand on their own: no object of theirs depends on a picture file that is gone later.
    CMemFile saved;
    if (site.Save(saved))
        WriteFuzzSeed(folder, "showcase",
                      std::vector<uint8_t>(saved.GetBuffer(), saved.GetBuffer() + saved.GetLength()));
}
