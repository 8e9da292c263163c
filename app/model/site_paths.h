#pragma once

// Splitting and rebuilding file paths the way the site file stores them. Both '/' and '\' separate folders on
// input, since paths come from files written on either kind of system.

#include <string>

// The file name with its extension (for C:\a\b.gif: b.gif).
std::string GetPathFileName(const std::string& path);
// The drive and folder with the trailing separator (for C:\a\b.gif: C:\a\), empty when there is none.
std::string GetPathFolder(const std::string& path);
// The extension with its dot (for C:\a\b.gif: .gif), empty when there is none.
std::string GetFileExtension(const std::string& path);
// The part of path after the folder of base when path lies in that folder (compared without regard to case or
// kind of separator), else path unchanged; an empty base leaves path unchanged.
std::string MakeSiteRelativePath(const std::string& base, const std::string& path);

// Whether a path read from a file stands on its own: "X:\..." as written on Windows, or a path from the root.
bool IsStoredPathAbsolute(const std::string& path);
// A path read from a file made whole: an absolute one as it is, a relative one in the folder of basePath.
std::string ResolveStoredPath(const std::string& path, const std::string& basePath);

// The four helpers the site's additional files are placed with. A path with a '/' is separated at its last '/'
// (a '\' in it is part of a name, as it may be on this system); a path without one, stored on Windows, at its
// last '\'.
// The part after the last separator; the whole path when it has none.
std::string GetFileNameFromPath(const std::string& path);
// The file name cut before its last '.'; empty when the name has no '.'.
std::string GetFileTitleFromPath(const std::string& path);
// The part up to and including the last separator; empty when there is none.
std::string GetFolderFromUrlPath(const std::string& path);
// The file name's part from its last '.' on, the dot included; empty when the name has no '.'.
std::string GetExtensionFromPath(const std::string& path);
