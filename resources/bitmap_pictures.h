#pragma once

// The sets of resource bitmaps, each drawn into the folder given: the small pictures of controls and objects, the
// toolbars' and tools bars' icons, and the Styles palette's textures with their previews.

#include <filesystem>

#include "bitmap_drawing.h"

namespace bitmaps {

// bitmap_controls.cpp
bool Probe(const std::filesystem::path& folder, unsigned id);
bool Thumb(const std::filesystem::path& folder);
// A counter style: its bitmap, size and colours.
struct CounterLook
{
    unsigned id;
    int width, height;
    Rgb panel, frame, digit;
};
bool Counter(const std::filesystem::path& folder, const CounterLook& look);
bool HtmlPattern(const std::filesystem::path& folder);
bool Form(const std::filesystem::path& folder);
bool Handles(const std::filesystem::path& folder);
bool Wells(const std::filesystem::path& folder);

// bitmap_icons.cpp
bool ToolbarStrips(const std::filesystem::path& folder);
bool ToolsBarButtons(const std::filesystem::path& folder);

// bitmap_cursors.cpp: the design view's cursors and the animated-picture marker
bool ViewCursors(const std::filesystem::path& folder);
bool AnimatedGifMarker(const std::filesystem::path& folder);

// bitmap_textures.cpp
bool StyleTextures(const std::filesystem::path& bitmaps, const std::filesystem::path& textures);

} // namespace bitmaps
