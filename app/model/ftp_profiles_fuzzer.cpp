// The reader of the stored "FTP profiles" value. Whatever it accepts is written back to the same bytes.

#include <cstdlib>
#include <vector>

#include "app/model/ftp_profile.h"
#include "testing/fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CFtpProfileArray profiles;
    if (!ReadFtpProfiles(data, size, &profiles))
        return 0;
    std::vector<BYTE> written;
    if (!WriteFtpProfiles(profiles, &written))
        std::abort();
    // Only passive bytes other than 0 and 1 may come back different.
    if (written.size() != size)
        std::abort();
    CFtpProfileArray again;
    if (!ReadFtpProfiles(written.data(), written.size(), &again) || again.size() != profiles.size())
        std::abort();
    for (size_t i = 0; i < again.size(); ++i) {
        if (!HaveSameFtpSettings(again[i], profiles[i]) || again[i].m_strName != profiles[i].m_strName)
            std::abort();
    }
    return 0;
}

void WriteFuzzSeeds(const std::filesystem::path& folder)
{
    CFtpProfile work;
    work.m_strName = "Work";
    work.m_strServer = "ftp.example.com";
    work.m_strUser = "ann";
    work.m_strPassword = "pw";
    work.m_strWwwFolder = "/www/site";
    work.m_nPort = 21;
    work.m_bPassive = true;
    CFtpProfile proxied = work;
    proxied.m_strName = "Proxied";
    proxied.m_nProxyType = 2;
    proxied.m_strProxyServer = "socks.example.com";
    proxied.m_nProxyPort = 1080;
    proxied.m_strProxyUser = "p";
    proxied.m_strProxyPassword = "q";
    const struct
    {
        const char* name;
        CFtpProfileArray profiles;
    } seeds[] = {{"empty", {}}, {"one", {work}}, {"two-proxy", {work, proxied}}};
    for (const auto& seed : seeds) {
        std::vector<BYTE> bytes;
        WriteFtpProfiles(seed.profiles, &bytes);
        WriteFuzzSeed(folder, seed.name, bytes);
    }
}
