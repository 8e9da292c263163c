#pragma once

// Puts a test's stand-in into every seam of the core it answers (whichever of CoreServices, CurrentState,
// ModelDialogs and ToolsAndInspector it derives from) and takes it out again, so a fake that grows a seam is
// installed in it everywhere at once.

#include <type_traits>

#include "app/model/current_state.h"
#include "app/model/model_dialogs.h"
#include "app/model/services.h"
#include "app/model/tools_and_inspector.h"

namespace seams_detail {
template <typename Fake> void Install(Fake* fake)
{
    if constexpr (std::is_base_of_v<CoreServices, Fake>)
        SetCoreServices(fake);
    if constexpr (std::is_base_of_v<CurrentState, Fake>)
        SetCurrentState(fake);
    if constexpr (std::is_base_of_v<ModelDialogs, Fake>)
        SetModelDialogs(fake);
    if constexpr (std::is_base_of_v<ToolsAndInspector, Fake>)
        SetToolsAndInspector(fake);
}
} // namespace seams_detail

template <typename Fake> void InstallInSeams(Fake& fake)
{
    seams_detail::Install(&fake);
}

// Leaves the seams the fake answers to the program's defaults.
template <typename Fake> void RemoveFromSeams(Fake&)
{
    seams_detail::Install(static_cast<Fake*>(nullptr));
}

// The same for a scope: installed on construction, removed on destruction.
template <typename Fake> class SeamsInstalled
{
public:
    explicit SeamsInstalled(Fake& fake) : m_fake(fake) { InstallInSeams(fake); }
    ~SeamsInstalled() { RemoveFromSeams(m_fake); }
    SeamsInstalled(const SeamsInstalled&) = delete;
    SeamsInstalled& operator=(const SeamsInstalled&) = delete;

private:
    Fake& m_fake;
};
