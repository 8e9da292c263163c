#pragma once

// Questions about GIF files that go beyond loading their first picture.

#include <string>

class CGifIO
{
public:
    // True when the file at path is a GIF holding more than one picture. False for a single picture, any other
    // kind of file, or a file that cannot be read.
    static bool IsAnimated(const std::string& path);
};
