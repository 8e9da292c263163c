#include "platform/win/little_endian.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

// The top byte's high bit set catches a load that sign-extends a byte before shifting it.
struct Case
{
    std::vector<uint8_t> bytes;
    uint64_t value;
};

const Case k16[] = {{{0x00, 0x00}, 0}, {{0x34, 0x12}, 0x1234}, {{0xFF, 0x80}, 0x80FF}, {{0xFE, 0xFF}, 0xFFFE}};
const Case k32[] = {{{0x78, 0x56, 0x34, 0x12}, 0x12345678},
                    {{0x01, 0x00, 0x00, 0x80}, 0x80000001},
                    {{0xFF, 0xFF, 0xFF, 0xFF}, 0xFFFFFFFF},
                    {{0x9B, 0x62, 0xB8, 0x78}, 0x78B8629B}};
const Case k64[] = {{{0x08, 0x07, 0x06, 0x05, 0x04, 0x03, 0x02, 0x81}, 0x8102030405060708},
                    {{0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF0, 0x3F}, 0x3FF0000000000000}};

} // namespace

TEST(LittleEndian, LoadsAndStoresEveryWidthLowByteFirst)
{
    // One byte in front keeps the values off their natural alignment.
    auto check = [](const Case& c, auto load, auto store) {
        std::vector<uint8_t> at(1 + c.bytes.size(), 0xAA);
        std::copy(c.bytes.begin(), c.bytes.end(), at.begin() + 1);
        EXPECT_EQ(static_cast<uint64_t>(load(at.data() + 1)), c.value);

        std::vector<uint8_t> out(c.bytes.size() + 2, 0xAA);
        store(out.data() + 1, c.value);
        EXPECT_EQ(std::vector<uint8_t>(out.begin() + 1, out.end() - 1), c.bytes);
        EXPECT_EQ(out.front(), 0xAA);
        EXPECT_EQ(out.back(), 0xAA) << "nothing written past the value";
    };
    for (const Case& c : k16)
        check(c, LoadLE16, [](uint8_t* p, uint64_t v) { StoreLE16(p, static_cast<uint16_t>(v)); });
    for (const Case& c : k32)
        check(c, LoadLE32, [](uint8_t* p, uint64_t v) { StoreLE32(p, static_cast<uint32_t>(v)); });
    for (const Case& c : k64)
        check(c, LoadLE64, StoreLE64);
}
