#pragma once

// The named FTP destinations the user keeps, their stored "FTP profiles" value, and the WWW-folder and proxy-port
// checks the Internet setup runs before it stores a destination.

#include <string>
#include <vector>

#include "platform/win/win_types.h"

class CKeyStore;

struct CFtpProfile
{
    std::string m_strName;
    std::string m_strServer;
    std::string m_strUser;
    std::string m_strPassword;
    // Remote folder under which the site is placed, components separated by "/".
    std::string m_strWwwFolder;
    int m_nPort = 0;
    bool m_bPassive = false;
    // 0 none, 1 SOCKS4, 2 SOCKS5.
    int m_nProxyType = 0;
    std::string m_strProxyServer;
    int m_nProxyPort = 0;
    std::string m_strProxyUser;
    std::string m_strProxyPassword;

    // Copies the eleven data fields (everything but the name) from another profile.
    void SetSettingsFrom(const CFtpProfile& other);
};

using CFtpProfileArray = std::vector<CFtpProfile>;

// The value name under the settings key.
inline constexpr const char* kFtpProfilesValue = "FTP profiles";

// True when the eleven data fields are equal; strings compare exactly, the names are not compared.
bool HaveSameFtpSettings(const CFtpProfile& a, const CFtpProfile& b);

// Index of the profile of exactly that name (case-sensitive), or -1.
int FindFtpProfile(const CFtpProfileArray& profiles, const std::string& name);

// Index of the last profile whose data fields equal those of `settings`, or -1.
int FindMatchingFtpProfile(const CFtpProfileArray& profiles, const CFtpProfile& settings);

// Stores `settings` under `name`: an existing profile of exactly that name keeps its place and name and takes the
// data fields; otherwise a new profile is appended. Returns the profile's index.
int SaveFtpProfile(CFtpProfileArray& profiles, const std::string& name, const CFtpProfile& settings);

// The stored form: u16 count, then per profile the strings with u16 lengths and the numbers in their low 16 bits,
// little-endian. False, with `out` untouched, when the count or a string is too long for its 16-bit length; cutting
// it would leave a value that reads back as other profiles.
bool WriteFtpProfiles(const CFtpProfileArray& profiles, std::vector<BYTE>* out);

// Reads the stored form. Every count and length is checked against the bytes that remain, and bytes left over after
// the last profile are refused too: a value that disagrees with itself is rejected whole (false, `out` untouched)
// rather than yielding profiles with shifted fields.
bool ReadFtpProfiles(const BYTE* data, size_t size, CFtpProfileArray* out);

// The value in the store under `section`: false when it is missing or rejected, or when the write fails.
bool LoadFtpProfiles(const CKeyStore& store, const std::string& section, CFtpProfileArray* out);
bool SaveFtpProfiles(CKeyStore& store, const std::string& section, const CFtpProfileArray& profiles);

// The WWW-folder check: empty or only slashes pass; after runs of "/" are collapsed and one leading and one trailing
// "/" removed, no component may start with a digit and only letters, digits and "-._~/" may appear.
bool IsValidWwwFolder(const std::string& folder);

// The proxy-port check: with a proxy (type 1 or 2) the port must lie in 1..65535, since a larger one would be stored
// as its low 16 bits and name another port. Without a proxy the port is not used and passes.
bool IsValidProxyPort(int proxyType, int proxyPort);
