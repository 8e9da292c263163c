#pragma once

// Help > About, the feedback dialog with its link to the comments page and the upgrade notice.

#include <string>
#include <wx/dialog.h>

class CAboutDLG : public wxDialog
{
public:
    explicit CAboutDLG(wxWindow* parent);
    bool IsOk() const { return m_bLoaded; }

private:
    bool m_bLoaded = false;
};

class CFeedbackDLG : public wxDialog
{
public:
    explicit CFeedbackDLG(wxWindow* parent);
    bool IsOk() const { return m_bLoaded; }

private:
    bool m_bLoaded = false;
};

// The notice that tells of the upgrade, with a link to its page on the maker's site.
class CUpgradeDLG : public wxDialog
{
public:
    explicit CUpgradeDLG(wxWindow* parent);
    bool IsOk() const { return m_bLoaded; }

private:
    bool m_bLoaded = false;
};

// The maker's home page, and the program's version as About shows it.
std::string GetMakerHomePage();
std::string GetProgramVersion();
