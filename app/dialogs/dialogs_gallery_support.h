#pragma once

// What the dialogs gallery's files share: the services the dialogs read their settings from, keys and ticks sent
// as the user sends them, the check that every label shows whole, and the fixture that shows a dialog, writes its
// picture into test-output/dialogs/ and runs it while a script answers it.

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/dialog.h>
#include <wx/generic/stattextg.h>
#include <wx/stattext.h>

#include "app/dialogs/dialogs_test_support.h"
#include "app/model/app_settings.h"
#include "app/model/services.h"

// Not in an anonymous namespace: the gallery's files share the fixture, which GoogleTest knows by its type.
namespace dialogs_gallery {

class SettingsServices : public NullCoreServices, public NullMessages, public NullCurrentState, public NullModelDialogs
{
public:
    CAppSettings* GetAppSettings() override { return &settings; }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    DialogAnswer ShowNotice(int id) override
    {
        notices.push_back(id);
        return noticeAnswer;
    }
    CAppSettings settings;
    std::vector<std::string> messages;
    std::vector<int> notices;
    DialogAnswer noticeAnswer = DialogAnswer::cancel;
};

inline void PressEscape(wxDialog& dialog)
{
    wxKeyEvent key(wxEVT_CHAR_HOOK);
    key.m_keyCode = WXK_ESCAPE;
    key.SetEventObject(&dialog);
    dialog.ProcessWindowEvent(key);
}

inline void Tick(wxDialog& dialog, wxCheckBox* box, bool value)
{
    ASSERT_NE(box, nullptr);
    box->SetValue(value);
    wxCommandEvent click(wxEVT_CHECKBOX, box->GetId());
    click.SetEventObject(box);
    click.SetInt(value ? 1 : 0);
    dialog.ProcessWindowEvent(click);
}

// A list dropped down, then one of its entries picked, with the events the user's hand sends.
inline void DropDown(wxDialog& dialog, wxComboBox& list)
{
    wxCommandEvent drop(wxEVT_COMBOBOX_DROPDOWN, list.GetId());
    drop.SetEventObject(&list);
    dialog.ProcessWindowEvent(drop);
}

inline void ChooseEntry(wxDialog& dialog, wxComboBox& list, int entry)
{
    list.SetSelection(entry);
    wxCommandEvent chosen(wxEVT_COMBOBOX, list.GetId());
    chosen.SetEventObject(&list);
    chosen.SetInt(entry);
    dialog.ProcessWindowEvent(chosen);
}

// Every label, box and button of the window shows whole: inside its parent, and at least as large as it needs.
inline void ExpectNothingClipped(wxWindow& window, const std::string& name)
{
    for (wxWindow* child : window.GetChildren()) {
        if (!child->IsShown())
            continue;
        const bool labelled = dynamic_cast<wxStaticText*>(child) || dynamic_cast<wxCheckBox*>(child) ||
                              dynamic_cast<wxButton*>(child) || dynamic_cast<wxGenericStaticText*>(child);
        if (labelled) {
            EXPECT_TRUE(window.GetClientRect().Contains(child->GetRect())) << name << " " << child->GetLabel();
            EXPECT_GE(child->GetSize().GetWidth(), child->GetBestSize().GetWidth()) << name << " " << child->GetLabel();
            EXPECT_GE(child->GetSize().GetHeight(), child->GetBestSize().GetHeight())
                << name << " " << child->GetLabel();
        }
        ExpectNothingClipped(*child, name);
    }
}

class DialogsGallery : public DialogOwnerTest<SettingsServices>
{
protected:
    void SetUp() override
    {
        DialogOwnerTest::SetUp();
        services.settings.m_dialogCenter = CPoint(640, 512);
    }

    // Shows the dialog as it opens and writes its picture under name (when given), then runs it modally while
    // answer, called from inside its loop, answers it.
    int Run(wxDialog& dialog, const std::string& name, const std::function<void()>& answer)
    {
        if (!name.empty()) {
            dialog.Show();
            for (int i = 0; i < 3; ++i)
                Settle();
            ExpectNothingClipped(dialog, name);
            SaveDialogPicture(dialog, name);
            dialog.Hide();
            Settle();
        }
        bool answered = false;
        dialog.CallAfter([&] {
            answer();
            answered = true;
        });
        const int result = dialog.ShowModal();
        EXPECT_TRUE(answered) << name;
        return result;
    }
};

} // namespace dialogs_gallery
