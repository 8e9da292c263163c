#include "platform/win/path.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <pwd.h>
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

std::string HomeFolder()
{
    std::string home = AbsoluteEnv("HOME");
    if (!home.empty())
        return home;
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir && pw->pw_dir[0] == '/')
        return pw->pw_dir;
    return "/";
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
    if (base.empty())
        base = WithSlash(HomeFolder()) + fallbackUnderHome;
    return WithSlash(base) + "Pelorin/";
}

[[noreturn]] void ThrowErrno(int err, const std::string& folder)
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
        ThrowErrno(errno, folder);

    // The name may already be taken in a shared folder: use it only when it is a real folder (not a link) of
    // ours, and close it to others in case it was made with a looser mode.
    int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        ThrowErrno(errno == ELOOP ? EACCES : errno, folder);
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
        ThrowErrno(err, folder);
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
