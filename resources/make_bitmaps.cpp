// Draws the bitmaps of the resource folder and writes each as <id>.png into the folder given on the command line.
// The build runs it, so every bitmap is made from its description below and none is edited by hand. Shapes are
// drawn with the outline rasteriser at 96 dpi on whole-pixel edges, so straight edges stay crisp and only the
// slanted ones are smoothed.
//
//     make_bitmaps <folder> <textures folder>
//
// The pictures are drawn in files of their own: bitmap_drawing (colours, outlines, glyphs, writing a picture),
// bitmap_glyphs (the glyphs' pixel art as data), bitmap_controls (controls and objects), bitmap_icons (the toolbars'
// and tools bars' icons), bitmap_cursors (the design view's cursors and the animated-picture marker) and
// bitmap_textures (the Styles palette's textures and previews).

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "bitmap_glyphs.h"
#include "bitmap_pictures.h"

using namespace bitmaps;

namespace {

// Draws each glyph of the set under its number.
bool Glyphs(const std::filesystem::path& folder, const std::vector<GlyphArt>& set)
{
    bool made = true;
    for (const GlyphArt& glyph : set)
        made = Glyph(folder, glyph.id, glyph.rows) && made;
    return made;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_bitmaps <folder> <textures folder>\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const std::filesystem::path textures = argv[2];
    for (const std::filesystem::path& made : {folder, textures}) {
        std::error_code error;
        std::filesystem::create_directories(made, error);
        if (error) {
            std::fprintf(stderr, "make_bitmaps: cannot make %s: %s\n", made.c_str(), error.message().c_str());
            return 1;
        }
    }
    // 6086: the transparency key of the glyphs, cyan.
    bool made = Save(folder, 6086, 1, 1, [](int, int) { return Rgb{0, 255, 255}; });
    made = Probe(folder, 6087) && made;
    made = Probe(folder, 421) && made;
    made = Thumb(folder) && made;
    const CounterLook counters[] = {
        {327, 85, 30, {250, 250, 250}, {90, 90, 90}, {20, 20, 20}},
        {325, 85, 30, {20, 32, 80}, {10, 16, 40}, {255, 255, 255}},
        {326, 75, 20, {200, 200, 200}, {100, 100, 100}, {200, 20, 20}},
        {324, 85, 30, {0, 0, 0}, {60, 60, 60}, {40, 230, 60}},
    };
    for (const CounterLook& look : counters)
        made = Counter(folder, look) && made;
    made = HtmlPattern(folder) && made;
    made = Form(folder) && made;
    made = Glyphs(folder, ButtonGlyphArt()) && made;
    made = Glyphs(folder, IconGlyphArt()) && made;
    made = Glyphs(folder, FolderTreeGlyphArt()) && made;
    made = Handles(folder) && made;
    made = Wells(folder) && made;
    made = ToolbarStrips(folder) && made;
    made = ToolsBarButtons(folder) && made;
    made = ViewCursors(folder) && made;
    made = AnimatedGifMarker(folder) && made;
    made = StyleTextures(folder, textures) && made;
    return made ? 0 : 1;
}
