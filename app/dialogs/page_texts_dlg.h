#pragma once

// The meta-tags dialog (5028), the analytics-code dialog (5047) and the DOCTYPE dialog (315). They show and hand
// back texts and a choice; the caller applies them to the pages and the settings.

#include <string>
#include <wx/dialog.h>

#include "app/dialogs/page_texts.h"

class wxChoice;
class wxTextCtrl;

class CMetaTagsDLG : public wxDialog
{
public:
    CMetaTagsDLG(wxWindow* parent, const std::string& keywords, const std::string& description);

    bool IsOk() const { return m_bLoaded; }
    int ShowModal() override;
    const std::string& GetKeywords() const { return m_keywords; }
    const std::string& GetDescription() const { return m_description; }
    MetaTagsApplied GetApplied() const { return m_applied; }

private:
    void Apply(MetaTagsApplied applied);

    bool m_bLoaded = false;
    std::string m_keywords;
    std::string m_description;
    MetaTagsApplied m_applied = MetaTagsApplied::none;
};

class CAnalyticsDLG : public wxDialog
{
public:
    CAnalyticsDLG(wxWindow* parent, const std::string& code);

    bool IsOk() const { return m_bLoaded; }
    int ShowModal() override;
    // The code as typed, after Save.
    const std::string& GetCode() const { return m_strCode; }

private:
    bool m_bLoaded = false;
    std::string m_strCode;
};

class CDoctypeDLG : public wxDialog
{
public:
    // Opens on the settings' default DOCTYPE; OK stores the choice there.
    explicit CDoctypeDLG(wxWindow* parent);

    bool IsOk() const { return m_bLoaded; }
    int ShowModal() override;
    // Valid after OK.
    int GetDoctype() const { return m_nDoctype; }

private:
    void ShowDeclaration();

    bool m_bLoaded = false;
    int m_nDoctype = 0;
    wxChoice* m_pChoice = nullptr;
    wxTextCtrl* m_line = nullptr;
};
