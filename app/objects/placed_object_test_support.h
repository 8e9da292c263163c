#pragma once

// Helpers of the tests of the picture objects (counter, HTML, form): a settings record installed for the test,
// the stored form of doubles, a pass through the object factory, and pixel reads from an object's image.

#include <array>
#include <cstring>
#include <memory>

#include "app/model/app_settings.h"
#include "app/model/record_stream.h"
#include "app/model/seams_test_support.h"
#include "app/model/services.h"
#include "app/model/stream_test_support.h"
#include "app/objects/object_factory.h"

// Installs services whose settings record the test can read; the headless answers come back when it goes.
class InstalledSettings : public NullCoreServices, public NullCurrentState, public NullModelDialogs
{
public:
    CAppSettings* GetAppSettings() override { return &settings; }

    CAppSettings settings;

private:
    SeamsInstalled<InstalledSettings> m_installed{*this};
};

inline std::vector<BYTE> LE64(double v)
{
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    return Concat({LE32(static_cast<uint32_t>(bits)), LE32(static_cast<uint32_t>(bits >> 32))});
}

// Saves the object and reads it back through the factory as a file of the given version.
inline std::unique_ptr<CPageObject> SaveAndReload(const CPageObject& object, int major = kCurrentMajorVersion,
                                                  int minor = kCurrentMinorVersion)
{
    CMemFile file;
    object.Save(file);
    file.SeekToBegin();
    return CreatePageObjectFromArchive(file, major, minor);
}

// The factory over bytes.
inline std::unique_ptr<CPageObject> LoadBytes(const std::vector<BYTE>& bytes, int major = kCurrentMajorVersion,
                                              int minor = kCurrentMinorVersion)
{
    auto file = FileOf(bytes);
    return CreatePageObjectFromArchive(*file, major, minor);
}

struct Rgba
{
    int a, r, g, b;
    bool operator==(const Rgba&) const = default;
};

// One pixel of an image of mode 0x80000003.
inline Rgba PixelOf(const CImage& image, int x, int y)
{
    const unsigned char* p = image.GetData() + static_cast<size_t>(y) * image.GetStride() + static_cast<size_t>(x) * 4;
    return {p[0], p[1], p[2], p[3]};
}

// A rectangle as four numbers, which compare and print.
using Box = std::array<int, 4>;
inline Box BoxOf(const RECT& r)
{
    return {r.left, r.top, r.right, r.bottom};
}
inline Box BoundsOf(const CPageObject& object)
{
    RECT r;
    return BoxOf(object.GetBounds(r));
}
