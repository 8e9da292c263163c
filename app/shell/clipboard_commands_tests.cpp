// Cut, Copy and Paste through the desktop clipboard of the test's display, with xclip as the other program: it
// reads what the program put there and puts there what another copy of the program or another program would.

#include "app/shell/clipboard_commands.h"

#include <gtest/gtest.h>
#include <wx/clipbrd.h>
#include <wx/image.h>

#include <cstdio>
#include <fstream>
#include <future>
#include <memory>
#include <string>
#include <vector>

#include "app/docview/design_view.h"
#include "app/model/fill_info.h"
#include "app/model/fill_style.h"
#include "app/model/link_info.h"
#include "app/model/undo_manager.h"
#include "app/objects/rectangle_object.h"
#include "app/objects/text_editing_test_support.h"
#include "app/shell/edit_menu.h"
#include "app/shell/orvel_frame.h"
#include "app/shell/program_services.h"
#include "app/shell/shell_test_support.h"
#include "app/site/page_item.h"
#include "app/site/website.h"

namespace {

// Runs a shell command while the program keeps answering the display (the other side may ask it for the
// clipboard's data), and answers what the command wrote.
std::string RunBeside(const std::string& command)
{
    auto output = std::async(std::launch::async, [command] {
        std::string text;
        if (FILE* pipe = popen(command.c_str(), "r")) {
            char buffer[4096];
            size_t n = 0;
            while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
                text.append(buffer, n);
            pclose(pipe);
        }
        return text;
    });
    while (output.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready)
        wxYield();
    return output.get();
}

// Another program takes the clipboard with a file's bytes under a format name; it keeps serving them until the
// clipboard is taken from it.
void OfferFromAnotherProgram(const std::string& format, const std::string& path)
{
    // It stays in the background, holding nothing of ours open.
    RunBeside("xclip -selection clipboard -t " + format + " -i '" + path + "' > /dev/null 2>&1");
    Settle();
}

// The program's answers, with its messages kept rather than shown.
class ClipboardServices : public CProgramServices
{
public:
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    std::vector<std::string> messages;
};

class ClipboardTest : public ShellTest
{
protected:
    ClipboardServices program;
    std::optional<SeamsInstalled<ClipboardServices>> programSeams;
    CSitePage* first = nullptr;
    CSitePage* second = nullptr;

    void Open()
    {
        Start();
        program.SetMainFrame(frame);
        programSeams.emplace(program);
        auto site = std::make_unique<CWebsite>(scratch / "bakery.kst");
        site->AddPage(std::make_unique<CSitePage>(site.get(), "Home", "Home"));
        site->AddPage(std::make_unique<CSitePage>(site.get(), "Menu", "Menu"));
        first = site->GetPage(0);
        second = site->GetPage(1);
        // A rectangle that links to the second page.
        auto linked = std::make_unique<CRectangleObject>(150.0, 120.0, SIZE{80, 60}, 0.0);
        linked->GetFill()->SetColor(CColor(30, 140, 60));
        auto link = std::make_unique<CLinkInfo>();
        link->SetKind(CLinkInfo::kindPage);
        link->SetActive(true);
        link->SetPage(1);
        linked->SetLink(std::move(link));
        first->AddObject(std::move(linked));
        site->MarkSaved();
        frame->GetOpenSite().OpenSite(std::move(site));
        Settle();
        ASSERT_NE(frame->GetPageWindows().GetActive(), nullptr);
    }
    void TearDown() override
    {
        // The clipboard is the program's again, so that no other program is left serving it.
        if (wxTheClipboard->Open()) {
            wxTheClipboard->SetData(new wxTextDataObject("done"));
            wxTheClipboard->Close();
        }
        programSeams.reset();
        Close();
    }
    COrvelView* ActiveView() { return frame->GetPageWindows().GetActive()->GetView(); }
    void Command(int id)
    {
        wxCommandEvent event(wxEVT_MENU, id);
        frame->GetEventHandler()->ProcessEvent(event);
        Settle();
    }
    bool Enabled(int id)
    {
        wxUpdateUIEvent event(id);
        event.SetEventObject(frame);
        frame->GetCommands().Update(event);
        return event.GetEnabled();
    }
};

TEST_F(ClipboardTest, ObjectsGoBetweenPagesSitesAndCopiesOfTheProgram)
{
    Open();
    first->SelectItemAt(0);
    const CRect place = first->GetItem(0)->GetRect();
    Command(ID_EDIT_COPY);

    // Another program sees the objects by the format's name, and the picture of the one object.
    const std::string targets = RunBeside("xclip -selection clipboard -o -t TARGETS");
    EXPECT_NE(targets.find(kObjectsFormatName), std::string::npos) << targets;
    EXPECT_NE(targets.find("image/png"), std::string::npos) << targets;
    const std::string picture = scratch / "copied.png";
    RunBeside("xclip -selection clipboard -o -t image/png > '" + picture + "'");
    wxImage copied;
    ASSERT_TRUE(copied.LoadFile(wxString::FromUTF8(picture), wxBITMAP_TYPE_PNG));
    EXPECT_EQ(copied.GetWidth(), place.Width());
    EXPECT_EQ(copied.GetRed(copied.GetWidth() / 2, copied.GetHeight() / 2), 30);
    // The block as another copy of the program reads it.
    const std::string block = scratch / "objects.block";
    RunBeside("xclip -selection clipboard -o -t " + std::string(kObjectsFormatName) + " > '" + block + "'");
    ASSERT_GT(std::ifstream(block, std::ios::binary | std::ios::ate).tellg(), 8);

    // Pasted on the other page where the place is seen: the same place, the link kept.
    frame->GetPageWindows().Open(1);
    Settle();
    ASSERT_EQ(ActiveView()->GetPage(), second);
    EXPECT_TRUE(Enabled(ID_EDIT_PASTE));
    Command(ID_EDIT_PASTE);
    ASSERT_EQ(second->GetItemCount(), 1);
    EXPECT_EQ(second->GetItem(0)->GetRect(), place);
    EXPECT_TRUE(second->GetItem(0)->IsSelected());
    EXPECT_EQ(second->GetItem(0)->GetCurrentObject()->GetLink()->GetPage(), 1);

    // Cut takes the selection away as one step.
    Command(ID_EDIT_CUT);
    EXPECT_EQ(second->GetItemCount(), 0);

    // Another copy of the program put the same block on the clipboard; it arrives here whole.
    OfferFromAnotherProgram(kObjectsFormatName, block);
    EXPECT_TRUE(Enabled(ID_EDIT_PASTE));
    Command(ID_EDIT_PASTE);
    ASSERT_EQ(second->GetItemCount(), 1);
    EXPECT_EQ(second->GetItem(0)->GetRect(), place);

    // After another site was opened, the page links of what is pasted start again.
    OfferFromAnotherProgram(kObjectsFormatName, block);
    auto other = std::make_unique<CWebsite>(scratch / "florist.kst");
    for (const char* name : {"Home", "Roses", "Tulips"})
        other->AddPage(std::make_unique<CSitePage>(other.get(), name, name));
    CSitePage* otherPage = other->GetPage(2);
    other->MarkSaved();
    frame->GetOpenSite().OpenSite(std::move(other));
    Settle();
    frame->GetPageWindows().Open(2);
    Settle();
    ASSERT_EQ(ActiveView()->GetPage(), otherPage);
    Command(ID_EDIT_PASTE);
    ASSERT_EQ(otherPage->GetItemCount(), 1);
    const CLinkInfo* link = otherPage->GetItem(0)->GetCurrentObject()->GetLink();
    EXPECT_TRUE(!link || (!link->IsActive() && link->GetPage() == 0));
}

// An object may be larger than any picture a machine holds: Copy puts the objects on the clipboard, tells the user,
// and gives other programs no picture rather than asking for one of up to 2^49 bytes.
TEST_F(ClipboardTest, AnObjectLargerThanAnyPageIsCopiedWithoutAPicture)
{
    Open();
    CPageItem* huge = first->AddObject(std::make_unique<CRectangleObject>(150.0, 120.0, SIZE{1 << 24, 1 << 24}, 0.0));
    first->SelectItem(huge);
    Command(ID_EDIT_COPY);
    ASSERT_EQ(program.messages.size(), 1u);
    EXPECT_NE(program.messages[0].find("too large"), std::string::npos) << program.messages[0];
    const std::string targets = RunBeside("xclip -selection clipboard -o -t TARGETS");
    EXPECT_NE(targets.find(kObjectsFormatName), std::string::npos) << targets;
    EXPECT_EQ(targets.find("image/png"), std::string::npos) << targets;

    frame->GetPageWindows().Open(1);
    Settle();
    Command(ID_EDIT_PASTE);
    ASSERT_EQ(second->GetItemCount(), 1);
    EXPECT_EQ(second->GetItem(0)->GetRect(), huge->GetRect());
}

TEST_F(ClipboardTest, APictureFromAnotherProgramBecomesAnObject)
{
    Open();
    wxImage image(37, 24);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 37; ++x)
            image.SetRGB(x, y, 200, static_cast<unsigned char>(x * 6), 40);
    const std::string path = scratch / "photo.png";
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxImage::AddHandler(new wxPNGHandler());
    ASSERT_TRUE(image.SaveFile(wxString::FromUTF8(path), wxBITMAP_TYPE_PNG));
    OfferFromAnotherProgram("image/png", path);

    EXPECT_TRUE(Enabled(ID_EDIT_PASTE));
    Command(ID_EDIT_PASTE);
    ASSERT_EQ(first->GetItemCount(), 2);
    CPageItem* pasted = first->GetItem(1);
    EXPECT_TRUE(pasted->IsSelected());
    EXPECT_FALSE(first->GetItem(0)->IsSelected());
    EXPECT_EQ(pasted->GetRect().Width(), 37);
    EXPECT_EQ(pasted->GetRect().Height(), 24);
    EXPECT_EQ(pasted->GetCurrentObject()->GetFill()->GetKind(), CFillInfo::FILL_PICTURE);
    const CImage* picture = pasted->GetCurrentObject()->GetFill()->GetImage();
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->Width(), 37);
}

TEST_F(ClipboardTest, StyledTextGoesAsTextForOtherProgramsAndTheirTextComesIn)
{
    using namespace text_editing_testing;
    Open();
    auto made = MakeText(300, {"Caf\xE9 \x80"
                               "5 menu"});
    made->SetNewObject(false);
    CTextObject* text = made.get();
    first->AddObject(std::move(made));
    first->SelectItemAt(1);
    first->SetEditedObject(text);
    first->SetEditingInPlace(true);
    text->BeginEdit();
    Select(*text, {0, 0}, {0, 7});
    Command(ID_EDIT_COPY);
    EXPECT_EQ(RunBeside("xclip -selection clipboard -o -t UTF8_STRING"), "Caf\u00e9 \u20ac5");
    const std::string targets = RunBeside("xclip -selection clipboard -o -t TARGETS");
    EXPECT_NE(targets.find(kTextFormatName), std::string::npos) << targets;

    // Another program's text: its lines become paragraphs, what Windows-1252 lacks is left out.
    const std::string path = scratch / "note.txt";
    std::ofstream(path) << "Zo\u00eb \u4e2d!\nfresh";
    OfferFromAnotherProgram("UTF8_STRING", path);
    text->GetTextBody()->m_selectionEmpty = 1;
    PutCaret(*text, {0, 12});
    EXPECT_TRUE(Enabled(ID_EDIT_PASTE));
    Command(ID_EDIT_PASTE);
    EXPECT_EQ(Paragraphs(*text), (std::vector<std::string>{"Caf\xE9 \x80"
                                                           "5 menuZo\xEB !",
                                                           "fresh"}));
    first->SetEditingInPlace(false);
    first->SetEditedObject(nullptr);
}

TEST_F(ClipboardTest, ABackgroundGoesFromPageToPageAsOneStep)
{
    Open();
    CFillStyle green;
    green.SetColor(CColor(20, 160, 90));
    first->SetBackground(std::make_unique<CFillStyle>(green));
    Command(ID_COPY_BACKGROUND);
    frame->GetPageWindows().Open(1);
    Settle();
    ASSERT_EQ(ActiveView()->GetPage(), second);
    EXPECT_TRUE(Enabled(ID_PASTE_BACKGROUND));
    const int steps = second->GetUndoManager()->GetUndoCount();
    Command(ID_PASTE_BACKGROUND);
    EXPECT_EQ(second->GetBackground()->GetColor(), CColor(20, 160, 90));
    EXPECT_EQ(second->GetUndoManager()->GetUndoCount(), steps + 1);
    second->GetUndoManager()->Undo();
    EXPECT_NE(second->GetBackground()->GetColor(), CColor(20, 160, 90));
}

TEST(ClipboardText, UnicodeLinesBecomeTheProgramsTextAndBack)
{
    EXPECT_EQ(ClipboardTextToWindows1252(L"caf\u00e9 \u20ac5\r\nnext\nline \u4e2d."), "caf\xE9 \x80"
                                                                                      "5\r\nnext\r\nline .");
    EXPECT_EQ(Windows1252ToClipboardText("caf\xE9\r\x80"), L"caf\u00e9\n\u20ac");
}

} // namespace
