// The folder model over names from outside: each line "local<TAB>remote[<TAB>lock word]" is one stored pair, a line
// starting with '>' renames the folder of the previous pair. Whatever the names, every placed file is visited once,
// is found again at its remote path, and no remote path leaves the site.

#include <cstdlib>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/dialogs/site_folder_model.h"
#include "app/model/file_pair.h"
#include "testing/fuzz_target.h"

namespace {

std::vector<uint8_t> Bytes(const std::string& text)
{
    return std::vector<uint8_t>(text.begin(), text.end());
}

bool LeavesTheSite(const std::string& path)
{
    return path.find("/../") != std::string::npos || path.find("/./") != std::string::npos ||
           path.find("//") != std::string::npos || path.find('\\') != std::string::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    std::vector<CFilePair> pairs;
    std::vector<std::string> renames, reserved{"index.html", "files"};
    for (std::string line; std::getline(in, line) && pairs.size() < 2000;) {
        if (!line.empty() && line[0] == '>') {
            renames.push_back(line.substr(1));
            continue;
        }
        const size_t tab = line.find('\t');
        if (tab == std::string::npos)
            continue;
        const size_t tab2 = line.find('\t', tab + 1);
        CFilePair pair(line.substr(0, tab), line.substr(tab + 1, tab2 == std::string::npos ? tab2 : tab2 - tab - 1));
        if (tab2 != std::string::npos)
            pair.m_dwFlags = static_cast<DWORD>(std::strtoul(line.c_str() + tab2 + 1, nullptr, 10));
        pairs.push_back(pair);
    }
    std::vector<const CFilePair*> pointers;
    for (const CFilePair& pair : pairs)
        pointers.push_back(&pair);
    CSiteFolderModel model;
    model.Build(reserved, pointers);
    size_t rename = 0;
    for (CSiteFile* file = model.GetFirstFile(); file && rename < renames.size(); file = model.GetNextFile())
        RenameSiteFolder(*file->GetParent(), renames[rename++]);

    std::set<const CSiteFile*> seen;
    for (CSiteFile* file = model.GetFirstFile(); file; file = model.GetNextFile()) {
        const std::string path = file->GetPath();
        if (!seen.insert(file).second || path.empty() || path[0] != '/' || LeavesTheSite(path) ||
            model.FindFileByRemotePath(path) != file)
            std::abort();
    }
    if (seen.size() > pairs.size())
        std::abort();
    return 0;
}

void WriteFuzzSeeds(const std::filesystem::path& folder)
{
    WriteFuzzSeed(folder, "pairs",
                  Bytes("C:\\a\\logo.gif\t/images/logo.gif\t7\nC:\\b\\LOGO.GIF\t/images/logo.gif\n"
                        "/home/u/photo.jpg\t/pics/other.jpg\n/home/u/x.gif\t/index.html/x.gif\n"
                        "/home/u/d.pdf\t\\docs\\d.pdf\n>documents\n"));
    WriteFuzzSeed(folder, "unsafe",
                  Bytes("/u/a.gif\t/../a.gif\n/u/b\t/x/./b\n/u/..\t/d/..\n/u/c\t//x//c\n>..\n>a:b\n"
                        "/u/e\t/{Root}/e\n"));
}
