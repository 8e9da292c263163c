#pragma once

// The small rules on names and objects that the parts of the site build share: file names and extensions as the
// files folder sees them, and what an object shows beside its fill.

#include <algorithm>
#include <cctype>
#include <string>

#include "app/model/effect_settings.h"
#include "app/objects/page_object.h"
#include "platform/win/win_types.h"

namespace build_helpers {

// Pages reach the files folder by this prefix.
inline const char* const kFilesPrefix = "files/";

inline std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

inline std::string FileNameOf(const std::string& path)
{
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The name's extension with its dot, in lower case; empty when it has none.
inline std::string ExtensionOf(const std::string& name)
{
    const std::string file = FileNameOf(name);
    const size_t dot = file.rfind('.');
    return dot == std::string::npos ? std::string() : Lower(file.substr(dot));
}

inline std::string StemOf(const std::string& name)
{
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

inline std::string WithJpgExtension(const std::string& name)
{
    return StemOf(name) + ".jpg";
}

// Whether a picture can be saved under the name in its own format.
inline bool IsSavableName(const std::string& name)
{
    const std::string extension = ExtensionOf(name);
    return extension == ".jpg" || extension == ".jpeg" || extension == ".png" || extension == ".gif" ||
           extension == ".bmp";
}

inline bool HasEffects(const CPageObject& object)
{
    const CEffectSettings* effects = object.GetEffects();
    return effects && effects->HasEffects();
}

inline CRect BoundsOf(const CPageObject& object)
{
    RECT bounds;
    return CRect(object.GetBounds(bounds));
}

} // namespace build_helpers
