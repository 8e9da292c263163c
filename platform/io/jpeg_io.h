#pragma once

// JPEG streams inside other files: the site file keeps its front page's thumbnail as one.

#include <string>

#include "platform/io/io.h"

class CFile;
class CImage;
class CPixMap;

class CJpegIO
{
public:
    // Writes the map (mode 3, 8 bits per plane, interleaved or planar) as a complete JPEG stream at the file's
    // position, at the given quality (1 to 100; values outside are clamped), with the comment as a COM marker when
    // it is not empty. False, with *error set and nothing written, when the map cannot be encoded. A failing write
    // of the file itself raises the file's own exception.
    static bool Save(CFile& file, const CPixMap& map, int quality, IOError* error, const std::string& comment);

    // Reads a JPEG stream from the file's position and returns it as a new mode-3 image owned by the caller, with
    // the first COM marker in *comment when comment is not null. On success the file is left just after the
    // stream's end marker. Null, with *error set, for a damaged or truncated stream (2) or short memory (4); a
    // failing read of the file itself raises the file's own exception.
    static CImage* Load(CFile& file, IOError* error, std::string* comment);
};
