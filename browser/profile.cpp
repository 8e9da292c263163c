#include "browser/profile.h"

#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <tuple>
#include <vector>

namespace kitefly {

namespace {

std::string Trim(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

std::string LowerAscii(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::map<std::string, std::size_t>& ReadCounts()
{
    static auto& counts = *new std::map<std::string, std::size_t>;
    return counts;
}

std::mutex& ReadCountsLock()
{
    static auto& lock = *new std::mutex;
    return lock;
}

// Calls visit with each line of the file, without its line end, until visit answers false.
template <class Visit> void ForEachLine(const std::string& path, Visit visit)
{
    {
        std::lock_guard<std::mutex> hold(ReadCountsLock());
        ++ReadCounts()[path];
    }
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!visit(line))
            return;
    }
}

std::vector<std::string> ReadLines(const std::string& path)
{
    std::vector<std::string> lines;
    ForEachLine(path, [&](const std::string& line) {
        lines.push_back(line);
        return true;
    });
    return lines;
}

// "[name]" gives name; any other line nothing.
std::optional<std::string> SectionName(const std::string& line)
{
    const std::string trimmed = Trim(line);
    if (trimmed.size() < 2 || trimmed.front() != '[')
        return std::nullopt;
    const auto close = trimmed.find(']');
    if (close == std::string::npos)
        return std::nullopt;
    return Trim(trimmed.substr(1, close - 1));
}

bool KeyOfLine(const std::string& line, const std::string& key, std::string* value)
{
    const auto equals = line.find('=');
    if (equals == std::string::npos || strcasecmp(Trim(line.substr(0, equals)).c_str(), key.c_str()) != 0)
        return false;
    if (value)
        *value = Trim(line.substr(equals + 1));
    return true;
}

// The lines of the file one at a time: a look-up holds no more of a large file than the line it reads.
std::optional<std::string> FindValue(const std::string& section, const std::string& key, const std::string& path)
{
    bool inSection = false;
    std::optional<std::string> found;
    ForEachLine(path, [&](const std::string& line) {
        if (auto name = SectionName(line)) {
            inSection = strcasecmp(name->c_str(), section.c_str()) == 0;
            return true;
        }
        std::string value;
        if (inSection && KeyOfLine(line, key, &value)) {
            found = std::move(value);
            return false;
        }
        return true;
    });
    return found;
}

std::string Bounded(std::string value, std::size_t size)
{
    if (size == 0)
        return {};
    if (value.size() > size - 1)
        value.resize(size - 1);
    return value;
}

int AsNumber(const std::string& value)
{
    return static_cast<int>(std::strtol(value.c_str(), nullptr, 10));
}

bool SaveAtomically(const std::string& path, const std::string& text)
{
    const auto slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
    std::string temp = path + ".XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0)
        return false;
    bool written = true;
    for (std::size_t done = 0; done < text.size() && written;) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        written = n > 0;
        if (written)
            done += static_cast<std::size_t>(n);
    }
    written = written && ::fchmod(fd, 0600) == 0 && ::fsync(fd) == 0;
    written = ::close(fd) == 0 && written;
    if (!written || ::rename(temp.c_str(), path.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

using RegistryKey = std::tuple<RegistryRoot, std::string, std::string>;
std::map<RegistryKey, std::string>& Registry()
{
    static auto& values = *new std::map<RegistryKey, std::string>;
    return values;
}

} // namespace

std::string ProfileFolder()
{
    std::string base;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config == '/')
        base = config;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = std::string(home) + "/.config";
    else
        base = ".";
    while (base.size() > 1 && base.back() == '/')
        base.pop_back();
    return base + "/Kitefly";
}

std::string ProfileFilePath(const std::string& file)
{
    if (file.find('/') != std::string::npos || file.find('\\') != std::string::npos)
        return file;
    return ProfileFolder() + "/" + file;
}

std::string GetPrivateProfileString(const std::string& section, const std::string& key, const std::string& fallback,
                                    std::size_t size, const std::string& file)
{
    return Bounded(FindValue(section, key, ProfileFilePath(file)).value_or(fallback), size);
}

ProfileSection::ProfileSection(const std::string& section, const std::string& file)
{
    bool inSection = false;
    ForEachLine(ProfileFilePath(file), [&](const std::string& line) {
        if (auto name = SectionName(line)) {
            inSection = strcasecmp(name->c_str(), section.c_str()) == 0;
            return true;
        }
        const auto equals = line.find('=');
        if (inSection && equals != std::string::npos)
            m_values.emplace(LowerAscii(Trim(line.substr(0, equals))), Trim(line.substr(equals + 1)));
        return true;
    });
}

std::string ProfileSection::GetString(const std::string& key, const std::string& fallback, std::size_t size) const
{
    const auto found = m_values.find(LowerAscii(key));
    return Bounded(found == m_values.end() ? fallback : found->second, size);
}

int ProfileSection::GetInt(const std::string& key, int fallback) const
{
    const auto found = m_values.find(LowerAscii(key));
    return found == m_values.end() ? fallback : AsNumber(found->second);
}

bool WritePrivateProfileString(const std::string& section, const std::string& key, const std::string& value,
                               const std::string& file)
{
    const std::string path = ProfileFilePath(file);
    if (path.rfind(ProfileFolder(), 0) == 0)
        ::mkdir(ProfileFolder().c_str(), 0700);
    std::vector<std::string> lines = ReadLines(path);
    bool inSection = false;
    std::optional<std::size_t> sectionEnd; // where a new key of the section goes
    bool done = false;
    for (std::size_t i = 0; i < lines.size() && !done; ++i) {
        if (auto name = SectionName(lines[i])) {
            inSection = strcasecmp(name->c_str(), section.c_str()) == 0;
            if (inSection)
                sectionEnd = i + 1;
            continue;
        }
        if (!inSection)
            continue;
        if (KeyOfLine(lines[i], key, nullptr)) {
            lines[i] = key + "=" + value;
            done = true;
        } else if (!Trim(lines[i]).empty()) {
            sectionEnd = i + 1;
        }
    }
    if (!done) {
        if (sectionEnd) {
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(*sectionEnd), key + "=" + value);
        } else {
            lines.push_back("[" + section + "]");
            lines.push_back(key + "=" + value);
        }
    }
    std::ostringstream text;
    for (const std::string& line : lines)
        text << line << "\r\n";
    return SaveAtomically(path, text.str());
}

int GetPrivateProfileInt(const std::string& section, const std::string& key, int fallback, const std::string& file)
{
    const std::optional<std::string> value = FindValue(section, key, ProfileFilePath(file));
    return value ? AsNumber(*value) : fallback;
}

bool WritePrivateProfileInt(const std::string& section, const std::string& key, int value, const std::string& file)
{
    return WritePrivateProfileString(section, key, std::to_string(value), file);
}

std::string GetProfileString(const std::string& section, const std::string& key, const std::string& fallback,
                             std::size_t size)
{
    return GetPrivateProfileString(section, key, fallback, size, "win.ini");
}

std::optional<std::string> ReadRegistryValue(RegistryRoot root, const std::string& key, const std::string& name)
{
    auto found = Registry().find({root, LowerAscii(key), LowerAscii(name)});
    if (found == Registry().end())
        return std::nullopt;
    return found->second;
}

void SeedRegistryValue(RegistryRoot root, const std::string& key, const std::string& name, const std::string& data)
{
    Registry()[{root, LowerAscii(key), LowerAscii(name)}] = data;
}

void ClearRegistry()
{
    Registry().clear();
}

bool FileExists(const std::string& path)
{
    struct stat info;
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

namespace detail {

std::size_t ProfileReads(const std::string& path)
{
    std::lock_guard<std::mutex> hold(ReadCountsLock());
    const auto found = ReadCounts().find(path);
    return found == ReadCounts().end() ? 0 : found->second;
}

} // namespace detail

} // namespace kitefly
