// The palettes as a user meets them while working, driven by the mouse and the keyboard under a window manager:
// drawing leaves the keyboard with the page, a page just opened shows in the palettes at once, the Object palette's
// Height follows a text that grows as it is typed, the Shapes palette stands beside the tools bar and comes back
// where it was moved, the palettes' title bars carry a close box only, and no palette stays on screen without a
// site.

#include "app/model/link_info.h"
#include "app/model/seams_test_support.h"
#include "app/model/tools_and_inspector.h"
#include "app/objects/polygon_object.h"
#include "app/objects/text_editing_test_support.h"
#include "app/objects/text_object.h"
#include "app/objects/rectangle_object.h"
#include "app/palettes/prop_frames.h"
#include "app/shell/logic/tools_bar_logic.h"
#include "app/shell/main_frame.h"
#include "app/shell/orvel_app.h"
#include "app/shell/orvel_frame.h"
#include "app/shell/page_tabs.h"
#include "app/shell/program_services.h"
#include "app/shell/shapes_dlg.h"
#include "app/shell/shell_test_support.h"
#include "app/shell/tools_bar.h"
#include "app/shell/window_buttons_test_support.h"
#include "app/docview/design_view.h"
#include "app/docview/mouse_tools.h"
#include "app/site/page_item.h"
#include "platform/gui/window_picture.h"
#include "testing/test_output.h"
#include "testing/window_manager.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <gdk/gdkx.h>
#include <gtk/gtk.h>
#include <wx/aui/framemanager.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/radiobut.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kUseLinkBox = 1112;
constexpr int kWidthBox = 1032;
constexpr int kHeightBox = 1033;

// Where a point of the page stands on the screen.
wxPoint ScreenPoint(COrvelView* view, CPoint pt)
{
    const CPoint origin = view->GetPageOrigin(), scroll = view->GetScrollPosition();
    return view->ClientToScreen(wxPoint(pt.x + origin.x - scroll.x, pt.y + origin.y - scroll.y));
}

class PaletteUseTest : public ShellTest
{
protected:
    ~PaletteUseTest() override
    {
        // The program's own services would ask about the changes in a dialog of their own.
        if (frame && frame->GetCurrentSite())
            frame->GetCurrentSite()->MarkSaved();
        Close();
        programSeams.reset();
    }

    // The main window with its palettes, the program's own services in place and no first-use hint in the way.
    void StartWithPalettes()
    {
        programSeams.emplace(program);
        Start();
        program.SetMainFrame(frame);
        for (int tool = 1; tool <= 11; ++tool)
            if (bool* hint = ToolHintFlag(frame->GetSettings(), tool))
                *hint = false;
        frame->CreatePalettes();
        Settle();
    }

    CPropSheetManager* Palettes() const { return frame->GetPalettes().GetManager(); }
    CPropFrame* ShownPalette() const
    {
        return dynamic_cast<CPropFrame*>(Palettes()->GetPropFrame(Palettes()->GetCurrentIndex()));
    }
    CPalettePage* ShownPage() const
    {
        CPropFrame* palette = ShownPalette();
        return palette ? palette->GetSheet()->GetActivePage() : nullptr;
    }
    COrvelView* ActiveView() const
    {
        COrvelFrame* window = frame->GetPageWindows().GetActive();
        return window ? window->GetView() : nullptr;
    }

    CProgramServices program;
    std::optional<SeamsInstalled<CProgramServices>> programSeams;
};

// A site of two pages, each with one object selected: on the first a star with a link to an address, on the second
// a rectangle without a link.
std::unique_ptr<CWebsite> LinkedStarSite()
{
    auto site = std::make_unique<CWebsite>("/home/ann/Sites/stars.kst");
    for (const char* name : {"Home", "Plain"})
        site->AddPage(std::make_unique<CSitePage>(site.get(), name, name));
    site->SetHomePage(site->GetPage(0));
    auto star = std::make_unique<CPolygonObject>(120, 120, SIZE{80, 80}, 0.0, 18);
    auto link = std::make_unique<CLinkInfo>();
    link->SetKind(CLinkInfo::kindUrl);
    link->SetUrl("http://example.org/");
    link->SetActive(true);
    star->SetLink(std::move(link));
    site->GetPage(0)->SelectItem(site->GetPage(0)->AddObject(std::move(star)));
    site->GetPage(1)->SelectItem(
        site->GetPage(1)->AddObject(std::make_unique<CRectangleObject>(100, 100, SIZE{60, 40}, 0.0)));
    return site;
}

bool UseLinkEnabled(CPalettePage* page)
{
    wxWindow* box = page ? page->FindWindow(kUseLinkBox) : nullptr;
    return box && box->IsEnabled();
}

bool UseLinkChecked(CPalettePage* page)
{
    auto* box = page ? dynamic_cast<wxCheckBox*>(page->FindWindow(kUseLinkBox)) : nullptr;
    return box && box->GetValue();
}

// The Link palette shows the selection of a site just opened, and of a page window just opened, before anything is
// clicked.
TEST_F(PaletteUseTest, APageJustOpenedShowsInThePalettes)
{
    const std::string path = scratch / "stars.kst";
    ASSERT_TRUE(SaveSiteFile(*LinkedStarSite(), path));
    StartWithPalettes();
    wxCommandEvent link(wxEVT_MENU, ID_LINK_INSPECTOR);
    frame->ProcessWindowEvent(link);
    Settle();
    ASSERT_EQ(Palettes()->GetCurrentIndex(), kLinkPropSheet);

    ASSERT_NE(frame->GetOpenSite().OpenDocumentFile(path), nullptr);
    Settle();
    ASSERT_EQ(frame->GetPageWindows().GetActivePage()->GetName(), "Home");
    EXPECT_TRUE(UseLinkEnabled(ShownPage())) << "the star is selected and can carry a link";
    EXPECT_TRUE(UseLinkChecked(ShownPage())) << "the star's link is on";

    // The second page's rectangle has no link; its window opening shows so.
    frame->GetPageWindows().Open(1);
    Settle();
    ASSERT_EQ(frame->GetPageWindows().GetActivePage()->GetName(), "Plain");
    EXPECT_TRUE(UseLinkEnabled(ShownPage()));
    EXPECT_FALSE(UseLinkChecked(ShownPage()));

    // Back on the first page's tab, clicked as the user does.
    frame->GetPageWindows().Open(0);
    Settle();
    EXPECT_TRUE(UseLinkChecked(ShownPage()));
}

// Drawing a shape with the mouse shows the Object palette, and the keyboard stays with the page: the arrow keys
// move the new shape and Delete removes it, with no click on the page first. The Shapes palette opened by the
// shape tool stands beside the tools bar, not over the page nor over the page's tab, and opens again where the user
// moved it.
TEST_F(PaletteUseTest, DrawingLeavesTheKeyboardWithThePage)
{
    ScopedWindowManager manager;
    ASSERT_TRUE(manager.IsReady());
    StartWithPalettes();
    auto site = MakeSite({"Home"});
    CSitePage* page = site->GetPage(0);
    frame->GetOpenSite().OpenSite(std::move(site));
    Settle();
    EXPECT_TRUE(SettleUntil([&] { return frame->IsActive(); }));
    COrvelView* view = ActiveView();
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(ShownPalette() && ShownPalette()->IsShown());

    // The shape tool's button, clicked.
    CToolsBar* bar = frame->GetToolsBar();
    wxUIActionSimulator input;
    const CPoint slot = bar->GetButtonPlaces()[2].pos;
    input.MouseMove(bar->ClientToScreen(wxPoint(slot.x + 5, slot.y + 5)));
    Settle();
    input.MouseClick();
    ASSERT_TRUE(SettleUntil([&] { return bar->GetShapesPalette() && bar->GetShapesPalette()->IsShown(); }));
    CShapesDLG* shapes = bar->GetShapesPalette();
    Settle();
    const wxRect pageArea = view->GetScreenRect();
    const wxPoint middle(pageArea.GetX() + pageArea.GetWidth() / 2, pageArea.GetY() + pageArea.GetHeight() / 2);
    EXPECT_FALSE(shapes->GetScreenRect().Contains(middle)) << "not over the middle of the page";
    const int below = shapes->GetScreenRect().GetTop() - bar->GetScreenRect().GetTop();
    EXPECT_TRUE(below >= 0 && below <= 80) << below << " pixels below the tools bar's top, not beside it";
    const wxRect tab = GetPageTabScreenRect(frame->GetPageWindows().GetActive());
    ASSERT_FALSE(tab.IsEmpty());
    EXPECT_FALSE(shapes->GetScreenRect().Intersects(tab)) << "the first tab's name shows";

    // A rectangle drawn in the middle of the page, 120 by 80 pixels.
    const wxPoint from = middle - wxPoint(60, 40);
    input.MouseMove(from);
    Settle();
    input.MouseDown();
    Settle();
    for (int step = 1; step <= 4; ++step) {
        input.MouseMove(from + wxPoint(30 * step, 20 * step));
        Settle();
    }
    input.MouseUp();
    Settle();
    ASSERT_EQ(page->GetItemCount(), 1);
    EXPECT_EQ(Palettes()->GetCurrentIndex(), kObjectPropSheet);
    EXPECT_TRUE(ShownPalette()->IsShown());
    EXPECT_EQ(wxWindow::FindFocus(), view);
    EXPECT_TRUE(frame->IsActive()) << "the main window keeps the keyboard, not the palette";

    const CRect before = page->GetItem(0)->GetRect();
    input.Char(WXK_RIGHT);
    Settle();
    const CRect after = page->GetItem(0)->GetRect();
    EXPECT_GT(after.left, before.left) << "the arrow key reached the page";
    input.Char(WXK_DELETE);
    Settle();
    EXPECT_EQ(page->GetItemCount(), 0) << "Delete reached the page";
    SaveScreenPicture(frame->GetScreenRect().Union(ShownPalette()->GetScreenRect()),
                      (TestOutputFolder() / "palettes_after_drawing.png").string());

    // Moved, closed and opened again: where it was moved to.
    const wxPoint first = shapes->GetPosition();
    shapes->Move(first + wxPoint(0, 120));
    const auto near = [](const wxPoint& a, const wxPoint& b) { return std::abs(a.x - b.x) <= 2 && std::abs(a.y - b.y) <= 2; };
    ASSERT_TRUE(SettleUntil([&] { return near(shapes->GetPosition(), first + wxPoint(0, 120)); }));
    const wxPoint moved = shapes->GetPosition();
    shapes->Close();
    Settle();
    ASSERT_EQ(bar->GetShapesPalette(), nullptr);
    bar->SetTool(kShapeTool);
    ASSERT_NE(bar->GetShapesPalette(), nullptr);
    Settle();
    EXPECT_TRUE(near(bar->GetShapesPalette()->GetPosition(), moved))
        << bar->GetShapesPalette()->GetPosition().x << ", " << bar->GetShapesPalette()->GetPosition().y << " not "
        << moved.x << ", " << moved.y;
}

// Typing into a text edited in place makes its box taller when a new line starts; the Object palette's Height
// follows it key by key, for a text already on the page, entered with the text tool clicked on it, and for a new
// one drawn with the text tool. The keys are typed on the keyboard, under a window manager that gives the main
// window the keyboard.
TEST_F(PaletteUseTest, ObjectPaletteHeightFollowsATextThatGrows)
{
    ScopedWindowManager manager;
    ASSERT_TRUE(manager.IsReady());
    StartWithPalettes();
    auto site = MakeSite({"Home"});
    CSitePage* page = site->GetPage(0);
    page->AddObject(text_editing_testing::MakeText(160, {"Fresh bread"}));
    frame->GetOpenSite().OpenSite(std::move(site));
    Settle();
    EXPECT_TRUE(SettleUntil([&] { return frame->IsActive(); }));
    COrvelView* view = ActiveView();
    ASSERT_NE(view, nullptr);
    wxUIActionSimulator input;
    const auto click = [&](CPoint at) {
        input.MouseMove(ScreenPoint(view, at));
        Settle();
        input.MouseClick();
        Settle();
    };

    for (const bool drawn : {false, true}) {
        SCOPED_TRACE(drawn ? "a new text" : "a text on the page");
        GetToolsAndInspector().SetToolsBarTool(kMouseToolText);
        if (drawn) {
            input.MouseMove(ScreenPoint(view, CPoint(60, 300)));
            Settle();
            input.MouseDown();
            Settle();
            for (int x : {100, 150, 200}) {
                input.MouseMove(ScreenPoint(view, CPoint(x, 300)));
                Settle();
            }
            input.MouseUp();
            Settle();
        } else {
            DPOINT centre;
            page->GetItem(0)->GetCurrentObject()->GetCenter(centre);
            click(CPoint(static_cast<int>(centre.x), static_cast<int>(centre.y)));
        }
        ASSERT_TRUE(page->IsEditingInPlace());
        auto* text = dynamic_cast<CTextObject*>(page->GetEditedObject());
        ASSERT_NE(text, nullptr);
        ASSERT_EQ(Palettes()->GetCurrentIndex(), kObjectPropSheet);
        auto* height = dynamic_cast<wxTextCtrl*>(ShownPage()->FindWindow(kHeightBox));
        ASSERT_NE(height, nullptr);
        SIZE size;
        const int first = text->GetSize(size).cy;
        EXPECT_EQ(height->GetValue().utf8_string(), std::to_string(first));
        ASSERT_EQ(wxWindow::FindFocus(), view);

        // Words typed at the caret until the text wraps onto a new line.
        for (int i = 0; i < 40 && text->GetSize(size).cy == first; ++i) {
            input.Text(" rolls");
            Settle();
        }
        const int grown = text->GetSize(size).cy;
        ASSERT_GT(grown, first) << "the text wrapped onto a new line";
        EXPECT_EQ(height->GetValue().utf8_string(), std::to_string(grown));

        // A click beside the text ends the edit, as the user does before closing.
        click(CPoint(20, 20));
        EXPECT_FALSE(page->IsEditingInPlace());
    }
}

// A click into a field of a palette takes the keyboard there under a window manager: a width typed into the
// Object palette and Return resize the selected shape; the main window closes with a field of a palette holding
// the keyboard.
TEST_F(PaletteUseTest, AClickIntoAPaletteFieldTakesTheKeyboard)
{
    ScopedWindowManager manager;
    ASSERT_TRUE(manager.IsReady());
    StartWithPalettes();
    auto site = MakeSite({"Home"});
    CSitePage* page = site->GetPage(0);
    page->SelectItem(page->AddObject(std::make_unique<CRectangleObject>(200, 200, SIZE{60, 40}, 0.0)));
    frame->GetOpenSite().OpenSite(std::move(site));
    Settle();
    wxCommandEvent show(wxEVT_MENU, ID_OBJECT_INSPECTOR);
    frame->ProcessWindowEvent(show);
    ASSERT_TRUE(SettleUntil([&] { return ShownPalette() && ShownPalette()->IsShown(); }));
    Settle();
    auto* width = dynamic_cast<wxTextCtrl*>(ShownPage()->FindWindow(kWidthBox));
    ASSERT_NE(width, nullptr);
    ASSERT_TRUE(width->IsEnabled());

    wxUIActionSimulator input;
    const wxRect area = width->GetScreenRect();
    input.MouseMove(area.GetLeft() + area.GetWidth() / 2, area.GetTop() + area.GetHeight() / 2);
    Settle();
    input.MouseClick();
    ASSERT_TRUE(SettleUntil([&] { return wxWindow::FindFocus() == width; }));
    width->SelectAll();
    input.Text("140");
    input.Char(WXK_RETURN);
    Settle();
    SIZE size;
    EXPECT_EQ(page->GetItem(0)->GetCurrentObject()->GetSize(size).cx, 140);

    // The main window closed with a value typed into the field: the field applies it as the palette goes, while
    // the main window is still whole.
    input.MouseMove(area.GetLeft() + area.GetWidth() / 2, area.GetTop() + area.GetHeight() / 2);
    Settle();
    input.MouseClick();
    ASSERT_TRUE(SettleUntil([&] { return wxWindow::FindFocus() == width; }));
    width->SelectAll();
    input.Text("90");
    Settle();
}

// No palette stays on screen without a site: the inspector palette and the Shapes palette leave with the site and
// come back with the next one; at start with no site the palette of the last run waits for one.
TEST_F(PaletteUseTest, PalettesLeaveWithTheSiteAndComeBackWithTheNext)
{
    StartWithPalettes();
    EXPECT_FALSE(Palettes()->IsAnyPropSheetVisible());
    frame->GetOpenSite().OpenSite(MakeSite({"Home"}));
    Settle();
    EXPECT_TRUE(Palettes()->IsAnyPropSheetVisible());
    frame->GetToolsBar()->SetTool(kShapeTool);
    CShapesDLG* shapes = frame->GetToolsBar()->GetShapesPalette();
    ASSERT_NE(shapes, nullptr);
    Settle();
    EXPECT_TRUE(shapes->IsShown());

    wxCommandEvent close(wxEVT_MENU, ID_FILE_CLOSE);
    frame->ProcessWindowEvent(close);
    Settle();
    ASSERT_EQ(frame->GetCurrentSite(), nullptr);
    EXPECT_FALSE(Palettes()->IsAnyPropSheetVisible());
    EXPECT_FALSE(shapes->IsShown());

    // A palette the user asks for with no site open shows all the same.
    wxCommandEvent show(wxEVT_MENU, ID_VIEW_INSPECTOR);
    frame->ProcessWindowEvent(show);
    Settle();
    EXPECT_TRUE(Palettes()->IsAnyPropSheetVisible());
    frame->ProcessWindowEvent(show);
    Settle();

    frame->GetOpenSite().OpenSite(MakeSite({"Home"}));
    Settle();
    EXPECT_TRUE(Palettes()->IsAnyPropSheetVisible());
    EXPECT_TRUE(shapes->IsShown());
}

} // namespace

namespace {

// The controls of a window that are narrower or lower than their text needs, or reach past the window's edge.
std::vector<std::string> CrampedControls(wxWindow* page)
{
    std::vector<std::string> cramped;
    const wxRect area(page->GetClientSize());
    std::function<void(wxWindow*)> visit = [&](wxWindow* window) {
        for (wxWindow* child : window->GetChildren()) {
            if (!child->IsShown())
                continue;
            const wxRect at(page->ScreenToClient(child->GetScreenPosition()), child->GetSize());
            wxSize best = child->GetBestSize();
            // What the toolkit itself needs to show the control whole, which a tight button can be below.
            if (GtkWidget* widget = child->GetHandle(); widget && GTK_IS_WIDGET(widget)) {
                gint least = 0, natural = 0;
                gtk_widget_get_preferred_width(widget, &least, &natural);
                best.x = std::max(best.x, least);
            }
            const wxString label = child->GetLabel();
            const std::string name = label.empty() ? wxString(child->GetClassInfo()->GetClassName()).utf8_string()
                                                   : label.utf8_string();
            if (!area.Contains(at))
                cramped.push_back(name + " reaches past the palette's edge");
            else if (auto* box = dynamic_cast<wxStaticBox*>(window);
                     box && at.GetRight() > page->ScreenToClient(box->GetScreenPosition()).x + box->GetSize().x - 3)
                cramped.push_back(name + " runs into the frame of " + box->GetLabel().utf8_string());
            else if (!label.empty() && (child->IsKindOf(wxCLASSINFO(wxButton)) || child->IsKindOf(wxCLASSINFO(wxStaticText)) ||
                                        child->IsKindOf(wxCLASSINFO(wxCheckBox)) || child->IsKindOf(wxCLASSINFO(wxRadioButton))) &&
                     (at.GetWidth() < best.GetWidth() || at.GetHeight() < best.GetHeight()))
                cramped.push_back(name + " is cut");
            visit(child);
        }
    };
    visit(page);
    return cramped;
}

// How high the window manager's frame stands above the window (its title bar, where it gives one).
long ManagersTitleBarHeight(wxWindow* window)
{
    GdkWindow* gdk = window->GetHandle() ? gtk_widget_get_window(window->GetHandle()) : nullptr;
    if (!gdk || !GDK_IS_X11_WINDOW(gdk))
        return -1;
    Display* display = GDK_WINDOW_XDISPLAY(gdk);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    long top = -1;
    if (XGetWindowProperty(display, GDK_WINDOW_XID(gdk), XInternAtom(display, "_NET_FRAME_EXTENTS", False), 0, 4,
                           False, XA_CARDINAL, &type, &format, &count, &after, &data) == Success &&
        data) {
        if (format == 32 && count == 4)
            top = reinterpret_cast<const long*>(data)[2];
        XFree(data);
    }
    return top;
}

// Each palette with its window manager's title bar, at the default font size: every label whole inside the
// palette, the tallest palette within a screen 1000 pixels high, and a close box the only button the window
// manager gives the palettes (the pictures show them, the Shapes palette and the floating tools bar with them):
// test-output/palette_<n>.png.
TEST_F(PaletteUseTest, EveryPaletteHoldsItsControlsWhole)
{
    ScopedWindowManager manager;
    ASSERT_TRUE(manager.IsReady());
    StartWithPalettes();
    frame->SetSize(0, 0, 700, 600);
    Settle();
    frame->GetOpenSite().OpenSite(MakeSite({"Home"}));
    Settle();
    const int commands[] = {ID_PAGE_INSPECTOR,    ID_OBJECT_INSPECTOR, ID_LINK_INSPECTOR,     ID_FILL_INSPECTOR,
                            ID_EFFECTS_INSPECTOR, ID_STYLES_INSPECTOR, ID_MOUSEOVER_INSPECTOR};
    for (int index = 0; index < kPropSheetCount; ++index) {
        wxCommandEvent show(wxEVT_MENU, commands[index]);
        frame->ProcessWindowEvent(show);
        ASSERT_TRUE(SettleUntil([&] { return ShownPalette() && ShownPalette()->IsShown(); }));
        Settle();
        CPropFrame* palette = ShownPalette();
        ASSERT_EQ(Palettes()->GetCurrentIndex(), index);
        EXPECT_EQ(CrampedControls(ShownPage()), std::vector<std::string>{}) << index;
        EXPECT_LE(palette->GetSize().GetHeight(), 1000 - 100) << index;
        // It draws its own title bar, with a close box only; the window manager adds none with buttons of its own.
        const long titleBar = ManagersTitleBarHeight(palette);
        EXPECT_TRUE(titleBar >= 0 && titleBar <= 1) << index << ": " << titleBar;
        // The title bar stands above the window's own area.
        const wxRect shown = palette->GetScreenRect();
        SaveScreenPicture(wxRect(shown.GetX() - 8, std::max(0, shown.GetY() - 40), shown.GetWidth() + 16,
                                 shown.GetHeight() + 48),
                          (TestOutputFolder() / ("palette_" + std::to_string(index) + ".png")).string());
    }

    frame->GetToolsBar()->SetTool(kShapeTool);
    CShapesDLG* shapes = frame->GetToolsBar()->GetShapesPalette();
    ASSERT_NE(shapes, nullptr);
    Settle();
    // The window manager's title bar, with its close box only.
    EXPECT_GT(ManagersTitleBarHeight(shapes), 10);
    EXPECT_EQ(WindowButtons(shapes), "close");
    const wxRect shown = shapes->GetScreenRect();
    SaveScreenPicture(wxRect(std::max(0, shown.GetX() - 8), std::max(0, shown.GetY() - 40), shown.GetWidth() + 16,
                             shown.GetHeight() + 48),
                      (TestOutputFolder() / "palette_shapes.png").string());

    // The tools bar floated off its edge.
    wxAuiManager* dock = wxAuiManager::GetManager(frame);
    ASSERT_NE(dock, nullptr);
    dock->GetPane(frame->GetToolsBar()).Float().FloatingPosition(400, 200);
    dock->Update();
    Settle();
    wxWindow* floating = dock->GetPane(frame->GetToolsBar()).frame;
    ASSERT_NE(floating, nullptr);
    const wxRect bar = floating->GetScreenRect();

    SaveScreenPicture(wxRect(bar.GetX() - 8, bar.GetY() - 40, bar.GetWidth() + 16, bar.GetHeight() + 48),
                      (TestOutputFolder() / "tools_bar_floating.png").string());
}

} // namespace
