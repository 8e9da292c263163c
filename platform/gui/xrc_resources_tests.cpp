#include "platform/gui/xrc_resources.h"

#include "platform/resources/resource_folder.h"
#include "testing/scratch_folder.h"

#include <fstream>
#include <gtest/gtest.h>
#include <wx/dialog.h>
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
