#pragma once

// The library's own stand-ins for the settings stores it reads: profile (INI) files and the registry.
// A bare profile file name ("Kitefly.ini", "opera.ini") lies in the profile folder, Kitefly/ under the user's
// configuration folder ($XDG_CONFIG_HOME, else ~/.config); "win.ini" there stands for the system's own profile.
// The registry stand-in is an in-memory store, empty unless something seeds it.

#include <map>
#include <optional>
#include <string>

namespace kitefly {

constexpr std::size_t kProfileTextLimit = 260;

std::string ProfileFolder();
// The file a profile name means: a bare name in the profile folder, any other path as it stands.
std::string ProfileFilePath(const std::string& file);

// The key's value in the section (names without regard to case), at most size - 1 characters, else the default.
std::string GetPrivateProfileString(const std::string& section, const std::string& key, const std::string& fallback,
                                    std::size_t size, const std::string& file);
// One section of a profile file, read once, for a call that looks up several of its keys: each value is the one
// GetPrivateProfileString finds (the key's first line in the section). Only the section's keys are kept.
class ProfileSection
{
public:
    ProfileSection(const std::string& section, const std::string& file);

    // As GetPrivateProfileString and GetPrivateProfileInt answer for the key.
    std::string GetString(const std::string& key, const std::string& fallback, std::size_t size) const;
    int GetInt(const std::string& key, int fallback) const;

private:
    // By key in lower case.
    std::map<std::string, std::string> m_values;
};

// Writes the value, replacing the key's line or adding it (and the section); the file is replaced atomically.
bool WritePrivateProfileString(const std::string& section, const std::string& key, const std::string& value,
                               const std::string& file);
// The value read as a decimal number (its leading digits, 0 when it has none); the default when the key is missing.
int GetPrivateProfileInt(const std::string& section, const std::string& key, int fallback, const std::string& file);
bool WritePrivateProfileInt(const std::string& section, const std::string& key, int value, const std::string& file);
// The system profile ("win.ini" in the profile folder).
std::string GetProfileString(const std::string& section, const std::string& key, const std::string& fallback,
                             std::size_t size);

enum class RegistryRoot
{
    ClassesRoot,
    CurrentUser,
    LocalMachine,
};
// The named value of the key (the key's default value for an empty name), or nothing when either is missing.
std::optional<std::string> ReadRegistryValue(RegistryRoot root, const std::string& key, const std::string& name);
void SeedRegistryValue(RegistryRoot root, const std::string& key, const std::string& name, const std::string& data);
void ClearRegistry();

// The path names an existing file that is not a folder.
bool FileExists(const std::string& path);

namespace detail {
// How many times the profile file at path (as ProfileFilePath gives it) was opened for reading so far.
std::size_t ProfileReads(const std::string& path);
} // namespace detail

} // namespace kitefly
