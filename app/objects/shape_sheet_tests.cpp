// Not a check: one picture of every shape code with each kind of fill, turned and with effects, for a person to
// look at. Written as shape_sheet.png into the test output folder.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <unistd.h>
#include <vector>

#include "app/model/effect_settings.h"
#include "app/model/fill_info.h"
#include "app/objects/polygon_object.h"
#include "platform/io/io.h"
#include "testing/test_output.h"

namespace {

constexpr int kCell = 120;
constexpr int kColumns = 10;
constexpr int kCodes = kLastShapeCode - kFirstShapeCode + 1;
constexpr int kRowsPerVariant = (kCodes + kColumns - 1) / kColumns;

// An opaque RGB picture with stripes and squares, so that scaling and turning show.
std::unique_ptr<CImage> MakePicture(int width, int height)
{
    auto picture = std::make_unique<CImage>(IMAGE_MODE_RGB, width, height);
    CPixMap map(IMAGE_MODE_RGB, width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool square = ((x / 16) + (y / 16)) % 2 == 0;
            unsigned char* p = map.Sample(x, y, 0);
            p[0] = static_cast<unsigned char>(square ? 240 : 40 + x * 200 / width);
            p[1] = static_cast<unsigned char>(square ? 200 : 60);
            p[2] = static_cast<unsigned char>(square ? 40 : 80 + y * 170 / height);
        }
    picture->SetBuf(0, 0, map);
    return picture;
}

// The sheet as RGB bytes, onto which objects' images are laid with their alpha.
struct Sheet
{
    int width;
    int height;
    std::vector<unsigned char> rgb;

    Sheet(int w, int h) : width(w), height(h), rgb(static_cast<size_t>(w) * h * 3, 236)
    {
        // Thin lines between the cells.
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (x % kCell == 0 || y % kCell == 0)
                    for (int c = 0; c < 3; ++c)
                        rgb[(static_cast<size_t>(y) * w + x) * 3 + c] = 200;
    }

    void Lay(const CPageObject& object)
    {
        const CImage* image = object.GetImage();
        if (!image)
            return;
        RECT bounds;
        object.GetBounds(bounds);
        for (int j = 0; j < image->Height(); ++j)
            for (int i = 0; i < image->Width(); ++i) {
                const int x = bounds.left + i, y = bounds.top + j;
                if (x < 0 || y < 0 || x >= width || y >= height)
                    continue;
                const unsigned char* s = image->GetData() + static_cast<size_t>(j) * image->GetStride() + i * 4;
                unsigned char* d = &rgb[(static_cast<size_t>(y) * width + x) * 3];
                for (int c = 0; c < 3; ++c)
                    d[c] = static_cast<unsigned char>((s[1 + c] * s[0] + d[c] * (255 - s[0]) + 127) / 255);
            }
    }

    bool Save(const std::filesystem::path& path) const
    {
        CImage image(IMAGE_MODE_RGB, width, height);
        CPixMap map(IMAGE_MODE_RGB, width, height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                for (int c = 0; c < 3; ++c)
                    map.Sample(x, y, 0)[c] = rgb[(static_cast<size_t>(y) * width + x) * 3 + c];
        return image.SetBuf(0, 0, map) && CIO::SavePNG(path.string(), image);
    }
};

enum Variant
{
    solidColour,
    turnedGradient,
    turnedPicture,
    textureFile,
    effects,
    variantCount
};

TEST(ShapeSheet, WritesEveryShapeCodeWithEachFill)
{
    const std::filesystem::path folder = TestOutputFolder();
    // The texture is a file of its own, kept out of the output folder.
    const std::filesystem::path texture =
        std::filesystem::temp_directory_path() / ("pelorin_sheet_texture_" + std::to_string(getpid()) + ".png");
    ASSERT_TRUE(CIO::SavePNG(texture.string(), *MakePicture(48, 48)));

    Sheet sheet(kColumns * kCell, variantCount * kRowsPerVariant * kCell);
    CPixMap scratch(IMAGE_MODE_RGBA, 64, 64);
    for (int variant = 0; variant < variantCount; ++variant) {
        for (int code = kFirstShapeCode; code <= kLastShapeCode; ++code) {
            SCOPED_TRACE(testing::Message() << "variant " << variant << ", code " << code);
            const int index = code - kFirstShapeCode;
            const int row = variant * kRowsPerVariant + index / kColumns;
            const double cx = (index % kColumns) * kCell + kCell / 2.0;
            const double cy = row * kCell + kCell / 2.0;
            const double rotation = variant == turnedGradient ? 0.35 : variant == turnedPicture ? -0.5 : 0.0;
            CPolygonObject polygon(cx, cy, SIZE{96, 72}, rotation, code);
            CFillInfo& fill = *polygon.GetFill();
            switch (variant) {
            case solidColour:
            case effects:
                fill.SetColor(CColor(static_cast<unsigned char>(40 + index * 10), 90,
                                     static_cast<unsigned char>(230 - index * 10)));
                break;
            case turnedGradient: {
                CGradientInfo gradient;
                GRADIENTCOLORS colours;
                CGradientModel::GetPredefinedGradient(colours, index % CGradientModel::GetPredefinedNo());
                gradient.SetGradientColors(colours);
                gradient.angle = 45;
                fill.SetGradient(gradient);
                break;
            }
            case turnedPicture:
                fill.SetPicture(MakePicture(96, 72));
                break;
            case textureFile:
                fill.SetImageFile(texture.string());
                break;
            }
            if (variant == effects) {
                auto fx = std::make_unique<CEffectSettings>(*polygon.GetEffects());
                fx->m_shadow = true;
                fx->m_bevel = code % 2 == 0;
                fx->m_glow = code % 3 == 0;
                polygon.SetEffects(std::move(fx));
            }
            EXPECT_TRUE(polygon.UpdateImage(scratch));
            sheet.Lay(polygon);
        }
    }
    std::filesystem::remove(texture);
    EXPECT_TRUE(sheet.Save(folder / "shape_sheet.png"));
}

} // namespace
