#pragma once

// The messages, questions and notices the core puts to the user through the program. Every function is pure, so
// the program's services must answer each one to build; until they are installed (and in headless use)
// NullMessages answers as a user who cancels would. Tests derive their fakes from it.

#include <string>

#include "app/model/dialog_answer.h"

class Messages
{
public:
    virtual ~Messages() = default;

    // A message box with only an OK button.
    virtual void ShowMessage(const std::string& text) = 0;
    // The same with the information icon.
    virtual void ShowInfoMessage(const std::string& text) = 0;
    // A Yes/No message box with the information icon; true for Yes.
    virtual bool AskYesNo(const std::string& caption, const std::string& text) = 0;
    // A question with Yes, No and Cancel and the question icon.
    virtual YesNoCancel AskYesNoCancel(const std::string& text) = 0;
    // The information sound.
    virtual void Beep() = 0;
    // A notice, error or simple prompt of the program by its number (the deleting-page question 279, the picture and
    // memory notices 294 to 311, the transfer-settings prompt 5017 and the others of the notice table).
    virtual DialogAnswer ShowNotice(int id) = 0;
    // A first-use hint by its number, shown only while its settings flag is on; OK with its box ticked switches the
    // flag off. Answers ok also when the hint is off.
    virtual DialogAnswer ShowHintDialog(int id) = 0;
    // The notice dialog (578) showing string textId with its "do not show again" check; on ok dontShowAgain holds
    // the check's state.
    virtual DialogAnswer ShowNoticeDialog(int textId, bool& dontShowAgain) = 0;
};

class NullMessages : public Messages
{
public:
    void ShowMessage(const std::string& text) override { (void)text; }
    void ShowInfoMessage(const std::string& text) override { (void)text; }
    bool AskYesNo(const std::string& caption, const std::string& text) override
    {
        (void)caption, (void)text;
        return false;
    }
    YesNoCancel AskYesNoCancel(const std::string& text) override
    {
        (void)text;
        return YesNoCancel::cancel;
    }
    void Beep() override {}
    DialogAnswer ShowNotice(int id) override
    {
        (void)id;
        return DialogAnswer::cancel;
    }
    DialogAnswer ShowHintDialog(int id) override
    {
        (void)id;
        return DialogAnswer::cancel;
    }
    DialogAnswer ShowNoticeDialog(int textId, bool& dontShowAgain) override
    {
        (void)textId, (void)dontShowAgain;
        return DialogAnswer::cancel;
    }
};

// Installs the program's messages; the caller keeps ownership and must keep them alive while installed. Null puts
// back the headless answers.
void SetMessages(Messages* messages);
Messages& GetMessages();
// Installs messages as SetMessages does and hands back what answered before, so that a scope can put it back
// (seams_test_support.h does so for every seam).
Messages* ExchangeSeam(Messages* messages);
