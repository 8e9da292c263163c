#pragma once

// The upload's progress window: where the site goes, the status line, the bar over the bytes of the current phase
// and Cancel. It shows what the upload's progress model holds; Cancel is the model's.

#include <memory>
#include <string>
#include <wx/dialog.h>

#include "app/dialogs/progress_windows.h"

class CUploadProgress;
class CFtp;
struct CAppSettings;
class wxGauge;
class wxTextCtrl;

class CUploadProgressDLG : public wxDialog
{
public:
    CUploadProgressDLG(wxWindow* parent, CUploadProgress& progress, CFtp* connection, const std::string& destination);
    bool IsOk() const { return m_bLoaded; }
    // Shows the model's status line and bar.
    void ShowProgress();

private:
    void OnCancel(wxCommandEvent& event);

    CUploadProgress& m_progress;
    CFtp* m_connection;
    wxTextCtrl* m_pStatus = nullptr;
    wxGauge* m_bar = nullptr;
    bool m_bLoaded = false;
};

// The destination line: the server, "/" and the WWW folder (without its own leading slashes).
std::string UploadDestinationText(const CAppSettings& settings);

// The window while an upload runs: the progress window over the main window, which stays disabled (with every other
// window of the program) until the upload ends; the work runs on in the caller, which calls Update to repaint and
// let Cancel be pressed.
class CUploadProgressWindow
{
public:
    CUploadProgressWindow(wxWindow* parent, CUploadProgress& progress, CFtp* connection,
                          const std::string& destination);
    ~CUploadProgressWindow();
    CUploadProgressWindow(const CUploadProgressWindow&) = delete;
    CUploadProgressWindow& operator=(const CUploadProgressWindow&) = delete;

    CUploadProgressDLG* GetDialog() { return static_cast<CUploadProgressDLG*>(m_shown.Get()); }
    // Repaints and takes the pending input; with pauseMs keeps doing so that long.
    void Update(int pauseMs);

private:
    CProgressDialogShown m_shown;
};
