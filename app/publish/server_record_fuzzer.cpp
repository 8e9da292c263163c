// The reader of the server record, fed whatever the server may hand back. A record it takes, written again by the
// writer, reads back to the same entries (less those the writer leaves out), and a record it refuses gives nothing.

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/publish/server_files.h"
#include "testing/fuzz_target.h"
#include "testing/scratch_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static ScratchFolder scratch;
    const std::string path = scratch / "record.log";
    WriteFuzzInputFile(path, data, size);
    bool refused = false;
    const std::vector<CServerRecordEntry> entries = ReadServerRecord(path, &refused);
    if (entries.size() > kMaxServerRecordEntries || (refused && !entries.empty()))
        std::abort();
    for (const CServerRecordEntry& entry : entries)
        if (entry.name.find_first_of("\n\t") != std::string::npos || !(entry.hash.empty() || entry.hash.size() == 64))
            std::abort();

    const std::string again = scratch / "again.php";
    if (!WriteServerRecord(again, entries))
        std::abort();
    std::vector<CServerRecordEntry> kept;
    for (const CServerRecordEntry& entry : entries)
        if (entry.name.find('\r') == std::string::npos)
            kept.push_back(entry);
    bool refusedAgain = false;
    const std::vector<CServerRecordEntry> back = ReadServerRecord(again, &refusedAgain);
    const std::string guardOnly = std::string(kServerRecordGuard) + "\r\n";
    const std::vector<uint8_t> written = ReadFuzzFile(again);
    const bool writerGaveUp = written == std::vector<uint8_t>(guardOnly.begin(), guardOnly.end());
    if (refusedAgain || (back != kept && !(writerGaveUp && back.empty())))
        std::abort();
    return 0;
}

void WriteFuzzSeeds(const std::filesystem::path& folder)
{
    ScratchFolder scratch;
    const std::string hash = "9f86d081884c7d659a2feaa0c55ad015a3bf4f1b2b0b822cd15d6c15b0f00a08";
    const struct
    {
        const char* name;
        std::vector<CServerRecordEntry> entries;
    } seeds[] = {
        {"empty", {}},
        {"hashed", {{"/tmp/qbx_tmpdir/index.html", 1234, hash}, {"/home/me/files/logo.png", 99, hash}}},
        {"old-form", {{"/tmp/qbx_tmpdir/index.html", 1234, {}}, {"/home/me/files/big.zip", 3000000000LL, {}}}},
    };
    for (const auto& seed : seeds) {
        WriteServerRecord(scratch / "r.php", seed.entries);
        WriteFuzzSeed(folder, seed.name, ReadFuzzFile(scratch / "r.php"));
    }
    const std::string odd = "guard\n/a\t12\n42 no tab\r\n/b\tx\n/c\t-3\t" + hash + "\tmore\n\n";
    WriteFuzzSeed(folder, "odd-lines", std::vector<uint8_t>(odd.begin(), odd.end()));
}
