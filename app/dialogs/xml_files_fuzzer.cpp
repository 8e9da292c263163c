// A Flash program's XML text from outside, collected beside a small fixed folder tree and placed twice: every local
// file lies inside the program's folder, every placed file is counted, listed and paired once and stays inside the
// site, and the second placing adds nothing.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/dialogs/site_folder_model.h"
#include "app/dialogs/xml_file_collection.h"
#include "app/model/file_pair.h"
#include "testing/fuzz_target.h"
#include "testing/scratch_folder.h"

namespace {

std::vector<uint8_t> Bytes(const std::string& text)
{
    return std::vector<uint8_t>(text.begin(), text.end());
}

const ScratchFolder& Tree()
{
    static const ScratchFolder folder;
    static const bool made = [] {
        for (const char* name : {"app/images/a.jpg", "app/clip.swf", "app/index.html", "app/movie files/extra.swf",
                                 "app/swfobject.js", "app/database_management_example.php", "outside.jpg"}) {
            std::filesystem::create_directories(std::filesystem::path(folder / name).parent_path());
            std::ofstream(folder / name) << "x";
        }
        return true;
    }();
    (void)made;
    return folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const ScratchFolder& tree = Tree();
    const std::string xml = tree / "app/movie.xml";
    WriteFuzzInputFile(xml, data, size);
    const std::string inside = tree / "app/";
    for (const CompanionPlacement placement : {CompanionPlacement::inTheirFolder, CompanionPlacement::inRoot}) {
        CSiteFolderModel model;
        model.Reset();
        model.GetRoot()->SetReservedNames({"index.html"});
        std::vector<CFilePair> pairs;
        std::vector<std::string> sourceNames;
        CollectedFiles set;
        CollectXmlFiles(xml, sourceNames, set, placement);
        if (set.locals.size() != set.remotes.size())
            std::abort();
        for (const std::string& local : set.locals)
            if (local.compare(0, inside.size(), inside) != 0 || local.find("/../") != std::string::npos)
                std::abort();
        const int added = PlaceCollectedFiles(set, model, pairs, sourceNames);
        if (added < 0 || static_cast<size_t>(added) != sourceNames.size() || pairs.size() != sourceNames.size())
            std::abort();
        for (const CFilePair& pair : pairs) {
            const CSiteFile* file = model.FindFileByRemotePath(pair.m_strTarget);
            if (!file || file->GetLocalPath() != pair.m_strSource || file->GetPath().find("/../") != std::string::npos)
                std::abort();
        }
        if (PlaceCollectedFiles(set, model, pairs, sourceNames) != 0)
            std::abort();
    }
    return 0;
}

void WriteFuzzSeeds(const std::filesystem::path& folder)
{
    WriteFuzzSeed(folder, "gallery",
                  Bytes("<?xml version=\"1.0\"?>\n<gallery><image src=\"images\\a.jpg\"/><movie file=\"clip.swf\"/>"
                        "<link href=\"index.html\"/><image src=\"missing.png\"/></gallery>\n"));
    WriteFuzzSeed(folder, "unsafe-names",
                  Bytes("<movie><img src=\"../outside.jpg\"/><img src=\"/etc/b.png\"/><img src=\"C:\\c.gif\"/>"
                        "<img src=\"images/../../outside.jpg\"/><img src=\"movie files/extra.swf\"/></movie>"));
}
