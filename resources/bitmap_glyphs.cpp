#include "bitmap_glyphs.h"

namespace bitmaps {

// The picture buttons: a grid (off, on), flips left-right and up-down, and the bold, italic and underlined
// lettering of a text style.
std::vector<GlyphArt> ButtonGlyphArt()
{
    // One row of pixels a line, as the glyph looks.
    // clang-format off
    const std::vector<std::string> gridOff = {
        "............",
        "#.#.#..#.#.#",
        "............",
        "#..........#",
        "............",
        "#..........#",
        "............",
        "#..........#",
        "............",
        "#.#.#..#.#.#",
        "............",
        "............",
    };
    const std::vector<std::string> gridOn = {
        "............",
        "############",
        "#...#..#...#",
        "#...#..#...#",
        "############",
        "#...#..#...#",
        "#...#..#...#",
        "############",
        "#...#..#...#",
        "############",
        "............",
        "............",
    };
    const std::vector<std::string> flipX = {
        ".....g......",
        ".....g......",
        "...#.g.#....",
        "..##.g.##...",
        ".###.g.###..",
        "####.g.####.",
        ".###.g.###..",
        "..##.g.##...",
        "...#.g.#....",
        ".....g......",
        ".....g......",
        "............",
    };
    const std::vector<std::string> flipY = {
        "............",
        ".....#......",
        "....###.....",
        "...#####....",
        "..#######...",
        "............",
        "ggggggggggg.",
        "............",
        "..#######...",
        "...#####....",
        "....###.....",
        ".....#......",
    };
    const std::vector<std::string> bold = {
        "............",
        "..######....",
        "..###..##...",
        "..###..##...",
        "..###..##...",
        "..######....",
        "..###..###..",
        "..###..###..",
        "..###..###..",
        "..#######...",
        "............",
        "............",
    };
    const std::vector<std::string> italic = {
        "............",
        ".....####...",
        ".......#....",
        "......##....",
        "......#.....",
        ".....##.....",
        ".....#......",
        "....##......",
        "....#.......",
        "..####......",
        "............",
        "............",
    };
    const std::vector<std::string> underline = {
        "............",
        "..##...##...",
        "..##...##...",
        "..##...##...",
        "..##...##...",
        "..##...##...",
        "..##...##...",
        "..##...##...",
        "...#####....",
        "............",
        "..#######...",
        "............",
    };
    // clang-format on
    return {{6099, gridOff}, {6096, gridOn}, {6105, flipX},  {6102, flipX},  {6111, flipY},     {6108, flipY},
            {6066, bold},    {6067, bold},   {6062, italic}, {6063, italic}, {6068, underline}, {6069, underline}};
}

// The icons that mark a value box: a width, a height, an angle, a font, a corner's radius, and a plain bullet for
// everything else.
std::vector<GlyphArt> IconGlyphArt()
{
    // One row of pixels a line, as the glyph looks.
    // clang-format off
    const std::vector<std::string> width = {
        "................",
        "................",
        "................",
        "#..............#",
        "#..............#",
        "#...#......#...#",
        "#..##......##..#",
        "#.############.#",
        "#.############.#",
        "#..##......##..#",
        "#...#......#...#",
        "#..............#",
        "#..............#",
        "................",
        "................",
        "................",
    };
    const std::vector<std::string> height = {
        "...##########...",
        "................",
        ".......##.......",
        "......####......",
        ".....######.....",
        ".......##.......",
        ".......##.......",
        ".......##.......",
        ".......##.......",
        ".......##.......",
        ".......##.......",
        ".....######.....",
        "......####......",
        ".......##.......",
        "................",
        "...##########...",
    };
    const std::vector<std::string> angle = {
        "................",
        "..............#.",
        ".............#..",
        "............#...",
        "...........#....",
        "..........#.....",
        ".........#......",
        "........#..b....",
        ".......#....b...",
        "......#......b..",
        ".....#.......b..",
        "....#.........b.",
        "...#..........b.",
        "..#############.",
        "................",
        "................",
    };
    const std::vector<std::string> font = {
        "................",
        "......####......",
        "......####......",
        ".....##..##.....",
        ".....##..##.....",
        "....##....##....",
        "....##....##....",
        "...##......##...",
        "...##########...",
        "..############..",
        "..##........##..",
        ".##..........##.",
        ".##..........##.",
        "###..........###",
        "................",
        "................",
    };
    const std::vector<std::string> corner = {
        "................",
        "..gggggggggggggg",
        "..g.............",
        "..g.............",
        "..g.....########",
        "..g...##........",
        "..g..#..........",
        "..g.#...........",
        "..g.#...........",
        "..g#............",
        "..g#............",
        "..g#............",
        "..g#............",
        "..g#............",
        "..g#............",
        "................",
    };
    const std::vector<std::string> bullet = {
        "................",
        "................",
        "................",
        "................",
        "................",
        "......####......",
        ".....#gggg#.....",
        ".....#gggg#.....",
        ".....#gggg#.....",
        ".....#gggg#.....",
        "......####......",
        "................",
        "................",
        "................",
        "................",
        "................",
    };
    // clang-format on
    return {{6022, width}, {6025, height}, {6026, angle}, {6090, font}, {6027, corner}, {6093, bullet}};
}

// The folder tree's icons, 16 x 16: a closed and an open folder, and the files by what they hold: a web page, a
// picture, a script, a Flash movie and any other file.
std::vector<GlyphArt> FolderTreeGlyphArt()
{
    // One row of pixels a line, as the glyph looks.
    // clang-format off
    const std::vector<std::string> closed = {
        "................",
        "................",
        "..#####.........",
        ".#yyyyy#........",
        "#yyyyyyy#######.",
        "#yyyyyyyyyyyyyY#",
        "#YYYYYYYYYYYYYY#",
        "#yyyyyyyyyyyyyY#",
        "#yyyyyyyyyyyyyY#",
        "#yyyyyyyyyyyyyY#",
        "#yyyyyyyyyyyyyY#",
        "#yyyyyyyyyyyyyY#",
        "#YYYYYYYYYYYYYY#",
        ".##############.",
        "................",
        "................",
    };
    const std::vector<std::string> open = {
        "................",
        "................",
        "..#####.........",
        ".#YYYYY#........",
        "#YYYYYYY######..",
        "#YYYYYYYYYYYYY#.",
        "#YYY###########.",
        "#YY#yyyyyyyyyyy#",
        "#YY#yyyyyyyyyy#.",
        "#Y#yyyyyyyyyyy#.",
        "#Y#yyyyyyyyyy#..",
        "##yyyyyyyyyyy#..",
        "##yyyyyyyyyy#...",
        ".###########....",
        "................",
        "................",
    };
    const std::vector<std::string> page = {
        "..#########.....",
        "..#ooooooo##....",
        "..#ooooooo#o#...",
        "..#ooooooo#oo#..",
        "..#ooooooo####..",
        "..#bbbbbbbbbb#..",
        "..#bbbbbbbbbb#..",
        "..#oooooooooo#..",
        "..#ogggggggoo#..",
        "..#oooooooooo#..",
        "..#ogggggoooo#..",
        "..#oooooooooo#..",
        "..#obbbboggoo#..",
        "..#oooooooooo#..",
        "..############..",
        "................",
    };
    const std::vector<std::string> picture = {
        "................",
        "................",
        "################",
        "#bbbbbbbbbbbbbb#",
        "#bbbbbbbbbbyybb#",
        "#bbbbbbbbbyyyyb#",
        "#bbbbbbbbbyyyyb#",
        "#bbbbbbbbbbyybb#",
        "#bbbbebbbbbbbbb#",
        "#bbbeeebbbbbbbb#",
        "#bbeeeeebbbebbb#",
        "#beeeeeeebeeebb#",
        "#eeeeeeeeeeeeee#",
        "################",
        "................",
        "................",
    };
    const std::vector<std::string> script = {
        "..#########.....",
        "..#ooooooo##....",
        "..#ooooooo#o#...",
        "..#ooooooo#oo#..",
        "..#ooooooo####..",
        "..#oooooooooo#..",
        "..#obbbbooooo#..",
        "..#ooorrrrroo#..",
        "..#ooorrroooo#..",
        "..#ooooeeeeeo#..",
        "..#ooorrrrooo#..",
        "..#obbboooooo#..",
        "..#oooooooooo#..",
        "..#oooooooooo#..",
        "..############..",
        "................",
    };
    const std::vector<std::string> flash = {
        "................",
        ".##############.",
        "#rrrrrrrrrrrrrr#",
        "#rrrrrrrrroooor#",
        "#rrrrrrrrooorrr#",
        "#rrrrrrrroorrrr#",
        "#rrrrrroooooorr#",
        "#rrrrrrroorrrrr#",
        "#rrrrrrroorrrrr#",
        "#rrrrrrroorrrrr#",
        "#rrrrrroorrrrrr#",
        "#rrrroooorrrrrr#",
        "#rrrroorrrrrrrr#",
        "#rrrrrrrrrrrrrr#",
        ".##############.",
        "................",
    };
    const std::vector<std::string> other = {
        "..#########.....",
        "..#ooooooo##....",
        "..#ooooooo#o#...",
        "..#ooooooo#oo#..",
        "..#ooooooo####..",
        "..#oooooooooo#..",
        "..#oooooooooo#..",
        "..#oooooooooo#..",
        "..#oooooooooo#..",
        "..#oooooooooo#..",
        "..#oooooooooo#..",
        "..#oooooooooo#..",
        "..#oooooooooo#..",
        "..#oooooooooo#..",
        "..############..",
        "................",
    };
    // clang-format on
    return {{6140, closed}, {6141, open}, {6142, page}, {6143, picture}, {6144, script}, {6145, flash}, {6146, other}};
}

} // namespace bitmaps
