#include "app/model/ftp_profile.h"

#include <limits>

#include "platform/win/key_store.h"
#include "platform/win/little_endian.h"

void CFtpProfile::SetSettingsFrom(const CFtpProfile& other)
{
    const std::string name = std::move(m_strName);
    *this = other;
    m_strName = name;
}

bool HaveSameFtpSettings(const CFtpProfile& a, const CFtpProfile& b)
{
    return a.m_strServer == b.m_strServer && a.m_strUser == b.m_strUser && a.m_strPassword == b.m_strPassword &&
           a.m_strWwwFolder == b.m_strWwwFolder && a.m_nPort == b.m_nPort && a.m_bPassive == b.m_bPassive &&
           a.m_nProxyType == b.m_nProxyType && a.m_strProxyServer == b.m_strProxyServer &&
           a.m_nProxyPort == b.m_nProxyPort && a.m_strProxyUser == b.m_strProxyUser &&
           a.m_strProxyPassword == b.m_strProxyPassword;
}

int FindFtpProfile(const CFtpProfileArray& profiles, const std::string& name)
{
    for (size_t i = 0; i < profiles.size(); ++i) {
        if (profiles[i].m_strName == name)
            return static_cast<int>(i);
    }
    return -1;
}

int FindMatchingFtpProfile(const CFtpProfileArray& profiles, const CFtpProfile& settings)
{
    for (size_t i = profiles.size(); i-- > 0;) {
        if (HaveSameFtpSettings(profiles[i], settings))
            return static_cast<int>(i);
    }
    return -1;
}

int SaveFtpProfile(CFtpProfileArray& profiles, const std::string& name, const CFtpProfile& settings)
{
    int index = FindFtpProfile(profiles, name);
    if (index < 0) {
        profiles.push_back(settings);
        profiles.back().m_strName = name;
        return static_cast<int>(profiles.size() - 1);
    }
    profiles[index].SetSettingsFrom(settings);
    return index;
}

namespace {

constexpr size_t kMax16 = std::numeric_limits<uint16_t>::max();
// Five strings, port, passive, proxy type, proxy server, proxy port, proxy user, proxy password.
constexpr size_t kFixedProfileBytes = 23;

void Put16(std::vector<BYTE>& out, uint32_t value)
{
    BYTE bytes[2];
    StoreLE16(bytes, static_cast<uint16_t>(value));
    out.insert(out.end(), bytes, bytes + 2);
}

void PutString(std::vector<BYTE>& out, const std::string& text)
{
    Put16(out, static_cast<uint32_t>(text.size()));
    out.insert(out.end(), text.begin(), text.end());
}

class CReader
{
public:
    CReader(const BYTE* data, size_t size) : m_data(data), m_left(size) {}

    bool Get16(uint16_t* value)
    {
        if (m_left < 2)
            return false;
        *value = LoadLE16(m_data);
        Skip(2);
        return true;
    }
    bool Get8(uint8_t* value)
    {
        if (m_left < 1)
            return false;
        *value = *m_data;
        Skip(1);
        return true;
    }
    bool GetString(std::string* text)
    {
        uint16_t length = 0;
        if (!Get16(&length) || length > m_left)
            return false;
        text->assign(reinterpret_cast<const char*>(m_data), length);
        Skip(length);
        return true;
    }
    bool GetNumber(int* value)
    {
        uint16_t raw = 0;
        if (!Get16(&raw))
            return false;
        *value = raw;
        return true;
    }
    size_t Left() const { return m_left; }

private:
    void Skip(size_t count)
    {
        m_data += count;
        m_left -= count;
    }

    const BYTE* m_data;
    size_t m_left;
};

bool ReadProfile(CReader& reader, CFtpProfile* profile)
{
    uint8_t passive = 0;
    if (!reader.GetString(&profile->m_strName) || !reader.GetString(&profile->m_strServer) ||
        !reader.GetString(&profile->m_strUser) || !reader.GetString(&profile->m_strPassword) ||
        !reader.GetString(&profile->m_strWwwFolder) || !reader.GetNumber(&profile->m_nPort) || !reader.Get8(&passive) ||
        !reader.GetNumber(&profile->m_nProxyType) || !reader.GetString(&profile->m_strProxyServer) ||
        !reader.GetNumber(&profile->m_nProxyPort) || !reader.GetString(&profile->m_strProxyUser) ||
        !reader.GetString(&profile->m_strProxyPassword))
        return false;
    profile->m_bPassive = passive == 1;
    return true;
}

} // namespace

bool WriteFtpProfiles(const CFtpProfileArray& profiles, std::vector<BYTE>* out)
{
    if (profiles.size() > kMax16)
        return false;
    std::vector<BYTE> bytes;
    Put16(bytes, static_cast<uint32_t>(profiles.size()));
    for (const CFtpProfile& p : profiles) {
        for (const std::string* text : {&p.m_strName, &p.m_strServer, &p.m_strUser, &p.m_strPassword, &p.m_strWwwFolder,
                                        &p.m_strProxyServer, &p.m_strProxyUser, &p.m_strProxyPassword}) {
            if (text->size() > kMax16)
                return false;
        }
        PutString(bytes, p.m_strName);
        PutString(bytes, p.m_strServer);
        PutString(bytes, p.m_strUser);
        PutString(bytes, p.m_strPassword);
        PutString(bytes, p.m_strWwwFolder);
        Put16(bytes, static_cast<uint32_t>(p.m_nPort));
        bytes.push_back(p.m_bPassive ? 1 : 0);
        Put16(bytes, static_cast<uint32_t>(p.m_nProxyType));
        PutString(bytes, p.m_strProxyServer);
        Put16(bytes, static_cast<uint32_t>(p.m_nProxyPort));
        PutString(bytes, p.m_strProxyUser);
        PutString(bytes, p.m_strProxyPassword);
    }
    *out = std::move(bytes);
    return true;
}

bool ReadFtpProfiles(const BYTE* data, size_t size, CFtpProfileArray* out)
{
    CReader reader(data, size);
    uint16_t count = 0;
    if (!reader.Get16(&count) || count > reader.Left() / kFixedProfileBytes)
        return false;
    CFtpProfileArray profiles(count);
    for (CFtpProfile& profile : profiles) {
        if (!ReadProfile(reader, &profile))
            return false;
    }
    if (reader.Left() != 0)
        return false;
    *out = std::move(profiles);
    return true;
}

bool LoadFtpProfiles(const CKeyStore& store, const std::string& section, CFtpProfileArray* out)
{
    std::vector<BYTE> bytes;
    return store.GetProfileBinary(section, kFtpProfilesValue, &bytes) &&
           ReadFtpProfiles(bytes.data(), bytes.size(), out);
}

bool SaveFtpProfiles(CKeyStore& store, const std::string& section, const CFtpProfileArray& profiles)
{
    std::vector<BYTE> bytes;
    return WriteFtpProfiles(profiles, &bytes) &&
           store.WriteProfileBinary(section, kFtpProfilesValue, bytes.data(), bytes.size());
}

bool IsValidWwwFolder(const std::string& folder)
{
    std::string text;
    for (char c : folder) {
        if (c != '/' || text.empty() || text.back() != '/')
            text.push_back(c);
    }
    if (!text.empty() && text.front() == '/')
        text.erase(0, 1);
    if (!text.empty() && text.back() == '/')
        text.pop_back();
    auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (isDigit(c) && (i == 0 || text[i - 1] == '/'))
            return false;
        const bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || isDigit(c) || c == '-' || c == '.' ||
                             c == '~' || c == '/' || c == '_';
        if (!allowed)
            return false;
    }
    return true;
}

bool IsValidProxyPort(int proxyType, int proxyPort)
{
    return proxyType == 0 || (proxyPort >= 1 && proxyPort <= 65535);
}
