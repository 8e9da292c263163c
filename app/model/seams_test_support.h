#pragma once

// Puts a test's stand-in into every seam of the program it answers (whichever of the seams below it derives from)
// for a scope, and puts back what answered there before, so that a fake installed over another (a test's own over
// its fixture's) gives the seams back to the outer one when it goes, and a fake that grows a seam is installed in it
// everywhere at once.
//
//     RecordingServices services;
//     const SeamsInstalled installed(services);
//
// The seams of the levels above the model (the publisher's host, the shell's dialogs) are only named here: a fake
// that answers one of them includes its header, and that header's ExchangeSeam is found by its argument.

#include <tuple>
#include <type_traits>

#include "app/model/current_state.h"
#include "app/model/messages.h"
#include "app/model/model_dialogs.h"
#include "app/model/services.h"
#include "app/model/tools_and_inspector.h"

class PublishHost;
class ShellDialogs;

namespace seams_detail {

// Installs the fake in one seam when it answers it; hands back what answered before (null when it does not).
template <typename Seam, typename Fake> Seam* Exchange(Fake* fake)
{
    if constexpr (std::is_base_of_v<Seam, Fake>)
        return ExchangeSeam(static_cast<Seam*>(fake));
    else
        return nullptr;
}

template <typename Seam, typename Fake> void PutBack(Seam* before)
{
    if constexpr (std::is_base_of_v<Seam, Fake>)
        ExchangeSeam(before);
}

} // namespace seams_detail

template <typename Fake> class SeamsInstalled
{
public:
    explicit SeamsInstalled(Fake& fake)
        : m_before(seams_detail::Exchange<CoreServices>(&fake), seams_detail::Exchange<Messages>(&fake),
                   seams_detail::Exchange<CurrentState>(&fake), seams_detail::Exchange<ModelDialogs>(&fake),
                   seams_detail::Exchange<ToolsAndInspector>(&fake), seams_detail::Exchange<PublishHost>(&fake),
                   seams_detail::Exchange<ShellDialogs>(&fake))
    {
    }
    ~SeamsInstalled() { PutBack(); }
    SeamsInstalled(const SeamsInstalled&) = delete;
    SeamsInstalled& operator=(const SeamsInstalled&) = delete;

    // Puts back what answered before now, for a test that goes on without the fake; the scope's end then does
    // nothing more.
    void PutBack()
    {
        if (m_putBack)
            return;
        m_putBack = true;
        std::apply(
            [](auto*... before) {
                (seams_detail::PutBack<std::remove_pointer_t<decltype(before)>, Fake>(before), ...);
            },
            m_before);
    }

private:
    std::tuple<CoreServices*, Messages*, CurrentState*, ModelDialogs*, ToolsAndInspector*, PublishHost*, ShellDialogs*>
        m_before;
    bool m_putBack = false;
};
