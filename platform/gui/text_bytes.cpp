#include "platform/gui/text_bytes.h"

#include "platform/text/codepage.h"

wxString BytesToWx(const std::string& text)
{
    return wxString::FromUTF8(Windows1252ToUtf8(text));
}

std::string WxToBytes(const wxString& text)
{
    std::string bytes;
    bytes.reserve(text.length());
    for (wxUniChar ch : text) {
        const std::optional<unsigned char> byte = UnicodeToWindows1252(ch.GetValue());
        bytes += byte ? static_cast<char>(*byte) : '?';
    }
    return bytes;
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
