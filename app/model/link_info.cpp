#include "app/model/link_info.h"

#include <algorithm>

int ValidateLinkTarget(int target)
{
    return target >= 0 && target <= 4 ? target : 0;
}

CLinkInfo::CLinkInfo(const CLinkInfo& other)
    : m_nKind(other.m_nKind), m_bActive(other.m_bActive), m_nPage(other.m_nPage), m_strEmail(other.m_strEmail),
      m_strUrl(other.m_strUrl), m_strFile(other.m_strFile), m_nTarget(ValidateLinkTarget(other.m_nTarget))
{
}

CLinkInfo& CLinkInfo::operator=(const CLinkInfo& other)
{
    if (this != &other) {
        m_nKind = other.m_nKind;
        m_bActive = other.m_bActive;
        m_nPage = other.m_nPage;
        m_strEmail = other.m_strEmail;
        m_strUrl = other.m_strUrl;
        m_strFile = other.m_strFile;
        m_nTarget = ValidateLinkTarget(other.m_nTarget);
    }
    return *this;
}

void CLinkInfo::Reset()
{
    m_nKind = kindPage;
    m_bActive = false;
    m_nPage = 0;
    m_strEmail.clear();
    m_strUrl.clear();
    m_strFile.clear();
    m_nTarget = 0;
}

bool CLinkInfo::IsEqual(const CLinkInfo& other) const
{
    if (!m_bActive && !other.m_bActive)
        return true;
    if (m_bActive != other.m_bActive || m_nKind != other.m_nKind)
        return false;
    switch (m_nKind) {
    case kindPage:
        return m_nPage == other.m_nPage && m_nTarget == other.m_nTarget;
    case kindEmail:
        return m_strEmail == other.m_strEmail;
    case kindUrl:
        return m_strUrl == other.m_strUrl && m_nTarget == other.m_nTarget;
    case kindFile:
        return m_strFile == other.m_strFile && m_nTarget == other.m_nTarget;
    default:
        return true;
    }
}

bool CLinkInfo::operator==(const CLinkInfo& other) const
{
    return m_nKind == other.m_nKind && m_bActive == other.m_bActive && m_nPage == other.m_nPage &&
           m_strEmail == other.m_strEmail && m_strUrl == other.m_strUrl && m_strFile == other.m_strFile &&
           m_nTarget == other.m_nTarget;
}

bool CLinkInfo::OnPageDeleted(int page)
{
    if (LeadsToPage(page)) {
        m_bActive = false;
        m_nPage = 0;
        return true;
    }
    if (m_bActive && m_nKind == kindPage && m_nPage > page)
        --m_nPage;
    return false;
}

void CLinkInfo::ClampPageNumber(int count)
{
    m_nPage = std::max(0, std::min(m_nPage, count - 1));
}

void CLinkInfo::ResetPageNumber()
{
    m_nPage = 0;
    if (m_nKind == kindPage)
        m_bActive = false;
}

bool CLinkInfo::SetKind(int kind)
{
    if (kind < kindPage || kind > kindFile)
        return false;
    m_nKind = kind;
    return true;
}

void CLinkInfo::Write(CFile& file) const
{
    if (!m_bActive)
        return;
    WriteUInt32(file, kTag);
    WriteInt32(file, m_nKind);
    WriteFlag(file, m_bActive);
    WriteInt32(file, m_nPage);
    WriteCountedString(file, m_strEmail);
    WriteCountedString(file, m_strUrl);
    WriteCountedString(file, m_strFile);
    WriteInt32(file, ValidateLinkTarget(m_nTarget));
}

void CLinkInfo::Read(CFile& file, int major, int minor)
{
    if (!ReadOptionalTag(file, kTag))
        return;
    // Read into a copy first, so that a refused record leaves this one as it was.
    CLinkInfo link(*this);
    link.m_nKind = ReadInt32(file);
    link.m_bActive = ReadFlag(file);
    link.m_nPage = ReadInt32(file);
    link.m_strEmail = ReadCountedString(file);
    link.m_strUrl = ReadCountedString(file);
    if ((major == 1 && minor >= 6) || major >= 5)
        link.m_strFile = ReadCountedString(file);
    if (link.m_nKind < kindPage || link.m_nKind > kindFile)
        ThrowBadRecord();
    if (major >= 5)
        link.m_nTarget = ValidateLinkTarget(ReadInt32(file));
    *this = link;
}
