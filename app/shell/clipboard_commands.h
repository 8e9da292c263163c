#pragma once

// Cut, Copy, Paste, Copy Background and Paste Background through the desktop clipboard. Objects, styled text and
// backgrounds go there in the program's own formats, by name, so that another running copy of the program takes
// them; the text also goes as plain text and the picture of a single object as an image, for other programs, and
// an image another program put there is pasted as a new object.

#include <string>

#include "app/shell/command_ids.h"

class COrvelView;
class CShellWindow;
class wxUpdateUIEvent;

// The names the program's formats go by on the clipboard.
extern const char* const kObjectsFormatName;
extern const char* const kTextFormatName;
extern const char* const kBackgroundFormatName;

// Carries out the command on the view, telling the shell's palettes what changed; false when it is none of these.
bool HandleClipboardCommand(CShellWindow& shell, COrvelView* view, int id);
// Enables the command's item; false when it is none of these.
bool UpdateClipboardCommand(COrvelView* view, wxUpdateUIEvent& event);

// A site was made or opened: what is on the clipboard came from another site, and its page links mean nothing here.
void MarkClipboardFromOtherSite();

// The plain text of the clipboard as the program's text: lines end in CR LF, characters Windows-1252 lacks are left
// out. And the other way, the program's text (paragraphs ended by CR) as Unicode lines.
std::string ClipboardTextToWindows1252(const std::wstring& text);
std::wstring Windows1252ToClipboardText(const std::string& text);
