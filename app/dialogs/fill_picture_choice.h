#pragma once

// Choosing a picture for a background in the settings dialogs (new website, page defaults): the file comes from
// the core's chooser and is tried on a copy, so that the fill changes only once the picture loads.

#include <string>

class CFillStyle;
struct CAppSettings;

// The picture radio: the fill's own picture when it has one, else the chooser from no folder, asked again from
// the failed file's folder after each picture that does not load. False when the user gave up.
bool ChooseFillPictureKind(CFillStyle& fill);
// The picture button: one file, from the fill's picture folder or the settings' background folder. False when
// nothing was chosen or it did not load (the fill then stays as it was).
bool ChooseFillPictureFile(CFillStyle& fill, const CAppSettings& settings);
// The radio button of the fill's kind among the three given (solid, picture, gradient), 0 for none.
int FillKindButton(const CFillStyle& fill, int solid, int picture, int gradient);
