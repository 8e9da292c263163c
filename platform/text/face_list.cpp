#include "platform/text/face_list.h"

#include "platform/text/codepage.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <memory>
#include <mutex>

namespace {

// Windows names whose look-alikes keep the same advance widths, so that text laid out with the look-alike breaks
// where it would with the original. A name joins the face list only when fontconfig actually binds it to one of
// these; binding it to some unrelated default would change the layout.
struct MetricAlias
{
    const char* windowsName;
    std::vector<const char*> compatible;
};

const std::vector<MetricAlias>& MetricAliases()
{
    static const std::vector<MetricAlias> aliases = {
        {"Arial", {"Liberation Sans", "Arimo", "Albany AMT"}},
        {"Arial Narrow", {"Liberation Sans Narrow"}},
        {"Times New Roman", {"Liberation Serif", "Tinos", "Thorndale AMT"}},
        {"Courier New", {"Liberation Mono", "Cousine", "Cumberland AMT"}},
        {"Calibri", {"Carlito"}},
        {"Cambria", {"Caladea"}},
    };
    return aliases;
}

std::once_flag g_fontconfigReady;
std::atomic<bool> g_keepFontconfig{false};

void EnsureFontconfig()
{
    std::call_once(g_fontconfigReady, [] {
        // fontconfig holds its configuration until told to let go; letting go at exit keeps the leak checker of
        // the tests quiet, so that real leaks stand out. Nothing of ours holds fontconfig objects by then.
        if (FcInit())
            std::atexit([] {
                if (!g_keepFontconfig)
                    FcFini();
            });
    });
}

} // namespace

void KeepFontconfigAtExit()
{
    g_keepFontconfig = true;
}

namespace {

struct PatternDeleter
{
    void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternDeleter>;

// Every family name of the pattern, in fontconfig's order.
std::vector<std::string> Families(const FcPattern* pattern)
{
    std::vector<std::string> names;
    FcChar8* value = nullptr;
    for (int i = 0; FcPatternGetString(pattern, FC_FAMILY, i, &value) == FcResultMatch; ++i)
        names.emplace_back(reinterpret_cast<const char*>(value));
    return names;
}

PatternPtr MatchPattern(const std::string& familyUtf8, int weight, bool italic)
{
    PatternPtr pattern(FcPatternCreate());
    if (!pattern)
        return nullptr;
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(familyUtf8.c_str()));
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, FcWeightFromOpenType(weight));
    FcPatternAddInteger(pattern.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    PatternPtr match(FcFontMatch(nullptr, pattern.get(), &result));
    if (result != FcResultMatch)
        return nullptr;
    return match;
}

std::vector<std::string> EnumerateFaces()
{
    EnsureFontconfig();
    std::vector<std::string> names;

    FcPattern* scalable = FcPatternBuild(nullptr, FC_SCALABLE, FcTypeBool, FcTrue, nullptr);
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
    FcFontSet* fonts = (scalable && objects) ? FcFontList(nullptr, scalable, objects) : nullptr;
    if (fonts) {
        for (int i = 0; i < fonts->nfont; ++i) {
            // Names outside the code page could never be stored in a site or typed by the user.
            for (const std::string& family : Families(fonts->fonts[i])) {
                if (auto name = Utf8ToWindows1252(family); name && !name->empty())
                    names.push_back(std::move(*name));
            }
        }
        FcFontSetDestroy(fonts);
    }
    if (objects)
        FcObjectSetDestroy(objects);
    if (scalable)
        FcPatternDestroy(scalable);

    for (const MetricAlias& alias : MetricAliases()) {
        PatternPtr match = MatchPattern(alias.windowsName, 400, false);
        if (!match)
            continue;
        for (const std::string& family : Families(match.get())) {
            if (family == alias.windowsName ||
                std::find_if(alias.compatible.begin(), alias.compatible.end(),
                             [&](const char* c) { return family == c; }) != alias.compatible.end()) {
                names.emplace_back(alias.windowsName);
                break;
            }
        }
    }

    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

} // namespace

const std::vector<std::string>& GetInstalledFaceNames()
{
    static const std::vector<std::string> names = EnumerateFaces();
    return names;
}

MatchedFace MatchFace(const std::string& faceName, int weight, bool italic)
{
    EnsureFontconfig();
    MatchedFace face;
    PatternPtr match = MatchPattern(Windows1252ToUtf8(faceName), weight, italic);
    if (!match)
        return face;

    FcChar8* file = nullptr;
    if (FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch || !file)
        return face;
    face.file = reinterpret_cast<const char*>(file);
    int index = 0;
    if (FcPatternGetInteger(match.get(), FC_INDEX, 0, &index) == FcResultMatch)
        face.index = index;
    auto families = Families(match.get());
    if (!families.empty())
        face.family = families.front();

    // A configuration may already mark the match as needing a synthetic style (and then reports the asked-for
    // weight and an oblique slant); without one, the match's own weight and slant tell.
    int matchedWeight = FC_WEIGHT_REGULAR;
    FcPatternGetInteger(match.get(), FC_WEIGHT, 0, &matchedWeight);
    FcBool embolden = FcFalse;
    FcPatternGetBool(match.get(), FC_EMBOLDEN, 0, &embolden);
    face.needsEmbolden = weight >= 600 && (embolden || matchedWeight < FC_WEIGHT_DEMIBOLD);
    int matchedSlant = FC_SLANT_ROMAN;
    FcPatternGetInteger(match.get(), FC_SLANT, 0, &matchedSlant);
    FcMatrix* matrix = nullptr;
    bool sheared = FcPatternGetMatrix(match.get(), FC_MATRIX, 0, &matrix) == FcResultMatch && matrix && matrix->xy != 0;
    face.needsSlant = italic && (sheared || matchedSlant == FC_SLANT_ROMAN);
    return face;
}
