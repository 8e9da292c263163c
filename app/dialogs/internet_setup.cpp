#include "app/dialogs/internet_setup.h"

#include <algorithm>
#include <climits>

#include "app/model/app_settings.h"

void CInternetSetup::Load(const CAppSettings& settings)
{
    m_fields = settings.GetCurrentDestination();
    settings.GetFtpProfiles(&m_profiles);
}

ProfileComboState CInternetSetup::GetComboState() const
{
    ProfileComboState state;
    for (const CFtpProfile& profile : m_profiles)
        state.items.push_back(profile.m_strName);
    const int matched = FindMatchingFtpProfile(m_profiles, m_fields);
    if (matched >= 0) {
        state.selection = matched;
        state.comboEnabled = true;
        state.deleteEnabled = true;
    } else {
        state.items.insert(state.items.begin(), std::string());
        state.selection = 0;
        state.comboEnabled = !m_profiles.empty();
        state.saveEnabled = true;
    }
    return state;
}

void CInternetSetup::ChooseComboItem(int item)
{
    const int profile = IsMatched() ? item : item - 1;
    if (profile >= 0 && static_cast<size_t>(profile) < m_profiles.size())
        m_fields.SetSettingsFrom(m_profiles[static_cast<size_t>(profile)]);
}

void CInternetSetup::SaveProfile(const std::string& name)
{
    SaveFtpProfile(m_profiles, name, m_fields);
}

bool CInternetSetup::DeleteSelectedProfile()
{
    const int selected = FindMatchingFtpProfile(m_profiles, m_fields);
    if (selected < 0)
        return false;
    m_profiles.erase(m_profiles.begin() + selected);
    if (!m_profiles.empty()) {
        const size_t next = std::min(static_cast<size_t>(selected), m_profiles.size() - 1);
        m_fields.SetSettingsFrom(m_profiles[next]);
    }
    return true;
}

void CInternetSetup::TakeAdvanced(const CFtpProfile& advanced)
{
    m_fields.m_nPort = advanced.m_nPort;
    m_fields.m_bPassive = advanced.m_bPassive;
    m_fields.m_nProxyType = advanced.m_nProxyType;
    if (advanced.m_nProxyType != 0) {
        m_fields.m_strProxyServer = advanced.m_strProxyServer;
        m_fields.m_nProxyPort = advanced.m_nProxyPort;
        m_fields.m_strProxyUser = advanced.m_strProxyUser;
        m_fields.m_strProxyPassword = advanced.m_strProxyPassword;
    } else {
        m_fields.m_strProxyServer.clear();
        m_fields.m_nProxyPort = 0;
        m_fields.m_strProxyUser.clear();
        m_fields.m_strProxyPassword.clear();
    }
}

bool CInternetSetup::Store(CAppSettings& settings) const
{
    if (!IsValidWwwFolder(m_fields.m_strWwwFolder))
        return false;
    settings.m_ftpServer = m_fields.m_strServer;
    settings.m_ftpUser = m_fields.m_strUser;
    settings.m_ftpPassword = m_fields.m_strPassword;
    settings.m_ftpFolder = m_fields.m_strWwwFolder;
    settings.m_ftpPort = m_fields.m_nPort;
    settings.m_ftpPassive = m_fields.m_bPassive;
    settings.m_ftpProxyType = m_fields.m_nProxyType;
    settings.m_ftpProxyServer = m_fields.m_strProxyServer;
    settings.m_ftpProxyPort = m_fields.m_nProxyPort;
    settings.m_ftpProxyUser = m_fields.m_strProxyUser;
    settings.m_ftpProxyPassword = m_fields.m_strProxyPassword;
    // The list reaches the store at once; a store that cannot take it does not undo the destination.
    settings.SetFtpProfiles(m_profiles);
    return true;
}

int FindDestinationProfile(const CAppSettings& settings)
{
    CInternetSetup destination;
    destination.Load(settings);
    const CFtpProfileArray& profiles = destination.Profiles();
    for (size_t i = 0; i < profiles.size(); ++i)
        if (HaveSameFtpSettings(profiles[i], destination.Fields()))
            return static_cast<int>(i);
    return -1;
}

bool IsProfileNameUsable(const std::string& name)
{
    return name.find_first_not_of(" \t\r\n") != std::string::npos;
}

int ParsePortText(const std::string& text)
{
    // The edit's text is read through a buffer of 2048 characters.
    const std::string read = text.substr(0, 2047);
    size_t i = 0;
    while (i < read.size() && (read[i] == ' ' || read[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < read.size() && (read[i] == '+' || read[i] == '-'))
        negative = read[i++] == '-';
    long long value = 0;
    for (; i < read.size() && read[i] >= '0' && read[i] <= '9'; ++i) {
        value = value * 10 + (read[i] - '0');
        if (value > INT_MAX) {
            value = static_cast<long long>(INT_MAX) + (negative ? 1 : 0);
            break;
        }
    }
    return static_cast<int>(negative ? -value : value);
}

int ShownProxyType(int proxyType)
{
    return proxyType < 0 || proxyType > 2 ? 0 : proxyType;
}

void SetStandardFtpSettings(CFtpProfile& settings)
{
    settings.m_nPort = 21;
    settings.m_bPassive = false;
    settings.m_nProxyType = 0;
    settings.m_strProxyServer.clear();
    settings.m_nProxyPort = 0;
    settings.m_strProxyUser.clear();
    settings.m_strProxyPassword.clear();
}

int CheckAdvancedPorts(const CFtpProfile& settings)
{
    if (!IsValidProxyPort(1, settings.m_nPort))
        return 1002;
    if (!IsValidProxyPort(settings.m_nProxyType, settings.m_nProxyPort))
        return 1504;
    return 0;
}
