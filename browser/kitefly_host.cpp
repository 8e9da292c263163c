// A small host of the browser manager library: opens an address in the user's browser, shows the library's
// settings sheet, or lists the addresses the browser's windows show.
//
//   kitefly_host open ADDRESS [--new-window]
//   kitefly_host settings [--picture FILE]   (FILE: a picture of the sheet is saved, then the sheet is cancelled)
//   kitefly_host windows

#include "browser/kitefly.h"

#include <wx/app.h>
#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/dialog.h>
#include <wx/image.h>
#include <wx/imagpng.h>
#include <wx/init.h>
#include <wx/timer.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

int Usage()
{
    std::fprintf(stderr, "usage: kitefly_host open ADDRESS [--new-window]\n"
                         "       kitefly_host settings [--picture FILE]\n"
                         "       kitefly_host windows\n");
    return 2;
}

int Open(const char* address, bool newWindow)
{
    Kitefly_Init();
    const int opened = Kitefly_OpenURL(address, newWindow ? KITEFLY_OPEN_NEW_WINDOW : 0);
    Kitefly_Close();
    if (!opened) {
        std::fprintf(stderr, "kitefly_host: no web browser could be found or started for %s\n", address);
        return 1;
    }
    return 0;
}

int Windows()
{
    Kitefly_Init();
    char* urls = nullptr;
    if (Kitefly_GetBrowserURLs(&urls)) {
        for (const char* p = urls; *p;) {
            const char* title = p;
            const char* address = title + std::strlen(title) + 1;
            std::printf("%s\t%s\n", title, address);
            p = address + std::strlen(address) + 1;
        }
    } else {
        std::printf("no browser windows\n");
    }
    Kitefly_Close();
    return 0;
}

bool SavePicture(wxWindow* window, const wxString& file)
{
    const wxRect area = window->GetScreenRect();
    if (area.IsEmpty())
        return false;
    wxBitmap picture(area.GetWidth(), area.GetHeight(), 24);
    {
        wxScreenDC screen;
        wxMemoryDC target(picture);
        if (!target.Blit(0, 0, area.GetWidth(), area.GetHeight(), &screen, area.GetX(), area.GetY()))
            return false;
    }
    wxImage::AddHandler(new wxPNGHandler());
    return picture.ConvertToImage().SaveFile(file, wxBITMAP_TYPE_PNG);
}

// Waits for the sheet to stand on the screen, saves its picture and cancels it.
class SheetPicture : public wxTimer
{
public:
    explicit SheetPicture(const wxString& file) : m_file(file) {}
    bool saved = false;

    void Notify() override
    {
        for (wxWindow* window : wxTopLevelWindows) {
            auto* sheet = wxDynamicCast(window, wxDialog);
            if (!sheet || sheet->GetTitle() != "Browser Settings" || !sheet->IsShownOnScreen())
                continue;
            // A few more ticks let the window manager place it and the page draw itself.
            if (++m_ticks < 4)
                return;
            Stop();
            sheet->Update();
            saved = SavePicture(sheet, m_file);
            sheet->EndModal(wxID_CANCEL);
            return;
        }
    }

private:
    wxString m_file;
    int m_ticks = 0;
};

int Settings(int argc, char** argv, const char* picture)
{
    wxApp::SetInstance(new wxApp());
    if (!wxEntryStart(argc, argv)) {
        std::fprintf(stderr, "kitefly_host: the settings sheet needs a display\n");
        return 1;
    }
    int result = 0;
    {
        SheetPicture timer(picture ? picture : "");
        if (picture)
            timer.Start(100);
        Kitefly_InvokePropSheet(nullptr);
        Kitefly_Close();
        if (picture && !timer.saved) {
            std::fprintf(stderr, "kitefly_host: the sheet's picture could not be saved\n");
            result = 1;
        }
    }
    wxEntryCleanup();
    return result;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return Usage();
    const std::string command = argv[1];
    if (command == "open" && (argc == 3 || (argc == 4 && std::strcmp(argv[3], "--new-window") == 0)))
        return Open(argv[2], argc == 4);
    if (command == "settings" && (argc == 2 || (argc == 4 && std::strcmp(argv[2], "--picture") == 0))) {
        int wxArgc = 1;
        return Settings(wxArgc, argv, argc == 4 ? argv[3] : nullptr);
    }
    if (command == "windows" && argc == 2)
        return Windows();
    return Usage();
}
