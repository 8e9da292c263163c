#pragma once

// What the Page palette decides, without a window: what its controls show for the current page, and every edit
// of the page's title, ID, size, front-page and centring flags and background. Each edit marks the page and the
// site modified and the page changed since the last upload; the title, ID, size and background record an undo
// step first, the flags, tiling and picture position none.

#include <string>

#include "app/model/fill_style.h"

struct PageInfoState
{
    // False with no current site or page: everything is disabled.
    bool hasPage = false;
    // While a text is edited in place the page's settings stay as they are.
    bool editingText = false;
    std::string title;
    std::string pageId;
    int width = 0;
    int height = 0;
    bool frontPage = false;
    bool centered = false;
    // 0 colour, 1 picture, 2 gradient.
    int kind = 0;
    CColor color;
    std::string pictureName;
    bool horizontal = true;
};
PageInfoState ReadPageInfo();

// The messages of the palette.
inline constexpr const char* kEmptyTitleMessage = "Name can't be empty";

// Title: false, with the message, when the text is empty; the field then shows the default title again.
bool EditPageTitle(const std::string& text);
// Page ID: cleaned first (the user is told when characters went), then refused with the message when nothing is
// left or another page or an included file has it. True when the page took it.
bool EditPageId(const std::string& text);
// Width and height as typed: the value the field shows afterwards, held to its range.
int EditPageWidth(const std::string& text);
int EditPageHeight(const std::string& text);
// An entry of the size list of entryCount entries.
bool ChoosePageSizeEntry(int index, int entryCount);
void MakeFrontPage();
void SetPageCentered(bool centered);

// Background, each through a copy that replaces the page's. False when nothing changed.
bool SetBackgroundColor(const CColor& color);
bool SetBackgroundGradientKind();
bool SetBackgroundGradientColors(const GRADIENTCOLORS& colors);
bool SetBackgroundHorizontal(bool horizontal);
// The picture radio: the picture the background had before, else one the user chooses, asked again after each
// that does not load; with the placing box ticked the page's own fill goes back to tiling first. The picture
// button: always asks, once.
bool ChooseBackgroundPictureKind(bool placed = false);
bool ChooseBackgroundPictureFile();
// The page's own fill goes back to tiling, or shows its picture once at one of the nine positions.
void SetBackgroundTiled();
void SetBackgroundPosition(int position);
