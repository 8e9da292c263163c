#pragma once

// The program's resources (the string table, dialog templates, bitmaps named by id) live in one folder,
// "resources", beside the executable. It is found from the executable's own path, never from the current folder,
// so the program finds it wherever it is started from.

#include <filesystem>

std::filesystem::path GetResourceFolder();

// Points every lookup at another folder (tests and tools); an empty path goes back to the folder beside the
// executable.
void SetResourceFolder(const std::filesystem::path& folder);

// The file of bitmap id: bitmaps/<id>.png in the resource folder.
std::filesystem::path GetBitmapResourcePath(unsigned id);
