#pragma once

// The dialogs the shell opens for its own commands (the tools bar's colour and hints, the browser menu, closing with
// unsaved changes, the Help menu and the dialogs at start). They are not the core's to ask, so they stand apart
// from CoreServices. Every function is pure, so the program's services must answer each one to build; until they
// are installed NullShellDialogs answers as a cancelled dialog does, and the shell's test fakes derive from it.

#include <array>
#include <string>
#include <vector>

#include "app/model/dialog_answer.h"
#include "image/image.h"
#include "platform/win/win_types.h"

class ShellDialogs
{
public:
    virtual ~ShellDialogs() = default;

    // The colour dialog, opened on color with the 16 custom colours; true, with the chosen colour in color and the
    // custom colours as the user left them, when the user pressed OK.
    virtual bool ShowColorDialog(CColor& color, std::array<COLORREF, 16>& customColors) = 0;
    // The first-use hint of a tool of the tools bar.
    virtual void ShowToolHint(int tool) = 0;
    // The program chooser of Add New Browser (a program file or a desktop entry): true, with path holding the
    // chosen file, unless the user cancelled.
    virtual bool ChooseBrowserFile(std::string& path) = 0;
    // Remove Browser's list of the browsers by their labels: true, with one flag per browser in selected, on OK.
    virtual bool ChooseBrowsersToRemove(const std::vector<std::string>& labels, std::vector<bool>& selected) = 0;
    // The download offer of a companion tool that is not installed (offer 0 to 5): true for "Download Now".
    virtual bool ShowDownloadOffer(int offer) = 0;
    // Asks whether the site's changes are to be saved before it closes (dialog 301).
    virtual YesNoCancel ShowSaveChangesDialog() = 0;
    // The help-dialogs settings (OK writes every flag), tips of the day, About and the feedback dialog.
    virtual DialogAnswer ShowHelpDialogsDialog() = 0;
    virtual DialogAnswer ShowTipsDialog() = 0;
    virtual void ShowAboutDialog() = 0;
    virtual void ShowFeedbackDialog() = 0;
    // The welcome dialog at start: ok, with the way to begin in start (0 none, 1 new website, 2 open website, 3 new
    // website from a theme) and the state of its don't-show-again box, or cancel.
    virtual DialogAnswer ShowWelcomeDialog(int& start, bool& dontShowAgain) = 0;
    // The themes browser over the program's Themes folder: ok with the chosen theme file in path, or cancel, also
    // when no themes are installed.
    virtual DialogAnswer ShowThemesDialog(std::string& path) = 0;
};

// The shell's dialogs before start-up: each answers as a cancelled dialog does and shows nothing.
class NullShellDialogs : public ShellDialogs
{
public:
    bool ShowColorDialog(CColor& color, std::array<COLORREF, 16>& customColors) override
    {
        (void)color, (void)customColors;
        return false;
    }
    void ShowToolHint(int tool) override { (void)tool; }
    bool ChooseBrowserFile(std::string& path) override
    {
        (void)path;
        return false;
    }
    bool ChooseBrowsersToRemove(const std::vector<std::string>& labels, std::vector<bool>& selected) override
    {
        (void)labels, (void)selected;
        return false;
    }
    bool ShowDownloadOffer(int offer) override
    {
        (void)offer;
        return false;
    }
    YesNoCancel ShowSaveChangesDialog() override { return YesNoCancel::cancel; }
    DialogAnswer ShowHelpDialogsDialog() override { return DialogAnswer::cancel; }
    DialogAnswer ShowTipsDialog() override { return DialogAnswer::cancel; }
    void ShowAboutDialog() override {}
    void ShowFeedbackDialog() override {}
    DialogAnswer ShowWelcomeDialog(int& start, bool& dontShowAgain) override
    {
        (void)start, (void)dontShowAgain;
        return DialogAnswer::cancel;
    }
    DialogAnswer ShowThemesDialog(std::string& path) override
    {
        (void)path;
        return DialogAnswer::cancel;
    }
};

// Installs the shell's dialogs; the caller keeps ownership and must keep them alive while installed. Null puts back
// the null answers.
void SetShellDialogs(ShellDialogs* dialogs);
ShellDialogs& GetShellDialogs();
// Installs dialogs as SetShellDialogs does and hands back what answered before, so that a scope can put it back
// (seams_test_support.h does so for every seam).
ShellDialogs* ExchangeSeam(ShellDialogs* dialogs);
