// The reader of the old upload list "qbx.uploaded", fed whatever the server may hand back: every name it gives stays
// inside the site's folder, and a list beyond its bound gives nothing.

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/publish/server_files.h"
#include "platform/win/little_endian.h"
#include "testing/fuzz_target.h"
#include "testing/scratch_folder.h"

namespace {

bool StaysInside(const std::string& name)
{
    if (name.empty() || name.find('\0') != std::string::npos || name[0] == '/' || name[0] == '\\' ||
        (name.size() >= 2 && name[1] == ':'))
        return false;
    size_t start = 0;
    for (;;) {
        const size_t end = name.find_first_of("/\\", start);
        if (name.substr(start, end == std::string::npos ? std::string::npos : end - start) == "..")
            return false;
        if (end == std::string::npos)
            return true;
        start = end + 1;
    }
}

// The list as an older version of the program wrote it.
std::vector<uint8_t> LegacyList(uint32_t count, const std::vector<std::string>& names)
{
    std::vector<uint8_t> bytes(4);
    StoreLE32(bytes.data(), count);
    for (const std::string& name : names) {
        uint8_t length[4];
        StoreLE32(length, static_cast<uint32_t>(name.size()));
        bytes.insert(bytes.end(), length, length + 4);
        bytes.insert(bytes.end(), name.begin(), name.end());
    }
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static ScratchFolder scratch;
    const std::string path = scratch / "qbx.uploaded";
    WriteFuzzInputFile(path, data, size);
    bool refused = false;
    const std::vector<std::string> names = ReadLegacyUploadList(path, &refused);
    if (names.size() > kMaxLegacyEntries || (refused && !names.empty()))
        std::abort();
    for (const std::string& name : names)
        if (name.size() > kMaxLegacyNameLength || !StaysInside(name))
            std::abort();
    return 0;
}

void WriteFuzzSeeds(const std::filesystem::path& folder)
{
    WriteFuzzSeed(folder, "empty-list", LegacyList(0, {}));
    WriteFuzzSeed(folder, "pages-and-files", LegacyList(3, {"index.html", "files/IMG_0.jpg", "files/Download/a.pdf"}));
    WriteFuzzSeed(folder, "unsafe-names", LegacyList(4, {"../up.html", "/etc/passwd", "C:\\x", "ok/..x/y"}));
}
