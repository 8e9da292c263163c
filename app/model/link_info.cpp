#include "app/model/link_info.h"

#include <algorithm>

int ValidateLinkTarget(int target)
{
    return target >= 0 && target <= 4 ? target : 0;
}

CLinkInfo::CLinkInfo(const CLinkInfo& other)
    : m_kind(other.m_kind), m_active(other.m_active), m_page(other.m_page), m_email(other.m_email), m_url(other.m_url),
      m_file(other.m_file), m_nTarget(ValidateLinkTarget(other.m_nTarget))
{
}

CLinkInfo& CLinkInfo::operator=(const CLinkInfo& other)
{
    if (this != &other) {
        m_kind = other.m_kind;
        m_active = other.m_active;
        m_page = other.m_page;
        m_email = other.m_email;
        m_url = other.m_url;
        m_file = other.m_file;
        m_nTarget = ValidateLinkTarget(other.m_nTarget);
    }
    return *this;
}

void CLinkInfo::Reset()
{
    m_kind = kindPage;
    m_active = false;
    m_page = 0;
    m_email.clear();
    m_url.clear();
    m_file.clear();
    m_nTarget = 0;
}

bool CLinkInfo::IsEqual(const CLinkInfo& other) const
{
    if (!m_active && !other.m_active)
        return true;
    if (m_active != other.m_active || m_kind != other.m_kind)
        return false;
    switch (m_kind) {
    case kindPage:
        return m_page == other.m_page && m_nTarget == other.m_nTarget;
    case kindEmail:
        return m_email == other.m_email;
    case kindUrl:
        return m_url == other.m_url && m_nTarget == other.m_nTarget;
    case kindFile:
        return m_file == other.m_file && m_nTarget == other.m_nTarget;
    default:
        return true;
    }
}

bool CLinkInfo::operator==(const CLinkInfo& other) const
{
    return m_kind == other.m_kind && m_active == other.m_active && m_page == other.m_page && m_email == other.m_email &&
           m_url == other.m_url && m_file == other.m_file && m_nTarget == other.m_nTarget;
}

bool CLinkInfo::OnPageDeleted(int page)
{
    if (LeadsToPage(page)) {
        m_active = false;
        m_page = 0;
        return true;
    }
    if (m_active && m_kind == kindPage && m_page > page)
        --m_page;
    return false;
}

void CLinkInfo::ClampPageNumber(int count)
{
    m_page = std::max(0, std::min(m_page, count - 1));
}

void CLinkInfo::ResetPageNumber()
{
    m_page = 0;
    if (m_kind == kindPage)
        m_active = false;
}

bool CLinkInfo::SetKind(int kind)
{
    if (kind < kindPage || kind > kindFile)
        return false;
    m_kind = kind;
    return true;
}

void CLinkInfo::Write(CFile& file) const
{
    if (!m_active)
        return;
    WriteUInt32(file, kTag);
    WriteInt32(file, m_kind);
    WriteFlag(file, m_active);
    WriteInt32(file, m_page);
    WriteCountedString(file, m_email);
    WriteCountedString(file, m_url);
    WriteCountedString(file, m_file);
    WriteInt32(file, ValidateLinkTarget(m_nTarget));
}

void CLinkInfo::Read(CFile& file, int major, int minor)
{
    if (!ReadOptionalTag(file, kTag))
        return;
    // Read into a copy first, so that a refused record leaves this one as it was.
    CLinkInfo link(*this);
    link.m_kind = ReadInt32(file);
    link.m_active = ReadFlag(file);
    link.m_page = ReadInt32(file);
    link.m_email = ReadCountedString(file);
    link.m_url = ReadCountedString(file);
    if ((major == 1 && minor >= 6) || major >= 5)
        link.m_file = ReadCountedString(file);
    if (link.m_kind < kindPage || link.m_kind > kindFile)
        ThrowBadRecord();
    if (major >= 5)
        link.m_nTarget = ValidateLinkTarget(ReadInt32(file));
    *this = link;
}
