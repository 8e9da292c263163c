#pragma once

// Lets the toolkit deliver what is pending (paints, sizes, focus, idle work) before a test looks at a window.

#include <wx/app.h>
#include <wx/utils.h>

inline void Settle()
{
    for (int i = 0; i < 20; ++i) {
        wxYield();
        wxMilliSleep(5);
    }
    if (wxTheApp)
        wxTheApp->ProcessIdle();
}
