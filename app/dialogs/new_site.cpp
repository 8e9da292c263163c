#include "app/dialogs/new_site.h"

#include "app/model/app_settings.h"
#include "app/model/page_size.h"
#include "app/model/services.h"

namespace {

std::string FieldText(const std::string& text)
{
    return text.substr(0, CNewSiteChoice::kMaxFieldLength);
}

} // namespace

void CNewSiteChoice::Open(const CAppSettings& settings, const std::string& name, const std::string& pageId)
{
    m_values = NewSiteValues();
    m_values.m_strName = name;
    m_values.m_strPageId = pageId;
    m_values.m_nWidth = settings.m_defaultPageWidth;
    m_values.m_nHeight = settings.m_defaultPageHeight;
    m_values.m_bCentered = settings.m_defaultPageCentering;
    m_values.m_LinkColor = settings.m_unvisitedLinkColor;
    m_values.m_VisitedLinkColor = settings.m_visitedLinkColor;
    CoverPage();
}

void CNewSiteChoice::SetNameText(const std::string& text)
{
    m_values.m_strName = FieldText(text);
}

void CNewSiteChoice::SetPageIdText(const std::string& text)
{
    m_values.m_strPageId = FieldText(text);
}

void CNewSiteChoice::SetWidthText(const std::string& text)
{
    if (text.empty())
        return;
    m_values.m_nWidth = ClampPageWidth(ReadTypedNumber(FieldText(text)));
    CoverPage();
}

void CNewSiteChoice::SetHeightText(const std::string& text)
{
    if (text.empty())
        return;
    m_values.m_nHeight = ClampPageHeight(ReadTypedNumber(FieldText(text)));
    CoverPage();
}

bool CNewSiteChoice::ChooseSizeEntry(int index, int entryCount)
{
    if (!SizeOfPresetEntry(index, entryCount, m_values.m_nWidth, m_values.m_nHeight))
        return false;
    CoverPage();
    return true;
}

NewSiteRefusal CNewSiteChoice::Finish(CAppSettings& settings)
{
    // An ID made only of characters a file name cannot hold would leave the page without a file of its own.
    SanitizePageId(m_values.m_strPageId);
    if (m_values.m_strName.empty())
        return NewSiteRefusal::emptyName;
    if (m_values.m_strPageId.empty())
        return NewSiteRefusal::emptyPageId;
    if (m_values.m_Background.GetKind() != 1)
        m_values.m_Background.ClearImageFile();
    settings.m_defaultPageWidth = m_values.m_nWidth;
    settings.m_defaultPageHeight = m_values.m_nHeight;
    settings.m_defaultPageCentering = m_values.m_bCentered;
    settings.m_unvisitedLinkColor = m_values.m_LinkColor;
    settings.m_visitedLinkColor = m_values.m_VisitedLinkColor;
    settings.m_repeatBackgroundFill = true;
    settings.m_solidBackgroundFill = CColor(255, 255, 255);
    return NewSiteRefusal::none;
}

void CNewSiteChoice::CoverPage()
{
    m_values.m_Background.SetWidth(m_values.m_nWidth);
    m_values.m_Background.SetHeight(m_values.m_nHeight);
}
