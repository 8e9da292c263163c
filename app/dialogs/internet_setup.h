#pragma once

// What the Internet setup decides: the destination being edited, the profile list it edits, the profile choice
// with its Save and Delete buttons, the advanced settings and the check before the destination is stored.

#include <string>
#include <vector>

#include "app/model/ftp_profile.h"

struct CAppSettings;

// How the profile choice shows: its items, the one selected, and which of the choice, Save and Delete are enabled.
struct ProfileComboState
{
    std::vector<std::string> items;
    int selection = 0;
    bool comboEnabled = false;
    bool saveEnabled = false;
    bool deleteEnabled = false;
};

class CInternetSetup
{
public:
    // The destination and the stored profiles from the settings; the proxy values count only with a proxy.
    void Load(const CAppSettings& settings);

    // The destination being edited (its name is not used) and the list as the dialog has changed it.
    CFtpProfile& Fields() { return m_fields; }
    const CFtpProfile& Fields() const { return m_fields; }
    const CFtpProfileArray& Profiles() const { return m_profiles; }
    void SetProfiles(const CFtpProfileArray& profiles) { m_profiles = profiles; }

    // The choice after any change: the last profile holding the edited settings is selected; when none does, an
    // empty item stands first and item i + 1 is profile i.
    ProfileComboState GetComboState() const;
    bool IsMatched() const { return FindMatchingFtpProfile(m_profiles, m_fields) >= 0; }

    // A choice item was picked: its profile's settings become the edited ones (the empty item loads nothing).
    void ChooseComboItem(int item);
    // Save: the edited settings under that name, taken as typed.
    void SaveProfile(const std::string& name);
    // Delete of the selected profile; the profile then at its place, or the new last one, is loaded. False when no
    // profile is selected.
    bool DeleteSelectedProfile();
    // OK of the advanced dialog: port, passive and proxy type, and the proxy values only with a proxy.
    void TakeAdvanced(const CFtpProfile& advanced);

    // OK: false without storing anything when the WWW folder is refused; otherwise the destination (the folder as
    // typed) and the profile list go into the settings and the list into their store.
    bool Store(CAppSettings& settings) const;

private:
    CFtpProfile m_fields;
    CFtpProfileArray m_profiles;
};

// Whether the save-profile dialog's OK is enabled: the name has something besides blanks.
bool IsProfileNameUsable(const std::string& name);

// The number in a port edit: its leading decimal digits (after blanks and a sign), 0 for text that is no number;
// a value beyond the range of int stops at its limit.
int ParsePortText(const std::string& text);

// The proxy type the advanced dialog shows: 0 for any type it does not know.
int ShownProxyType(int proxyType);

// The advanced dialog's "Standard": port 21, active mode and no proxy.
void SetStandardFtpSettings(CFtpProfile& settings);

// The advanced dialog's OK check: the port, and with a proxy its port, must name a port (1 to 65535); a larger one
// would be kept as its low 16 bits and name another. 0 when both do, else the id of the edit to correct.
int CheckAdvancedPorts(const CFtpProfile& settings);

// The stored profile the Upload entry names: the first whose data fields equal the settings' destination (the proxy
// values counting only with a proxy), or -1 when none does and the entry reads "Upload", disabled.
int FindDestinationProfile(const CAppSettings& settings);
