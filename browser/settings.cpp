#include "browser/settings.h"

#include "browser/browser.h"

namespace kitefly {

std::array<RadioState, 3> PageRadioStates(const CBrowserManager& manager)
{
    std::array<RadioState, 3> states;
    for (std::size_t i = 0; i < kRadioTable.size(); ++i) {
        states[i].checked = kRadioTable[i].kind == manager.GetPreferred();
        states[i].enabled = manager.IsInstalled(kRadioTable[i].kind) != 0;
    }
    return states;
}

void SavePageChoice(CBrowserManager& manager, const std::array<bool, 3>& checked)
{
    for (std::size_t i = 0; i < kRadioTable.size(); ++i) {
        if (checked[i]) {
            manager.SetPreferred(kRadioTable[i].kind);
            return;
        }
    }
}

FindStart FindStartFor(const std::string& path)
{
    FindStart start;
    if (path.empty())
        return start;
    start.file = path;
    std::string lower = path;
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    const auto exe = lower.find(".exe");
    if (exe != std::string::npos && exe > 0 && exe + 4 <= kPathSize)
        start.file.resize(exe + 4);
    const auto slash = start.file.find_last_of("/\\");
    if (slash != std::string::npos)
        start.folder = start.file.substr(0, slash + 1);
    return start;
}

} // namespace kitefly
