#pragma once

// The program's texts are Windows-1252 bytes; wx shows Unicode (what a window gives back goes through WxToBytes).

#include <string>
#include <wx/string.h>

wxString ToWx(const std::string& text);

// Paths are the system's bytes, shown and taken as the file system names them.
wxString PathToWx(const std::string& path);
std::string PathFromWx(const wxString& path);
