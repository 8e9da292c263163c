// The main of every test program that opens windows: wx is started once for the whole run (on the display
// scripts/with_display.sh provides), and a wx assertion fails the test that raised it instead of opening a dialog.

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/log.h>

#include <cstdio>

namespace {

void FailOnAssert(const wxString& file, int line, const wxString& func, const wxString& cond, const wxString& msg)
{
    ADD_FAILURE_AT(file.utf8_str(), line)
        << "wx assertion in " << func.utf8_str() << ": " << cond.utf8_str() << " " << msg.utf8_str();
}

} // namespace

// GTK's text layout holds fontconfig objects until the process ends, so fontconfig must not be shut down at exit,
// as the program itself tells the text library. The reference is weak: a test program without the text library
// has nothing to tell.
void KeepFontconfigAtExit() __attribute__((weak));

// GTK and the libraries under it keep caches until the process ends. Their stacks through these uninstrumented
// libraries are too short to name more than the library, so the library is what is named. Nothing of ours or of wx
// is listed: a window or object our code fails to free is still reported.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n"
           "leak:libglib-2.0.so\n"
           "leak:libgobject-2.0.so\n"
           "leak:libgio-2.0.so\n"
           "leak:libdbus-1.so\n"
           "leak:libgtk-3.so\n"
           "leak:libgdk-3.so\n"
           "leak:libpango-1.0.so\n"
           "leak:libpangoft2-1.0.so\n"
           "leak:libharfbuzz.so\n"
           // The web view's engine keeps its own allocations until the process ends.
           "leak:libjavascriptcoregtk-4.0.so\n"
           "leak:libwebkit2gtk-4.0.so\n";
}

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (::testing::GTEST_FLAG(list_tests))
        return RUN_ALL_TESTS();

    wxSetAssertHandler(FailOnAssert);
    // Without an application object of the GUI kind wx would start as a console program.
    wxApp::SetInstance(new wxApp());
    if (!wxEntryStart(argc, argv)) {
        fprintf(stderr, "wx could not start: is there a display?\n");
        return 1;
    }
    wxLog::SetActiveTarget(new wxLogStderr());
    // Tests save what they show as PNG pictures.
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxImage::AddHandler(new wxPNGHandler());
    if (KeepFontconfigAtExit)
        KeepFontconfigAtExit();
    const int result = RUN_ALL_TESTS();
    wxEntryCleanup();
    return result;
}
