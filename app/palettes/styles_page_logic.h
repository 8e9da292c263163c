#pragma once

// The Styles palette's thirty preset looks and what a click on one does, without a window. A preset makes every
// object of the selected groups a picture fill of one of the texture files that come with the program and switches
// its shadow, bevel and glow on or off, some with fixed parameters. A selection takes a style only when every
// object of it can have a picture fill and effects; the palette shows its previews greyed otherwise.

#include <string>

class CEffectSettings;

constexpr int kStyleCount = 30;

// What a preset does with one effect: switches it off, switches it on with the object's own parameters, or
// switches it on with the parameters of the row. An effect switched off keeps its parameters.
enum class StyleSwitch
{
    off,
    own,
    set,
};

struct StyleShadow
{
    StyleSwitch mode;
    int offset, softness, opacity, style, angle;
};

struct StyleBevel
{
    StyleSwitch mode;
    int direction, offset, softness, angle, style; // direction 0 up, 1 down
};

// A glow the preset sets is black.
struct StyleGlow
{
    StyleSwitch mode;
    int offset, opacity, style;
};

struct PresetStyle
{
    int buttonId;
    unsigned preview;            // the bitmap while the selection can take a style
    unsigned unavailablePreview; // the greyed one otherwise
    StyleShadow shadow;
    StyleBevel bevel;
    StyleGlow glow;
};

// Style 1 to kStyleCount; any other number answers style 1.
const PresetStyle& GetPresetStyle(int style);
// The style of a button id; 1 for an id outside the table.
int StyleForButton(int buttonId);

// The texture file of a style, relative to the program's folder, and its full path in that folder.
std::string StyleTextureFile(int style);
std::string StyleTexturePath(const std::string& programFolder, int style);
// The folder the program runs from, where its textures lie.
std::string GetProgramFolder();

// Sets the effect switches and parameters of the style in the record; what the style leaves alone stays.
void ApplyStyleEffects(const PresetStyle& preset, CEffectSettings& effects);

// Whether the current selection can take a style: not without a site, a page with groups, or while a text is
// edited in place; otherwise yes unless an object of a selected group takes no picture fill or no style (also yes
// with nothing selected).
bool CanApplyStyle();

// Applies the style to every object of the selected groups, as one undo step, taking the texture from the program
// folder. Nothing happens when CanApplyStyle says no. True when it ran.
bool ApplyStyle(int style, const std::string& programFolder);
