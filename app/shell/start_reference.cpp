// The yardstick of the program's start: the smallest wxWidgets program with a main window, started and measured
// beside the program by scripts/start_time.sh.

#include <wx/app.h>
#include <wx/frame.h>

class StartReferenceApp : public wxApp
{
public:
    bool OnInit() override
    {
        auto* frame = new wxFrame(nullptr, wxID_ANY, "Start reference", wxDefaultPosition, wxSize(800, 600));
        frame->Show();
        return true;
    }
};

wxIMPLEMENT_APP(StartReferenceApp);
