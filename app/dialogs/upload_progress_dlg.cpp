#include "app/dialogs/upload_progress_dlg.h"

#include <algorithm>

#include <wx/app.h>
#include <wx/gauge.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/utils.h>
#include <wx/xrc/xmlres.h>

#include "app/model/app_settings.h"
#include "app/publish/upload_progress.h"

namespace {

enum
{
    kStatus = 1553,
    kDestination = 1192,
    kProgressBar = 1184,
};

// wxGauge holds an int range; the model's range is an int too, so the bar takes it as it is.
void ShowBar(wxGauge* bar, const CUploadProgress& progress)
{
    const int range = progress.GetRange();
    if (bar->GetRange() != std::max(range, 1))
        bar->SetRange(std::max(range, 1));
    bar->SetValue(range > 0 ? progress.GetBarPosition() : 0);
}

} // namespace

CUploadProgressDLG::CUploadProgressDLG(wxWindow* parent, CUploadProgress& progress, CFtp* connection,
                                       const std::string& destination)
    : m_progress(progress), m_connection(connection)
{
    m_bLoaded = wxXmlResource::Get()->LoadDialog(this, parent, "408");
    if (!m_bLoaded)
        return;
    m_pStatus = dynamic_cast<wxTextCtrl*>(FindWindow(kStatus));
    m_bar = dynamic_cast<wxGauge*>(FindWindow(kProgressBar));
    auto* where = dynamic_cast<wxStaticText*>(FindWindow(kDestination));
    m_bLoaded = m_pStatus && m_bar && where && FindWindow(wxID_CANCEL);
    if (!m_bLoaded)
        return;
    where->SetLabel(wxString::FromUTF8(destination));
    Bind(wxEVT_BUTTON, &CUploadProgressDLG::OnCancel, this, wxID_CANCEL);
    // Closing the window is pressing Cancel: the upload ends it.
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent& event) {
        event.Veto();
        m_progress.Cancel(m_connection);
    });
    ShowProgress();
    GetSizer()->SetSizeHints(this);
    CentreOnScreen();
    FindWindow(wxID_CANCEL)->SetFocus();
}

void CUploadProgressDLG::ShowProgress()
{
    const wxString status = wxString::FromUTF8(m_progress.GetStatusText());
    if (m_pStatus->GetValue() != status)
        m_pStatus->ChangeValue(status);
    ShowBar(m_bar, m_progress);
}

void CUploadProgressDLG::OnCancel(wxCommandEvent&)
{
    // The window stays: the run notices the cancel, ends and closes it.
    m_progress.Cancel(m_connection);
}

std::string UploadDestinationText(const CAppSettings& settings)
{
    // A folder stored from the server's root ("/www") would read "host//www".
    const std::string& folder = settings.m_ftpFolder;
    return settings.m_ftpServer + "/" + folder.substr(std::min(folder.find_first_not_of('/'), folder.size()));
}

CUploadProgressWindow::CUploadProgressWindow(wxWindow* parent, CUploadProgress& progress, CFtp* connection,
                                             const std::string& destination)
    : m_shown(new CUploadProgressDLG(parent, progress, connection, destination))
{
}

CUploadProgressWindow::~CUploadProgressWindow() = default;

void CUploadProgressWindow::Update(int pauseMs)
{
    if (CUploadProgressDLG* dialog = GetDialog())
        dialog->ShowProgress();
    // Every other window is disabled, so taking input here reaches only Cancel and repaints.
    const wxLongLong end = wxGetLocalTimeMillis() + pauseMs;
    do {
        wxTheApp->Yield(true);
        if (pauseMs > 0)
            wxMilliSleep(10);
    } while (wxGetLocalTimeMillis() < end);
}
