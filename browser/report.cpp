#include "browser/report.h"

#include <wx/app.h>
#include <wx/msgdlg.h>
#include <wx/utils.h>

#include <cstdio>

namespace kitefly {

namespace {

MessageBoxHandler& BoxHandler()
{
    static auto& handler = *new MessageBoxHandler;
    return handler;
}

AssertHandler& AssertReport()
{
    static auto& handler = *new AssertHandler;
    return handler;
}

int g_beeps = 0;

int DefaultMessageBox(const std::string& text, const std::string& caption, unsigned style)
{
    const bool yesNo = (style & 0xF) == MB_YESNO;
    if (wxTheApp && wxTheApp->IsGUI() && wxTheApp->IsMainLoopRunning()) {
        long wxStyle = yesNo ? wxYES_NO : wxOK;
        if ((style & 0xF0) == MB_ICONHAND)
            wxStyle |= wxICON_ERROR;
        else if ((style & 0xF0) == MB_ICONEXCLAMATION)
            wxStyle |= wxICON_WARNING;
        const int answer =
            wxMessageBox(wxString::From8BitData(text.c_str()), wxString::From8BitData(caption.c_str()), wxStyle);
        return answer == wxYES ? IDYES : answer == wxNO ? IDNO : IDOK;
    }
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    return yesNo ? IDNO : IDOK;
}

} // namespace

void SetMessageBoxHandler(MessageBoxHandler handler)
{
    BoxHandler() = std::move(handler);
}

int ShowMessageBox(const std::string& text, const std::string& caption, unsigned style)
{
    if (BoxHandler())
        return BoxHandler()(text, caption, style);
    return DefaultMessageBox(text, caption, style);
}

void MessageBeep()
{
    ++g_beeps;
    if (wxTheApp && wxTheApp->IsGUI())
        wxBell();
}

int BeepCount()
{
    return g_beeps;
}

void SetAssertHandler(AssertHandler handler)
{
    AssertReport() = std::move(handler);
}

void ReportAssert(const char* condition, const char* file, int line)
{
    if (AssertReport()) {
        AssertReport()(condition, file, line);
        return;
    }
    std::fprintf(stderr, "Assertion failed: %s, file %s, line %d\n", condition, file, line);
}

} // namespace kitefly
