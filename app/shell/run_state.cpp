#include "app/shell/run_state.h"

#include "platform/win/file.h"
#include "platform/win/log.h"

CRunState::CRunState(const CSettingsEnvironment& environment, const std::string& storePath)
    : m_environment(environment), m_store(storePath)
{
    CFileException error;
    if (!m_store.Load(&error))
        LogMessage("The settings could not be read and start from their defaults: " + DescribeFileError(error));
    m_settings.LoadSettings(m_store, m_environment);
    m_recentFiles.Load(m_store);
    m_browserPaths = LoadBrowserPaths(m_store);
    m_settings.CheckPreviewBrowser(m_browserPaths.size());
    // A first run has no tracker file yet; the tracker then starts empty.
    m_changedPages.Load();
}

void CRunState::Save()
{
    SaveBrowserPaths(m_store, m_browserPaths);
    m_recentFiles.Save(m_store);
    m_settings.SaveSettings(m_store);
    CFileException error;
    if (!m_store.GetPath().empty() && !m_store.Save(&error))
        LogMessage("The settings could not be saved: " + DescribeFileError(error));
}
