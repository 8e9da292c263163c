#pragma once

// What the welcome dialog at start leaves behind: the way to begin the user chose and the box that stops it from
// showing again.

struct CAppSettings;

struct WelcomeChoice
{
    enum Start
    {
        none,
        newSite,
        openSite,
        siteFromTheme,
    };
    Start start = none;
    bool dontShowAgain = false;
};

// After the dialog: only a dialog that ended with OK (a choice or Close) changes the setting; Cancel leaves it as it
// was, whatever the box says.
void ApplyWelcomeChoice(bool ok, const WelcomeChoice& choice, CAppSettings& settings);
