#pragma once

// How the core learns what is current in the program (the site, its page and view, the selected object and the
// settings), and what the core below the site asks of the current site, without depending on the document, the
// site or the views. Every function is pure, so the program's services must
// answer each one to build; until they are installed (and in headless use) NullCurrentState answers that nothing is
// current. Tests derive their fakes from it.

#include <string>

#include "platform/win/win_types.h"

class CFileNameMap;
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

    // What the objects and the model's records ask of the current site, which they cannot see.
    // The colour links are shown in on its pages; blue when there is no site.
    virtual COLORREF GetSiteLinkColor() = 0;
    // Its file-name replacement map, null when there is no site.
    virtual CFileNameMap* GetSiteFileNameMap() = 0;
    // Marks it changed since it was saved; nothing when there is no site.
    virtual void SetSiteModified() = 0;
    // Its number of pages; -1 when there is no site.
    virtual int GetSitePageCount() = 0;
    // The minor version of the file it was read from (15 for a new site, and when there is none).
    virtual int GetSiteMinorVersion() = 0;
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
    COLORREF GetSiteLinkColor() override { return RGB(0, 0, 255); }
    CFileNameMap* GetSiteFileNameMap() override { return nullptr; }
    void SetSiteModified() override {}
    int GetSitePageCount() override { return -1; }
    int GetSiteMinorVersion() override { return 15; }
};

// Installs the program's answers; the caller keeps ownership and must keep them alive while installed. Null puts
// back the headless answers.
void SetCurrentState(CurrentState* state);
CurrentState& GetCurrentState();
// Installs state as SetCurrentState does and hands back what answered before, so that a scope can put it back
// (seams_test_support.h does so for every seam).
CurrentState* ExchangeSeam(CurrentState* state);
