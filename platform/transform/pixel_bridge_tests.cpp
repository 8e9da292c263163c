#include "platform/transform/pixel_bridge.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

using detail::PixmanImage;

namespace {

// round(c x 255 / a), halves up, at most 255; 0 where alpha is 0.
unsigned Unpremultiplied(unsigned c, unsigned a)
{
    return a == 0 ? 0 : std::min(255u, (510 * c + a) / (2 * a));
}

} // namespace

// Every alpha with every premultiplied byte, the colour bytes above the alpha (which filters may leave) among
// them: pixel (c, a) carries c in red, 255 - c in green and c / 2 in blue.
TEST(PixelBridge, WritePixelsUndoesThePremultiplicationForEveryPairOfBytes)
{
    PixmanImage source(pixman_image_create_bits(PIXMAN_a8r8g8b8, 256, 256, nullptr, 0));
    ASSERT_TRUE(source);
    auto* bits = pixman_image_get_data(source.get());
    const int stride = pixman_image_get_stride(source.get()) / 4;
    for (uint32_t a = 0; a < 256; ++a)
        for (uint32_t c = 0; c < 256; ++c)
            bits[a * stride + c] = a << 24 | c << 16 | (255 - c) << 8 | c / 2;

    CImage image(IMAGE_MODE_RGBA, 256, 256);
    const detail::SampleLayout layout = detail::LayoutOf(image);
    ASSERT_NE(layout.kind, detail::PixelKind::Unsupported);
    detail::WritePixels(source.get(), layout, 256, 256);
    for (unsigned a = 0; a < 256; ++a)
        for (unsigned c = 0; c < 256; ++c) {
            const unsigned char* p = image.GetData() + a * image.GetStride() + c * 4;
            ASSERT_EQ(p[0], a) << "alpha " << a << ", byte " << c;
            ASSERT_EQ(p[1], Unpremultiplied(c, a)) << "alpha " << a << ", byte " << c;
            ASSERT_EQ(p[2], Unpremultiplied(255 - c, a)) << "alpha " << a << ", byte " << 255 - c;
            ASSERT_EQ(p[3], Unpremultiplied(c / 2, a)) << "alpha " << a << ", byte " << c / 2;
        }
}
