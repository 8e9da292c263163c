// The settings store reader: every length and count checked against the bytes that remain; a store it accepts
// writes back to the same bytes.

#include <cstdlib>
#include <vector>

#include "platform/win/key_store.h"
#include "testing/fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // A copy of exactly the input's size, so that the sanitizer catches any read past the end.
    const std::vector<uint8_t> bytes(data, data + size);
    CKeyStore store("");
    if (!store.Parse(bytes.data(), bytes.size())) {
        if (store.Serialize().size() != 8)
            std::abort(); // a refused file must leave nothing behind
        return 0;
    }
    // Names may have come in another order, but what was accepted must write and read back unchanged.
    const std::vector<uint8_t> written = store.Serialize();
    CKeyStore again("");
    if (!again.Parse(written.data(), written.size()) || again.Serialize() != written)
        std::abort();
    store.GetProfileInt("Settings", "Default page width", 740);
    store.GetProfileString("Settings", "Default font", "Arial");
    store.GetProfileBinary("Settings", "FTP profiles", nullptr);
    return 0;
}

void WriteFuzzSeeds(const std::filesystem::path& folder)
{
    CKeyStore store("");
    WriteFuzzSeed(folder, "empty.keys", store.Serialize());
    store.WriteProfileInt("Settings", "Default page width", 740);
    store.WriteProfileInt("Settings", "Use Built In Browser", -1);
    store.WriteProfileString("Settings", "Default font", "Arial");
    store.WriteProfileString("Settings", "KST path", "/home/user/Documents/Caf\xE9/");
    const BYTE profiles[] = {0, 0};
    store.WriteProfileBinary("Settings", "FTP profiles", profiles, sizeof profiles);
    WriteFuzzSeed(folder, "settings.keys", store.Serialize());
    store.WriteProfileInt("Browsers", "Count", 2);
    store.WriteProfileString("Browser-01", "Path", "/usr/bin/firefox");
    store.WriteProfileString("Browser-02", "Path", "/usr/bin/chromium");
    store.WriteProfileString("Browsers\\Old", "Path", "");
    WriteFuzzSeed(folder, "browsers.keys", store.Serialize());
}
