// The controls gallery: one window with every control built so far, to look at and try by hand.
//
//     controls_gallery [--screenshot <file.png>]
//
// With --screenshot the window's picture is written to the file once it is painted, and the program ends.

#include "controls/gallery_frame.h"

#include <wx/app.h>
#include <wx/cmdline.h>
#include <wx/timer.h>

class CGalleryApp : public wxApp
{
public:
    bool OnInit() override
    {
        if (!wxApp::OnInit())
            return false;
        auto* frame = new CGalleryFrame();
        frame->Show();
        if (!m_screenshot.empty()) {
            // Give the window a moment to be mapped and painted before its picture is taken.
            m_timer.Bind(wxEVT_TIMER, [this, frame](wxTimerEvent&) {
                frame->Update();
                m_result = SaveWindowPicture(frame, m_screenshot) ? 0 : 1;
                frame->Close();
            });
            m_timer.StartOnce(500);
        }
        return true;
    }

    int OnRun() override
    {
        const int code = wxApp::OnRun();
        return code != 0 ? code : m_result;
    }

    void OnInitCmdLine(wxCmdLineParser& parser) override
    {
        wxApp::OnInitCmdLine(parser);
        parser.AddOption("", "screenshot", "write the window's picture to this PNG file and end");
    }

    bool OnCmdLineParsed(wxCmdLineParser& parser) override
    {
        parser.Found("screenshot", &m_screenshot);
        return wxApp::OnCmdLineParsed(parser);
    }

private:
    wxString m_screenshot;
    wxTimer m_timer;
    int m_result = 0;
};

wxIMPLEMENT_APP(CGalleryApp);
