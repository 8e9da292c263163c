#pragma once

// Loading the picture of a fill, shared by object fills and page backgrounds so that both tell the same reasons
// apart when a picture cannot be used.

#include <memory>
#include <string>

#include "image/image.h"
#include "platform/io/io.h"

// The picture at path, or null with the reason in error: a missing file, a missing folder or short memory as
// such, anything else as IO_INVALID_FILE. A picture without pixels counts as invalid too.
inline std::unique_ptr<CImage> LoadFillPicture(const std::string& path, IOError& error)
{
    error = IO_OK;
    std::unique_ptr<CImage> image(CIO::LoadImageA(path, IO_LOAD_DEFAULT, &error));
    if (image && image->IsEmpty())
        image.reset();
    if (!image && error != IO_FILE_NOT_FOUND && error != IO_FOLDER_NOT_FOUND && error != IO_NO_MEMORY)
        error = IO_INVALID_FILE;
    return image;
}
