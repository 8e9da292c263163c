#pragma once

// The windows that stand while long work runs: the site build's progress, and the notice shown while a connection
// to the server is being made.
//
// The site build's progress window: the phase, the page being built, the bar and Cancel. While a build runs the
// window stands over the main window, which stays disabled (with every other window of the program) until the build
// ends; each poll of the builder repaints it and lets Cancel be pressed.

#include <memory>
#include <wx/dialog.h>

#include "app/build/build_status.h"

class wxGauge;
class wxStaticText;
class wxWindowDisabler;

// A progress dialog standing while long work runs on in the caller: shown over the program, every other window of
// which stays disabled until the object goes, and the dialog with it. A dialog whose template did not load is
// destroyed at once; the other windows are disabled all the same.
class CProgressDialogShown
{
public:
    // The dialog's own IsOk says whether it loaded.
    template <class Dialog> explicit CProgressDialogShown(Dialog* dialog) : CProgressDialogShown(dialog, dialog->IsOk())
    {
    }
    CProgressDialogShown(wxDialog* dialog, bool loaded);
    ~CProgressDialogShown();
    CProgressDialogShown(const CProgressDialogShown&) = delete;
    CProgressDialogShown& operator=(const CProgressDialogShown&) = delete;

    // The dialog, or null when it did not load.
    wxDialog* Get() const { return m_dialog; }

private:
    wxDialog* m_dialog = nullptr;
    std::unique_ptr<wxWindowDisabler> m_disabler;
};

class CBuildStatusDLG : public wxDialog
{
public:
    CBuildStatusDLG(wxWindow* parent, CBuildStatus& status);
    bool IsOk() const { return m_bLoaded; }
    // Shows the phase, the page and the bar as the status holds them.
    void ShowStatus();

private:
    CBuildStatus& m_status;
    wxStaticText* m_phase = nullptr;
    wxStaticText* m_pPage = nullptr;
    wxGauge* m_bar = nullptr;
    bool m_bLoaded = false;
};

// The build's progress as the program shows it: the window opens with the object and goes with it.
class CBuildStatusWindow : public CBuildStatus
{
public:
    explicit CBuildStatusWindow(wxWindow* parent);
    ~CBuildStatusWindow() override;
    CBuildStatusWindow(const CBuildStatusWindow&) = delete;
    CBuildStatusWindow& operator=(const CBuildStatusWindow&) = delete;

    CBuildStatusDLG* GetDialog() { return static_cast<CBuildStatusDLG*>(m_shown.Get()); }

protected:
    void Refresh() override;

private:
    CProgressDialogShown m_shown;
};

// The notice that a connection is being made: no buttons, centred over its parent; it goes when the attempt returns.
class CConnectingDLG : public wxDialog
{
public:
    explicit CConnectingDLG(wxWindow* parent);
    bool IsOk() const { return m_bLoaded; }

private:
    bool m_bLoaded = false;
};
