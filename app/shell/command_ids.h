#pragma once

// The program's command numbers as wx takes them, and the numbers of the main window's own commands. wx refuses window and menu ids from 32767 up, where most of the
// program's commands lie, so those go to wx less 32768 (the resource files name them the same way). Numbers below
// stay as they are.

constexpr int WxCommandId(int command)
{
    return command > 32766 ? command - 32768 : command;
}

// The program's number of a command wx knows by id, for the commands that lie above wx's range.
constexpr int ProgramCommandId(int wxId)
{
    return wxId + 32768;
}

// Command numbers of the main window's menus and bars.
enum MainFrameCommand
{
    ID_FILE_NEW = WxCommandId(57600),
    ID_FILE_OPEN = WxCommandId(57601),
    ID_FILE_SAVE = WxCommandId(57603),
    ID_FILE_SAVE_AS = WxCommandId(57604),
    ID_FILE_CLOSE = WxCommandId(57602),
    ID_ADD_FILES = WxCommandId(32943),
    ID_ADD_FILES_FROM_XML = WxCommandId(59427),
    ID_REMOVE_FILES = WxCommandId(32944),
    ID_SITE_MAP = WxCommandId(32945),
    ID_APP_EXIT = WxCommandId(57665),
    ID_APP_ABOUT = WxCommandId(57664),
    ID_HELP_DIALOGS = WxCommandId(32875),
    ID_FEEDBACK = WxCommandId(32872),
    ID_HELP_FINDER = WxCommandId(57667),
    ID_FILE_NEW_FROM_THEME = WxCommandId(32865),
    ID_SHOW_PAGE = WxCommandId(32773),
    ID_ADD_PAGE = WxCommandId(32772),
    ID_EDIT_HEADER = WxCommandId(32892),
    ID_BACKGROUND_PREFERENCES = WxCommandId(32874),
    ID_PAGE_DEFAULTS = WxCommandId(32803),
    ID_EDIT_META_TAGS = WxCommandId(32894),
    ID_INSERT_ANALYTICS = WxCommandId(32896),
    ID_TEST = WxCommandId(32780),
    ID_SEND = WxCommandId(32779),
    ID_VIEW_TOOLBAR = WxCommandId(59392),
    ID_VIEW_BUTTON_TEXTS = WxCommandId(32854),
    ID_VIEW_INSPECTOR = WxCommandId(59426),
    ID_VIEW_TOOLBOX = WxCommandId(59425),
    ID_VIEW_STATUS_BAR = WxCommandId(32849),
    ID_INDICATOR_IMAGE = WxCommandId(32848),
    ID_INDICATOR_POSITION = WxCommandId(32857),
    ID_INDICATOR_PAGES = WxCommandId(32850),
    ID_INDICATOR_LOADTIME = WxCommandId(32852),
    // The inspector palettes from the Tools menu, Page to Mouseover in palette order, and from the view's menu.
    ID_PAGE_INSPECTOR = WxCommandId(32774),
    ID_OBJECT_INSPECTOR = WxCommandId(32775),
    ID_LINK_INSPECTOR = WxCommandId(32869),
    ID_FILL_INSPECTOR = WxCommandId(32776),
    ID_EFFECTS_INSPECTOR = WxCommandId(32777),
    ID_STYLES_INSPECTOR = WxCommandId(32853),
    ID_MOUSEOVER_INSPECTOR = WxCommandId(32778),
    ID_POPUP_PAGE_INSPECTOR = WxCommandId(32890),
    ID_POPUP_OBJECT_INSPECTOR = WxCommandId(32891),
    ID_POPUP_LINK_INSPECTOR = WxCommandId(32879),
    ID_POPUP_FILL_INSPECTOR = WxCommandId(32880),
    ID_POPUP_EFFECTS_INSPECTOR = WxCommandId(32881),
    ID_POPUP_STYLES_INSPECTOR = WxCommandId(32893),
    ID_POPUP_MOUSEOVER_INSPECTOR = WxCommandId(32888),
    ID_POPUP_ALT_TEXT = WxCommandId(32883),
};

// The Object menu's commands on the selection, Delete Page, Print Setup, the Help menu's links, the upgrade notice
// and the Tools menu's tool items.
enum ShellCommand
{
    ID_ALIGN_LEFT = WxCommandId(32884),
    ID_ALIGN_RIGHT = WxCommandId(32885),
    ID_ALIGN_TOP = WxCommandId(32886),
    ID_ALIGN_BOTTOM = WxCommandId(32887),
    ID_SCALE_TO_PICTURE_FILL = WxCommandId(32856),
    ID_REMOVE_MOUSEOVER = WxCommandId(32870),
    ID_HELP_SUPPORT = WxCommandId(32900),
    ID_MORE_SOFTWARE = WxCommandId(32946),
    ID_DELETE_PAGE = WxCommandId(32820),
    ID_PRINT_SETUP = WxCommandId(57606),
    // The upgrade notice; no menu holds it.
    ID_UPGRADE_NOTICE = WxCommandId(32815),
    // Seven tool items, the arrow (tool 1) to the Flash tool (tool 7).
    ID_FIRST_TOOL_ITEM = WxCommandId(32821),
    ID_LAST_TOOL_ITEM = WxCommandId(32827),
};
