#pragma once

// What the meta-tags, analytics and DOCTYPE dialogs decide, without a window.

#include <string>

// Shown greyed in the empty analytics box; it is a hint, never the page's code.
inline constexpr const char* kAnalyticsHint = "Paste the code in here";

// How the meta-tags dialog ended.
enum class MetaTagsApplied
{
    none,
    allPages,
    currentPage,
};

// The DOCTYPE choice a settings value stands for: 1 Strict, anything else Transitional (0).
int DoctypeChoice(int settingsValue);
// The full declaration of a choice, as the HTML 4.01 standard writes it.
std::string DoctypeDeclaration(int choice);
