#pragma once

// What the program keeps for the whole run and its store carries to the next: the settings record and the store it
// lives in, the recent files, the browsers added for previews and the changed-pages tracker as the last run left
// it. It is read when the main window is made and written when the window goes.

#include <string>
#include <vector>

#include "app/model/app_settings.h"
#include "app/publish/changed_pages.h"
#include "app/shell/recent_files.h"
#include "platform/win/key_store.h"

class CRunState
{
public:
    // The settings record is loaded from the store in the given file (empty: a store that is never written).
    CRunState(const CSettingsEnvironment& environment, const std::string& storePath);
    CRunState(const CRunState&) = delete;
    CRunState& operator=(const CRunState&) = delete;

    // The store keeps the settings, the browsers and the recent files for the next run, and goes to its file.
    void Save();

    CAppSettings& GetSettings() { return m_settings; }
    const CSettingsEnvironment& GetEnvironment() const { return m_environment; }
    CKeyStore& GetStore() { return m_store; }
    // Which pages changed since the last upload, as the previous run left them.
    CChangedPages& GetChangedPages() { return m_changedPages; }
    // The external browsers' paths, in the order of the browser menu, the first numbered 1; the Settings menu's
    // commands change them.
    const std::vector<std::string>& GetBrowserPaths() const { return m_browserPaths; }
    std::vector<std::string>& EditBrowserPaths() { return m_browserPaths; }
    CRecentFiles& GetRecentFiles() { return m_recentFiles; }

private:
    CSettingsEnvironment m_environment;
    CKeyStore m_store;
    CAppSettings m_settings;
    std::vector<std::string> m_browserPaths;
    CChangedPages m_changedPages;
    CRecentFiles m_recentFiles;
};
