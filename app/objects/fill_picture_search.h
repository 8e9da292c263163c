#pragma once

// Finding the picture of a texture fill that could not be loaded: the places a moved site usually keeps its
// pictures, the replacements the user already chose while this site is open, and at last the user.

#include <string>

#include "platform/win/win_types.h"

class CFillInfo;

// Called with the loader's code of a failed CFillInfo::UpdateImage for an object of the given size. Returns the
// fill's last code: 0 once a picture is loaded or the fill has fallen back to a solid colour (the colour the user
// chose when giving up, or red when the picture does not fit in memory). The site is marked changed, since its
// fills may now name other files.
int FindFillPicture(CFillInfo& fill, const SIZE& size, int code);
