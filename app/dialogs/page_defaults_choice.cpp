#include "app/dialogs/page_defaults_choice.h"

#include "app/docview/site_document.h"
#include "app/model/app_settings.h"
#include "app/model/page_size.h"
#include "app/model/services.h"
#include "app/site/site_page.h"
#include "app/site/website.h"

void CPageDefaultsChoice::Open(CWebsite& site)
{
    m_pSite = &site;
    m_values = ReadPageDefaults(site);
    m_names.clear();
    m_pages.clear();
    m_target = nullptr;
    CoverPage();
}

void CPageDefaultsChoice::SetWidthText(const std::string& text)
{
    if (text.empty())
        return;
    m_values.width = ClampPageWidth(ReadTypedNumber(text));
    CoverPage();
}

void CPageDefaultsChoice::SetHeightText(const std::string& text)
{
    if (text.empty())
        return;
    m_values.height = ClampPageHeight(ReadTypedNumber(text));
    CoverPage();
}

bool CPageDefaultsChoice::ChooseSizeEntry(int index, int entryCount)
{
    if (!SizeOfPresetEntry(index, entryCount, m_values.width, m_values.height, PageSizePresets::pageDefaults))
        return false;
    CoverPage();
    return true;
}

const std::vector<std::string>& CPageDefaultsChoice::DropDownPages()
{
    m_names.clear();
    m_pages.clear();
    m_target = nullptr;
    if (m_pSite)
        for (const ShowPageEntry& entry : BuildShowPageEntries(*m_pSite, std::string())) {
            m_names.push_back(entry.text);
            m_pages.push_back(entry.page);
        }
    return m_names;
}

void CPageDefaultsChoice::ChooseTarget(int index)
{
    if (index < 0 || index >= static_cast<int>(m_pages.size()))
        return;
    m_target = m_pages[index];
    m_values.width = m_target->GetWidth();
    m_values.height = m_target->GetHeight();
    m_values.doctype = m_target->GetDoctype();
    m_values.centered = m_target->IsCentered();
    m_values.background = *m_target->GetBackground();
}

bool CPageDefaultsChoice::Apply(CAppSettings& settings)
{
    if (!m_pSite || !m_target) {
        GetMessages().ShowMessage(kNoTargetPageMessage);
        return false;
    }
    ApplyPageDefaults(*m_pSite, *m_target, m_values);
    StoreInSettings(settings);
    return true;
}

void CPageDefaultsChoice::Transfer(bool confirmed, CAppSettings& settings)
{
    if (confirmed && m_pSite)
        TransferPageDefaults(*m_pSite, m_values);
    StoreInSettings(settings);
}

void CPageDefaultsChoice::CoverPage()
{
    m_values.background.SetWidth(m_values.width);
    m_values.background.SetHeight(m_values.height);
}

void CPageDefaultsChoice::StoreInSettings(CAppSettings& settings) const
{
    settings.m_defaultPageWidth = m_values.width;
    settings.m_defaultPageHeight = m_values.height;
    settings.m_defaultPageCentering = m_values.centered;
    settings.m_unvisitedLinkColor = m_values.linkColor;
    settings.m_visitedLinkColor = m_values.visitedLinkColor;
    settings.m_defaultDoctype = m_values.doctype;
}
