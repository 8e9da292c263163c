#include "app/shell/wx_text.h"

#include "platform/text/codepage.h"

wxString ToWx(const std::string& text)
{
    return wxString::FromUTF8(Windows1252ToUtf8(text));
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
