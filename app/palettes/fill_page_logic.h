#pragma once

// What the Fill palette shows for the current object and what each of its controls does, without a window. Every
// change is one undo step of the fill kind, applied to a copy of the object's fill that then replaces it; the page
// reads the object again afterwards. Choosing a colour, a gradient or an angle also chooses the fill's kind.

#include <functional>
#include <memory>
#include <string>

#include "app/model/gradient_info.h"
#include "image/image.h"
#include "platform/io/io.h"

// The radio buttons of the fill kinds, by kind (solid colour, picture file, gradient, no fill).
enum FillRadio : int
{
    kFillRadioNone = -1,
    kFillRadioSolid = 0,
    kFillRadioPicture = 1,
    kFillRadioGradient = 2,
    kFillRadioNoFill = 3,
};

// Which controls are on and what they show.
struct FillPageState
{
    bool solid = false;     // the solid radio and the tools-bar colour button
    bool picture = false;   // the picture radio and its browse button
    bool gradient = false;  // the gradient radio
    bool noFill = false;    // the no-fill radio
    bool colorWell = false; // the custom controls
    bool gradientBand = false;
    bool angleWheel = false;
    int checked = kFillRadioNone;
    // Whether the object has a fill whose values the controls show; without one the file-name box is emptied.
    bool hasFill = false;
    CColor color;
    std::string fileName;
    CGradientInfo gradientValue;
};

FillPageState ReadFillPage();

// The handlers. Each answers whether the keyboard goes back to the main window afterwards. checked is the state of
// the clicked radio button; the colours and gradients are those the page's controls hold.
bool FillOnSolid(bool checked, const CColor& wellColor);
bool FillOnColorChanged(const CColor& wellColor);
bool FillOnToolsBarColor();
bool FillOnGradient(bool checked, const GRADIENTCOLORS& band);
// Record a step even when the fill already is this gradient.
bool FillOnGradientChanged(const GRADIENTCOLORS& band);
bool FillOnAngleChanged(const GRADIENTCOLORS& band, int angle);
bool FillOnNoFill(bool checked);

// Loads a picture file; null with the reason in error.
using FillPictureLoader = std::function<std::unique_ptr<CImage>(const std::string& path, IOError& error)>;
// The program's loader.
FillPictureLoader DefaultFillPictureLoader();

// The picture radio: a fill that still remembers a picture file loads it at once, else the user picks one; a file
// that does not load is told and the user may pick another, starting in its folder, until one loads or the dialog
// is cancelled. On cancel the fill stays as it was.
bool FillOnPicture(bool checked, const FillPictureLoader& load);
// The browse button: the user picks a file, starting at the fill's file or the last picture folder; a file that
// does not load is told, with no second chance.
bool FillOnBrowse(const FillPictureLoader& load);

// Runs load inside the program's wait cursor. Loads nested in one another show one wait cursor.
std::unique_ptr<CImage> LoadWithWaitCursor(const std::string& path, IOError& error, const FillPictureLoader& load);
