#pragma once

// The program keeps its texts as Windows-1252 bytes and its paths as the file system's bytes; the windows show and
// take Unicode.

#include <string>
#include <wx/string.h>

wxString BytesToWx(const std::string& text);
// A character the code page lacks becomes a question mark, so that the rest of what was typed is kept.
std::string WxToBytes(const wxString& text);

// Paths as the file system names them.
wxString PathToWx(const std::string& path);
std::string PathFromWx(const wxString& path);
