#include "browser/settings_page.h"

#include "browser/browser.h"
#include "browser/report.h"
#include "browser/settings.h"

#include <wx/app.h>
#include <wx/bookctrl.h>
#include <wx/dialog.h>
#include <wx/filedlg.h>
#include <wx/filesys.h>
#include <wx/fs_mem.h>
#include <wx/panel.h>
#include <wx/propdlg.h>
#include <wx/radiobut.h>
#include <wx/toplevel.h>
#include <wx/xrc/xmlres.h>

extern const char kKiteflyXrc[];

namespace kitefly {

namespace {

FindFileHandler& FindHandler()
{
    static auto& handler = *new FindFileHandler;
    return handler;
}

// The library's own templates, kept apart from whatever templates the host loads.
wxXmlResource& Templates()
{
    static wxXmlResource* templates = nullptr;
    if (!templates) {
        if (!wxFileSystem::HasHandlerForPath("memory:kitefly.xrc"))
            wxFileSystem::AddHandler(new wxMemoryFSHandler);
        wxMemoryFSHandler::AddFile("kitefly.xrc", kKiteflyXrc);
        templates = new wxXmlResource(wxXRC_NO_SUBCLASSING);
        templates->InitAllHandlers();
        templates->Load("memory:kitefly.xrc");
    }
    return *templates;
}

// What the page keeps while it is open; nothing reads it beyond its presence.
class PageRecord : public wxClientData
{
};

wxRadioButton* Radio(wxWindow* page, int id)
{
    return wxDynamicCast(page->FindWindow(id), wxRadioButton);
}

void FillControls(wxWindow* page)
{
    const std::array<RadioState, 3> states = PageRadioStates(TheBrowserManager());
    for (std::size_t i = 0; i < kRadioTable.size(); ++i) {
        if (wxRadioButton* radio = Radio(page, kRadioTable[i].id)) {
            if (states[i].checked)
                radio->SetValue(true);
            radio->Enable(states[i].enabled);
        }
    }
}

void SaveChoice(wxWindow* page)
{
    std::array<bool, 3> checked{};
    for (std::size_t i = 0; i < kRadioTable.size(); ++i) {
        // A group always shows one button checked; a disabled one stands for a browser that is not installed.
        const wxRadioButton* radio = Radio(page, kRadioTable[i].id);
        checked[i] = radio && radio->GetValue() && radio->IsEnabled();
    }
    SavePageChoice(TheBrowserManager(), checked);
}

std::optional<std::string> AskForFile(wxWindow* page, const FindRequest& request)
{
    if (FindHandler())
        return FindHandler()(request);
    wxFileDialog dialog(page, wxString::From8BitData(request.title.c_str()),
                        wxString::From8BitData(request.folder.c_str()), wxString::From8BitData(request.file.c_str()),
                        "Internet Explorer|iexplore.exe|Netscape Navigator|netscape.exe|Opera|opera.exe|"
                        "All Program Files|*.exe|All files|*.*",
                        wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    dialog.SetFilterIndex(request.filterIndex);
    if (dialog.ShowModal() != wxID_OK)
        return std::nullopt;
    return std::string(dialog.GetPath().fn_str());
}

void Find(wxWindow* page, int kind)
{
    const FindStart start = FindStartFor(GetBrowserPath(kind));
    FindRequest request;
    request.title = kFindTitles[static_cast<std::size_t>(kind)];
    request.file = start.file;
    request.folder = start.folder;
    request.filterIndex = kind;
    const std::optional<std::string> chosen = AskForFile(page, request);
    if (!chosen)
        return;
    TheBrowserManager().SetBrowserPath(kind, chosen->c_str());
    FillControls(page);
}

void EndDialog(wxWindow* page, int result)
{
    if (auto* dialog = wxDynamicCast(wxGetTopLevelParent(page), wxDialog); dialog && dialog->IsModal())
        dialog->EndModal(result);
}

class CWebBrowserPage : public wxPanel
{
public:
    CWebBrowserPage(wxWindow* parent, const KITEFLY_PROPSHEETPAGE& record) : m_procedure(record.pfnDlgProc)
    {
        Templates().LoadPanel(this, parent, wxString::Format("%u", static_cast<unsigned>(record.pszTemplate)));
        Bind(wxEVT_BUTTON, [this](wxCommandEvent& event) {
            if (m_procedure)
                m_procedure(this, KITEFLY_WM_COMMAND, static_cast<uintptr_t>(event.GetId()), 0);
        });
        if (m_procedure)
            m_procedure(this, KITEFLY_WM_INITDIALOG, 0, record.lParam);
    }
    ~CWebBrowserPage() override
    {
        if (m_procedure) {
            m_procedure(this, KITEFLY_WM_DESTROY, 0, 0);
            m_procedure(this, KITEFLY_WM_NCDESTROY, 0, 0);
        }
    }

private:
    KITEFLY_DLGPROC m_procedure;
};

} // namespace

intptr_t BrowserPageProcedure(void* window, unsigned message, uintptr_t wParam, intptr_t lParam)
{
    auto* page = static_cast<wxWindow*>(window);
    if (!page)
        return 0;
    switch (message) {
    case KITEFLY_WM_INITDIALOG:
        page->SetClientObject(new PageRecord);
        FillControls(page);
        return 1;
    case KITEFLY_WM_NOTIFY: {
        const auto* header = reinterpret_cast<const KITEFLY_NMHDR*>(lParam);
        if (header && header->code == KITEFLY_PSN_APPLY)
            SaveChoice(page);
        return 0;
    }
    case KITEFLY_WM_COMMAND: {
        const int id = static_cast<int>(wParam & 0xFFFF);
        if (id == IDOK) {
            SaveChoice(page);
            EndDialog(page, 1);
        } else if (id == IDCANCEL) {
            EndDialog(page, 0);
        }
        for (std::size_t kind = 0; kind < kFindButtons.size(); ++kind)
            if (id == kFindButtons[kind])
                Find(page, static_cast<int>(kind));
        return 0;
    }
    case KITEFLY_WM_HELP:
        return 1;
    case KITEFLY_WM_NCDESTROY:
        page->SetClientObject(nullptr);
        return 0;
    default:
        return 0;
    }
}

void* CreateBrowserPage(void* parent, const KITEFLY_PROPSHEETPAGE& page)
{
    return new CWebBrowserPage(static_cast<wxWindow*>(parent), page);
}

void ShowBrowserSettingsSheet(void* parent, const KITEFLY_PROPSHEETPAGE& record)
{
    if (!wxTheApp || !wxTheApp->IsGUI()) {
        MessageBeep();
        return;
    }
    wxPropertySheetDialog sheet(static_cast<wxWindow*>(parent), wxID_ANY, "Browser Settings");
    sheet.CreateButtons(wxOK | wxCANCEL);
    auto* page = static_cast<wxWindow*>(CreateBrowserPage(sheet.GetBookCtrl(), record));
    sheet.GetBookCtrl()->AddPage(page, "Web Browser", true);
    sheet.LayoutDialog();
    if (sheet.ShowModal() == wxID_OK && record.pfnDlgProc) {
        KITEFLY_NMHDR apply{page, 0, KITEFLY_PSN_APPLY};
        record.pfnDlgProc(page, KITEFLY_WM_NOTIFY, 0, reinterpret_cast<intptr_t>(&apply));
    }
}

namespace detail {

void SetFindFileHandler(FindFileHandler handler)
{
    FindHandler() = std::move(handler);
}

} // namespace detail

} // namespace kitefly
