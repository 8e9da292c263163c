#include "platform/gui/text_bytes.h"

#include <wx/strconv.h>

wxString BytesToWx(const std::string& text)
{
    return wxString(text.data(), wxCSConv(wxFONTENCODING_CP1252), text.size());
}

std::string WxToBytes(const wxString& text)
{
    wxCSConv cp1252(wxFONTENCODING_CP1252);
    std::string bytes;
    bytes.reserve(text.length());
    for (wxUniChar ch : text) {
        const wchar_t wide[1] = {static_cast<wchar_t>(ch.GetValue())};
        char narrow[8];
        bytes += cp1252.FromWChar(narrow, sizeof narrow, wide, 1) == 1 ? narrow[0] : '?';
    }
    return bytes;
}
