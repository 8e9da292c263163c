#include "app/model/string_attr.h"

void CStringAttr::Write(CFile& file) const
{
    if (m_strText.empty())
        return;
    WriteUInt32(file, kTag);
    WriteCountedString(file, m_strText);
}

void CStringAttr::Read(CFile& file, int major, int minor)
{
    if (!IsVersionAtLeast(major, minor, 1, 6))
        return;
    if (ReadOptionalTag(file, kTag))
        ReadBody(file, m_strText);
}

void CStringAttr::ReadBody(CFile& file, std::string& text, UINT maxLength)
{
    text = ReadCountedString(file, maxLength);
}
