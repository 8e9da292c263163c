#include "platform/gui/xrc_resources.h"

#include "platform/resources/command_names.h"
#include "platform/resources/resource_folder.h"
#include "testing/scratch_folder.h"

#include <fstream>
#include <memory>
#include <gtest/gtest.h>
#include <wx/dialog.h>
#include <wx/menu.h>
#include <wx/stattext.h>
#include <wx/xrc/xmlres.h>

namespace {

const char* const kDialog = R"(<?xml version="1.0" encoding="UTF-8"?>
<resource xmlns="http://www.wxwidgets.org/wxxrc" version="2.5.3.0">
  <object class="wxDialog" name="TemplateProbe">
    <title>Probe</title>
    <size>120,60d</size>
    <object class="wxStaticText" name="ProbeText"><label>Loaded</label></object>
  </object>
</resource>
)";

class XrcFolder : public ::testing::Test
{
protected:
    XrcFolder() { SetResourceFolder(m_folder.Path()); }
    ~XrcFolder() override { SetResourceFolder({}); }
    void Write(const std::string& name, const std::string& text) { std::ofstream(m_folder / name) << text; }
    ScratchFolder m_folder;
};

TEST_F(XrcFolder, DialogsOfTheFolderAreBuiltByName)
{
    Write("probe.xrc", kDialog);
    Write("notes.txt", "not a template");
    std::string error;
    ASSERT_TRUE(LoadXrcResources(&error)) << error;
    wxDialog dialog;
    ASSERT_TRUE(wxXmlResource::Get()->LoadDialog(&dialog, nullptr, "TemplateProbe"));
    EXPECT_EQ(dialog.GetTitle(), "Probe");
    EXPECT_NE(XRCCTRL(dialog, "ProbeText", wxStaticText), nullptr);
    // Dialog units scale with the font, so the height is more than the 60 given.
    EXPECT_GT(dialog.GetSize().GetHeight(), 60);
    EXPECT_TRUE(LoadXrcResources(&error)) << "loading again is harmless";
}

// A menu names its items by command; each is built with the command's number, the wx form of numbers from 32767 up.
TEST_F(XrcFolder, MenuItemsNamedByCommandCarryTheCommandsNumbers)
{
    Write("menu.xrc", R"(<?xml version="1.0" encoding="UTF-8"?>
<resource xmlns="http://www.wxwidgets.org/wxxrc" version="2.5.3.0">
  <object class="wxMenu" name="ProbeMenu">
    <object class="wxMenuItem" name="ID_FILE_NEW"><label>New</label></object>
    <object class="wxMenuItem" name="ID_PAGE_MENU_PLACEHOLDER"><label>(pages)</label></object>
  </object>
</resource>
)");
    std::string error;
    ASSERT_TRUE(LoadXrcResources(&error)) << error;
    std::unique_ptr<wxMenu> menu(wxXmlResource::Get()->LoadMenu("ProbeMenu"));
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->GetMenuItemCount(), 2u);
    EXPECT_EQ(menu->FindItemByPosition(0)->GetId(), 57600 - 32768);
    EXPECT_EQ(menu->FindItemByPosition(1)->GetId(), 18000);
    EXPECT_EQ(int(ID_FILE_NEW), 57600 - 32768);
    EXPECT_EQ(XRCID("ID_FILE_NEW"), ID_FILE_NEW);
}

TEST_F(XrcFolder, UnreadableTemplateOrFolderIsReported)
{
    Write("broken.xrc", "<resource><object class=\"wxDialog\"");
    std::string error;
    EXPECT_FALSE(LoadXrcResources(&error));
    EXPECT_NE(error.find("broken.xrc"), std::string::npos) << error;
    // What is wrong comes with it, and only there: no message of wx's own goes to the user.
    EXPECT_NE(error.find("XML parsing error"), std::string::npos) << error;

    SetResourceFolder(m_folder / "missing");
    error.clear();
    EXPECT_FALSE(LoadXrcResources(&error));
    EXPECT_NE(error.find("missing"), std::string::npos) << error;
}

} // namespace
