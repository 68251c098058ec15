// Blocks that no SetSecret made: every one is refused with -1, *len = 0 and the target zeroed,
// and nothing outside the buffers is read or written (the AddressSanitizer build checks that).
#include <gtest/gtest.h>

#include <climits>
#include <random>

#include "sealer/SealCodec.h"
#include "sealer/WEN_Secret.h"
#include "tests/sealer/ExactBuffer.h"

namespace {

// Writes a trailer that decodes to the given length under the given seed.
void WriteTrailer(ExactBuffer& block, std::uint16_t seed, std::int32_t length)
{
    const int n = block.size();
    auto high = static_cast<std::uint8_t>(seed >> 8);
    auto low = static_cast<std::uint8_t>(seed & 0xFF);
    block[n - 6] = high;
    block[n - 5] = low;
    auto bits = static_cast<std::uint32_t>(length);
    const std::uint8_t masks[4] = {static_cast<std::uint8_t>(high & 0xF0), static_cast<std::uint8_t>(high & 0x0F),
                                   static_cast<std::uint8_t>(low & 0xF0), static_cast<std::uint8_t>(low & 0x0F)};
    for (int i = 0; i < 4; ++i) {
        auto byte = static_cast<std::uint8_t>(bits >> (24 - 8 * i));
        block[n - 4 + i] = static_cast<std::uint8_t>(byte + sealer::SealMix(masks[i]));
    }
}

void ExpectRefused(ExactBuffer& block, const char* what)
{
    ExactBuffer plain(block.size(), 0x5A);
    int len = 12345;
    EXPECT_EQ(GetSecret(plain.data(), &len, block.data(), block.size(), 0), -1) << what;
    EXPECT_EQ(len, 0) << what;
    EXPECT_TRUE(plain.AllEqual(0)) << what;
}

TEST(HostileBlock, TooShortOrNotWholeGroupsIsRefused)
{
    std::mt19937 engine(5);
    for (int size : {0, 1, 7, 8, 16, 23, 25, 31, 33, 817}) {
        ExactBuffer block(size);
        for (int i = 0; i < size; ++i) {
            block[i] = static_cast<std::uint8_t>(engine());
        }
        // Where a trailer fits, make it decode to a length that would fit the size.
        if (size >= 8) {
            WriteTrailer(block, 0x1357, size > 16 ? size - 16 : 0);
        }
        ExpectRefused(block, ("size " + std::to_string(size)).c_str());
    }
}

TEST(HostileBlock, DecodedLengthThatDoesNotSealToTheBlockSizeIsRefused)
{
    struct Case {
        int size;
        std::int32_t length;
    };
    const Case cases[] = {
        {24, -1},      {24, INT_MIN}, {24, INT_MAX}, {24, 16},  // 16 = L - 8
        {24, 7},       {24, 0},       {24, 24},      {24, 17},
        {816, 799},    {816, 809},    {816, 810},    {816, 816}, {816, 100000},
        {816, -802},
    };
    for (const Case& c : cases) {
        ExactBuffer block(c.size, 0x33);
        WriteTrailer(block, 0xA5A5, c.length);
        ExpectRefused(block, ("length " + std::to_string(c.length)).c_str());
    }
}

TEST(HostileBlock, NullPointersAreRefused)
{
    ExactBuffer block(24);
    ExactBuffer plain(24);
    int len = 0;
    EXPECT_EQ(GetSecret(nullptr, &len, block.data(), 24, 0), -1);
    EXPECT_EQ(GetSecret(plain.data(), nullptr, block.data(), 24, 0), -1);
    EXPECT_EQ(GetSecret(plain.data(), &len, nullptr, 24, 0), -1);
}

// Random blocks of every small size: whatever the trailer says, the result stays inside the
// buffers and a claimed length is one the block's size allows.
TEST(HostileBlock, RandomBlocksStayInsideTheirBuffers)
{
    std::mt19937 engine(11);
    for (int round = 0; round < 3000; ++round) {
        int size = static_cast<int>(engine() % 72);
        ExactBuffer block(size);
        for (int i = 0; i < size; ++i) {
            block[i] = static_cast<std::uint8_t>(engine());
        }
        if (size >= 24 && round % 2 == 0) {
            // Half of them with a plausible length, so the unsealing itself runs.
            WriteTrailer(block, static_cast<std::uint16_t>(engine()), size - 16 + static_cast<int>(engine() % 8));
        }
        ExactBuffer plain(size, 0x77);
        int len = -7;
        int result = GetSecret(plain.data(), &len, block.data(), size, 0);
        ASSERT_TRUE(result == 0 || result == -1);
        ASSERT_GE(len, 0);
        ASSERT_LE(len, size);
        for (int i = len; i < size; ++i) {
            ASSERT_EQ(plain[i], 0) << "size " << size << " at " << i;
        }
        if (len > 0) {
            ASSERT_EQ(GetPassLen(len), size);
        }
    }
}

}  // namespace
