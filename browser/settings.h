#pragma once

// What the "Web Browser" settings page decides, without a window: which radio buttons are checked and enabled,
// what a choice saves, and where Find... starts looking.

#include <array>
#include <string>

namespace kitefly {

class CBrowserManager;

// The radio buttons by control id and the browser kind each stands for, in the page's order.
struct RadioRow
{
    int id;
    int kind;
};
constexpr std::array<RadioRow, 3> kRadioTable = {{{1064, 0}, {1065, 1}, {1066, 2}}};
// The Find... buttons of the kinds, and their titles.
constexpr std::array<int, 3> kFindButtons = {1001, 1002, 1003};
constexpr std::array<const char*, 3> kFindTitles = {"Locate Internet Explorer", "Locate Netscape Navigator",
                                                    "Locate Opera"};

struct RadioState
{
    bool checked = false;
    bool enabled = false;
};
// By the radio table's order: the preferred kind is checked, only installed kinds are enabled.
std::array<RadioState, 3> PageRadioStates(const CBrowserManager& manager);
// The first checked button's kind becomes the preferred kind; nothing checked saves nothing.
void SavePageChoice(CBrowserManager& manager, const std::array<bool, 3>& checked);

// Where the file dialog of Find... opens: the kind's program without the arguments behind ".exe", and its folder.
struct FindStart
{
    std::string file;
    std::string folder;
};
FindStart FindStartFor(const std::string& path);

} // namespace kitefly
