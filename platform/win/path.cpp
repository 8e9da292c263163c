#include "platform/win/path.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <pwd.h>
#include <string_view>
#include <system_error>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/win/file.h"

namespace {

bool IsSeparator(char c)
{
    return c == '/' || c == '\\';
}

bool IsDriveLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The value of an environment variable when it names an absolute path; relative values are ignored, as the XDG
// rules ask, so that a stray setting never puts files under the current folder.
std::string AbsoluteEnv(const char* name)
{
    const char* value = std::getenv(name);
    if (!value || value[0] != '/')
        return {};
    std::string s(value);
    while (s.size() > 1 && s.back() == '/')
        s.pop_back();
    return s;
}

// Empty when neither $HOME nor the password database names a home folder: the callers then keep no file rather
// than one at the root of the file system.
std::string HomeFolder()
{
    std::string home = AbsoluteEnv("HOME");
    if (home.empty()) {
        if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir && pw->pw_dir[0] == '/')
            home = pw->pw_dir;
    }
    while (home.size() > 1 && home.back() == '/')
        home.pop_back();
    return home == "/" ? std::string() : home;
}

// The folders from the environment are local paths, in which '\' is an ordinary character of a name; JoinPath,
// which takes it for a separator of a path from an old site file, would misplace the separator in them.
std::string WithSlash(std::string folder)
{
    if (folder.back() != '/')
        folder += '/';
    return folder;
}

std::string XdgFolder(const char* variable, const char* fallbackUnderHome)
{
    std::string base = AbsoluteEnv(variable);
    if (base.empty()) {
        const std::string home = HomeFolder();
        if (home.empty())
            return {};
        base = WithSlash(home) + fallbackUnderHome;
    }
    return WithSlash(base) + "Pelorin/";
}

// A folder that xdg-user-dirs records in user-dirs.dirs under its key (a line XDG_DOCUMENTS_DIR="$HOME/Documents"
// or one with an absolute path). Empty when the file has no usable line.
std::string RecordedUserFolder(const std::string& home, std::string_view key)
{
    std::string configHome = AbsoluteEnv("XDG_CONFIG_HOME");
    if (configHome.empty())
        configHome = WithSlash(home) + ".config";
    std::ifstream in(WithSlash(configHome) + "user-dirs.dirs");
    std::string line;
    std::string found;
    const std::string prefix = std::string(key) + "=\"";
    while (std::getline(in, line)) {
        if (line.compare(0, prefix.size(), prefix) != 0)
            continue;
        const size_t end = line.find('"', prefix.size());
        if (end == std::string::npos)
            continue;
        std::string value = line.substr(prefix.size(), end - prefix.size());
        if (value.compare(0, 5, "$HOME") == 0 && (value.size() == 5 || value[5] == '/'))
            value = home + value.substr(5);
        // A value that names the home folder itself means the user turned the folder off.
        if (value.size() > 1 && value[0] == '/' && value != home && value != home + "/")
            found = value;
    }
    return found;
}

// Makes the folder and its missing parents. False when it cannot exist.
bool MakeFolderOnDemand(const std::string& folder)
{
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    struct stat st;
    return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

[[noreturn]] void ThrowFolderError(int err, const std::string& folder)
{
    AfxThrowFileException(CFileException::OsErrorToException(err), err, folder);
}

} // namespace

void SplitPath(const std::string& path, std::string* drive, std::string* dir, std::string* fname, std::string* ext)
{
    size_t start = 0;
    if (path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == ':')
        start = 2;

    size_t fileStart = start;
    for (size_t i = path.size(); i > start; --i) {
        if (IsSeparator(path[i - 1])) {
            fileStart = i;
            break;
        }
    }

    std::string file = path.substr(fileStart);
    // "." and ".." name folders, not a file with an empty name and an extension.
    size_t dot = (file == "." || file == "..") ? std::string::npos : file.rfind('.');
    if (drive)
        *drive = path.substr(0, start);
    if (dir)
        *dir = path.substr(start, fileStart - start);
    if (fname)
        *fname = file.substr(0, dot);
    if (ext)
        *ext = dot == std::string::npos ? std::string() : file.substr(dot);
}

std::string JoinPath(const std::string& folder, const std::string& name)
{
    if (folder.empty() || IsSeparator(folder.back()))
        return folder + name;
    const size_t last = folder.find_last_of("/\\");
    return folder + (last == std::string::npos ? '/' : folder[last]) + name;
}

std::string MakePath(const std::string& drive, const std::string& dir, const std::string& fname, const std::string& ext)
{
    std::string path = drive + JoinPath(dir, fname);
    if (!ext.empty() && ext.front() != '.')
        path += '.';
    path += ext;
    return path;
}

std::string GetTempFolder()
{
    std::string base = AbsoluteEnv("XDG_RUNTIME_DIR");
    if (base.empty())
        base = AbsoluteEnv("TMPDIR");
    if (base.empty())
        base = "/tmp";
    const uid_t uid = getuid();
    const std::string folder = WithSlash(base) + "pelorin-" + std::to_string(uid);

    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        ThrowFolderError(errno, folder);

    // The name may already be taken in a shared folder: use it only when it is a real folder (not a link) of
    // ours, and close it to others in case it was made with a looser mode.
    int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        ThrowFolderError(errno == ELOOP ? EACCES : errno, folder);
    struct stat st;
    int err = 0;
    if (fstat(fd, &st) != 0)
        err = errno;
    else if (st.st_uid != uid)
        err = EACCES;
    else if ((st.st_mode & 0077) != 0 && fchmod(fd, 0700) != 0)
        err = errno;
    close(fd);
    if (err != 0)
        ThrowFolderError(err, folder);
    return folder + '/';
}

std::string GetConfigFolder()
{
    return XdgFolder("XDG_CONFIG_HOME", ".config");
}

std::string GetDataFolder()
{
    return XdgFolder("XDG_DATA_HOME", ".local/share");
}

std::string GetDocumentsFolder()
{
    const std::string home = HomeFolder();
    if (home.empty())
        return {};
    std::string folder = RecordedUserFolder(home, "XDG_DOCUMENTS_DIR");
    if (folder.empty())
        folder = WithSlash(home) + "Documents";
    return WithSlash(folder);
}

std::string GetPicturesFolder()
{
    const std::string home = HomeFolder();
    if (home.empty())
        return {};
    const std::string folder = RecordedUserFolder(home, "XDG_PICTURES_DIR");
    struct stat st;
    if (!folder.empty() && ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        return WithSlash(folder);
    return WithSlash(home);
}

std::string PictureChooserFolder(const std::string& folder)
{
    struct stat st;
    if (!folder.empty() && ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        return folder;
    return GetPicturesFolder();
}

std::string GetShellFolderPath(int folder)
{
    std::string path;
    if (folder == kShellFolderDocuments)
        path = GetDocumentsFolder();
    else if (folder == kShellFolderAppData)
        path = GetDataFolder();
    if (path.empty() || !MakeFolderOnDemand(path))
        return {};
    return path;
}

std::vector<FolderEntry> ListFolder(const std::string& folder)
{
    std::vector<FolderEntry> entries;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.empty() ? "." : folder.c_str()), closedir);
    if (!dir)
        return entries;
    while (const dirent* entry = readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        bool isFolder = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
            struct stat st;
            isFolder = fstatat(dirfd(dir.get()), entry->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
        }
        entries.push_back({name, isFolder});
    }
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    return entries;
}
