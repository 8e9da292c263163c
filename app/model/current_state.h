#pragma once

// How the core learns what is current in the program (the site, its page and view, the selected object and the
// settings) without depending on the document or the views. Every function is pure, so the program's services must
// answer each one to build; until they are installed (and in headless use) NullCurrentState answers that nothing is
// current. Tests derive their fakes from it.

#include <string>

class CWebsite;
class CSitePage;
class CPageObject;
class PageView;
struct CAppSettings;

class CurrentState
{
public:
    virtual ~CurrentState() = default;

    // Null when there is nothing current.
    virtual CWebsite* GetCurrentSite() = 0;
    // The file path of the current site; empty for a site not saved yet or when there is none.
    virtual std::string GetCurrentSitePath() = 0;
    virtual PageView* GetCurrentView() = 0;
    virtual CSitePage* GetCurrentPage() = 0;
    // The object of the only selected item, else null.
    virtual CPageObject* GetCurrentObject() = 0;
    virtual CAppSettings* GetAppSettings() = 0;
};

class NullCurrentState : public CurrentState
{
public:
    CWebsite* GetCurrentSite() override { return nullptr; }
    std::string GetCurrentSitePath() override { return {}; }
    PageView* GetCurrentView() override { return nullptr; }
    CSitePage* GetCurrentPage() override { return nullptr; }
    CPageObject* GetCurrentObject() override { return nullptr; }
    CAppSettings* GetAppSettings() override { return nullptr; }
};

// Installs the program's answers; the caller keeps ownership and must keep them alive while installed. Null puts
// back the headless answers.
void SetCurrentState(CurrentState* state);
CurrentState& GetCurrentState();
