#pragma once

// For the tests and the fuzzer's seeds: a JPEG stream whose scan stops before its rows.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

// The stream with its frame claiming width x height and only the first scanBytes of its scan data (all of it at the
// most) before the end marker; empty when the stream has no baseline or progressive frame and scan.
inline std::vector<uint8_t> JpegWithShortScan(const std::vector<uint8_t>& stream, uint16_t width, uint16_t height,
                                              size_t scanBytes)
{
    std::vector<uint8_t> b = stream;
    bool framed = false;
    for (size_t i = 2; i + 9 < b.size() && b[i] == 0xFF; i += 2 + (b[i + 2] << 8 | b[i + 3])) {
        if (b[i + 1] == 0xC0 || b[i + 1] == 0xC2) { // frame header: length, precision, height, width
            b[i + 5] = height >> 8, b[i + 6] = height & 0xFF;
            b[i + 7] = width >> 8, b[i + 8] = width & 0xFF;
            framed = true;
        } else if (b[i + 1] == 0xDA && framed) { // scan header, after which the entropy-coded data follows
            const size_t data = i + 2 + (b[i + 2] << 8 | b[i + 3]);
            if (data + 2 > b.size())
                break;
            b.resize(data + std::min(scanBytes, b.size() - data - 2));
            b.insert(b.end(), {0xFF, 0xD9});
            return b;
        }
    }
    return {};
}
