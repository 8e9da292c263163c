#pragma once

// The program keeps its texts as Windows-1252 bytes; the windows show and take Unicode.

#include <string>
#include <wx/string.h>

wxString BytesToWx(const std::string& text);
// A character the code page lacks becomes a question mark, so that the rest of what was typed is kept.
std::string WxToBytes(const wxString& text);
