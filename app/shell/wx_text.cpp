#include "app/shell/wx_text.h"

#include "platform/text/codepage.h"

wxString ToWx(const std::string& text)
{
    return wxString::FromUTF8(Windows1252ToUtf8(text));
}

std::string FromWx(const wxString& text)
{
    // A character Windows-1252 lacks cannot be part of the program's text; such a text comes back empty.
    return Utf8ToWindows1252(text.utf8_string()).value_or(std::string());
}

wxString PathToWx(const std::string& path)
{
    return wxString(path.c_str(), *wxConvFileName);
}

std::string PathFromWx(const wxString& path)
{
    const wxCharBuffer bytes = path.fn_str();
    return bytes.data() ? std::string(bytes.data()) : std::string();
}
