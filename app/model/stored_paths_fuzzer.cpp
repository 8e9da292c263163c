// The functions that take apart and rebuild paths read from site files, and the map of replaced picture files.
// The input is split at NUL bytes into the strings they are given.

#include <cstdlib>
#include <string>
#include <vector>

#include "app/model/file_name_map.h"
#include "app/model/site_paths.h"
#include "testing/fuzz_target.h"

namespace {

std::vector<std::string> Split(const uint8_t* data, size_t size)
{
    std::vector<std::string> parts(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0)
            parts.emplace_back();
        else
            parts.back().push_back(static_cast<char>(data[i]));
    }
    while (parts.size() < 4)
        parts.emplace_back();
    return parts;
}

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<std::string> parts = Split(data, size);
    const std::string& path = parts[0];
    const std::string& base = parts[1];

    // The name and the extension are tails of the path; the folder is its head.
    const std::string name = GetPathFileName(path);
    const std::string folder = GetPathFolder(path);
    const std::string extension = GetFileExtension(path);
    Check(path.ends_with(name) && path.starts_with(folder) && path.ends_with(extension));
    MakeSiteRelativePath(base, path);
    IsStoredPathAbsolute(path);
    const std::string resolved = ResolveStoredPath(path, base);
    Check(!IsStoredPathAbsolute(path) || resolved == path);

    // Whatever was put in is found again under its own key.
    CFileNameMap map;
    size_t last = 0;
    for (size_t i = 0; i + 1 < parts.size(); i += 2) {
        map.SetReplacementFile(parts[i], parts[i + 1]);
        map.SetReplacementFolder(parts[i + 1], parts[i]);
        last = i;
    }
    std::string found;
    Check(map.FindReplacementFile(parts[last], found) && found == parts[last + 1]);
    Check(map.LookupFolder(parts[last + 1], found) && found == parts[last]);
    map.FindReplacementFile(base, found);
    map.LookupFolder(path, found);
    return 0;
}

void WriteFuzzSeeds(const std::filesystem::path& folder)
{
    using namespace std::string_literals;
    const struct
    {
        const char* name;
        std::string bytes;
    } seeds[] = {
        {"windows", "C:\\My Site\\pictures\\logo.GIF\0C:\\My Site\\site.pel\0c:\\my site\\\0/home/a/"s},
        {"relative", "pictures/back.jpg\0/home/someone/site/site.pel\0pictures\0pics"s},
        {"root", "/var/www/index.html\0\0/var/www/\0/srv/"s},
        {"bare", "name.tar.gz\0C:\\\0a\0b\0c"s},
    };
    for (const auto& seed : seeds)
        WriteFuzzSeed(folder, seed.name, std::vector<uint8_t>(seed.bytes.begin(), seed.bytes.end()));
}
