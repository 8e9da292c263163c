#pragma once

// The pixel art of the glyphs, one string a row, one character a pixel (the colours of GlyphColour), each under the
// number of the bitmap it becomes.

#include <string>
#include <vector>

namespace bitmaps {

struct GlyphArt
{
    unsigned id;
    std::vector<std::string> rows;
};

// The picture buttons: a grid (off, on), flips left-right and up-down, and the bold, italic and underlined
// lettering of a text style.
std::vector<GlyphArt> ButtonGlyphArt();
// The icons that mark a value box: a width, a height, an angle, a font, a corner's radius, and a plain bullet for
// everything else.
std::vector<GlyphArt> IconGlyphArt();
// The folder tree's icons, 16 x 16: a closed and an open folder, and the files by what they hold: a web page, a
// picture, a script, a Flash movie and any other file.
std::vector<GlyphArt> FolderTreeGlyphArt();

} // namespace bitmaps
