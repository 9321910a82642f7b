#include <gtest/gtest.h>

#include "ReferenceFormat.h"
#include "container/AdditiveKeyCipher.h"
#include "container/PasswordRule.h"
#include "tests/support/TempDir.h"

namespace mirado {
namespace {

using testing::asciiKey;
using testing::patternBytes;

const ContainerKey kKey = asciiKey("Kx9mQ2vL7pZ4rT1w");

TEST(AdditiveKeyCipher, MatchesTheByteRuleAtEveryPositionAndLength) {
    for (int position = 0; position < 16; ++position) {
        for (std::size_t length : {1u, 2u, 15u, 16u, 17u, 31u, 63u, 64u, 65u, 127u, 128u, 200u, 4099u}) {
            auto bytes = patternBytes(length, unsigned(position * 1000 + length));
            auto expected = bytes;
            for (std::size_t i = 0; i < length; ++i) expected[i] = std::uint8_t(expected[i] + kKey[(position + i) % 16]);

            AdditiveKeyCipher cipher(kKey);
            cipher.setPosition(position);
            ASSERT_TRUE(cipher.encipher(bytes.data(), length));
            ASSERT_EQ(bytes, expected) << "position " << position << " length " << length;
            EXPECT_EQ(cipher.position(), int((position + length) % 16));

            cipher.setPosition(position);
            ASSERT_TRUE(cipher.decipher(bytes.data(), length));
            EXPECT_EQ(bytes, patternBytes(length, unsigned(position * 1000 + length)));
        }
    }
}

// The wide paths work on 32-, 64- and 128-byte steps from wherever the buffer starts: every start
// address within 32 bytes, every key position and lengths on both sides of each step must still follow
// the byte rule, and no byte outside the range may change.
TEST(AdditiveKeyCipher, WideStepsMatchTheByteRuleAtEveryAlignment) {
    const std::size_t lengths[] = {31, 32, 33, 63, 64, 65, 95, 96, 97, 127, 128, 129,
                                   159, 160, 161, 255, 256, 257, 383, 384, 385, 1000};
    for (std::size_t start = 0; start < 32; ++start) {
        for (int position = 0; position < 16; ++position) {
            for (std::size_t length : lengths) {
                const auto original = patternBytes(start + length + 32, unsigned(start * 977 + length));
                auto bytes = original;
                AdditiveKeyCipher cipher(kKey);
                cipher.setPosition(position);
                ASSERT_TRUE(cipher.encipher(bytes.data() + start, length));
                for (std::size_t i = 0; i < bytes.size(); ++i) {
                    const bool inside = i >= start && i < start + length;
                    const auto expected =
                        inside ? std::uint8_t(original[i] + kKey[(position + i - start) % 16]) : original[i];
                    ASSERT_EQ(bytes[i], expected) << "start " << start << " position " << position << " length "
                                                  << length << " byte " << i;
                }
                cipher.setPosition(position);
                ASSERT_TRUE(cipher.decipher(bytes.data() + start, length));
                ASSERT_EQ(bytes, original) << "start " << start << " position " << position << " length " << length;
            }
        }
    }
}

TEST(AdditiveKeyCipher, SplittingAStreamIntoCallsChangesNothing) {
    auto whole = patternBytes(1000);
    auto pieces = whole;
    AdditiveKeyCipher one(kKey), many(kKey);
    one.encipher(whole.data(), whole.size());
    std::size_t at = 0;
    for (std::size_t step : {1u, 3u, 16u, 7u, 100u, 33u, 64u, 5u}) {
        many.encipher(pieces.data() + at, step);
        at += step;
    }
    many.encipher(pieces.data() + at, pieces.size() - at);
    EXPECT_EQ(whole, pieces);
}

TEST(AdditiveKeyCipher, RefusesNullBuffersEmptyLengthsAndHeaderOffsets) {
    AdditiveKeyCipher cipher(kKey);
    std::uint8_t byte = 7;
    EXPECT_FALSE(cipher.encipher(nullptr, 4));
    EXPECT_FALSE(cipher.decipher(&byte, 0));
    EXPECT_EQ(byte, 7);

    ASSERT_TRUE(cipher.seekTo(27));
    EXPECT_FALSE(cipher.seekTo(23));
    EXPECT_EQ(cipher.position(), 3) << "a refused seek leaves the position";
    EXPECT_TRUE(cipher.seekTo(732));
    EXPECT_EQ(cipher.position(), 4);
    EXPECT_TRUE(cipher.seekTo(1000));
    EXPECT_EQ(cipher.position(), 0);
    EXPECT_TRUE(cipher.seekTo(24));
    EXPECT_EQ(cipher.position(), 0);
    EXPECT_TRUE(cipher.seekTo(std::int64_t(5) << 30 | 7));
    EXPECT_EQ(cipher.position(), int(((std::int64_t(5) << 30 | 7) - 24) % 16));
}

TEST(AdditiveKeyCipher, KeyFromPasswordIsTheCodesThenZeros) {
    const ContainerKey six = AdditiveKeyCipher::keyFromPassword(u"abc123");
    EXPECT_EQ(six, asciiKey("abc123"));
    for (std::size_t i = 6; i < 16; ++i) EXPECT_EQ(six[i], 0);

    const ContainerKey sixteen = AdditiveKeyCipher::keyFromPassword(u"ABCDEFGHij012345");
    EXPECT_EQ(sixteen, asciiKey("ABCDEFGHij012345"));
    for (auto byte : sixteen) EXPECT_NE(byte, 0);
}

TEST(PasswordRule, AcceptsSixToSixteenAsciiLettersAndDigitsOnly) {
    EXPECT_TRUE(isValidPassword(u"123456"));
    EXPECT_TRUE(isValidPassword(u"abcDEF0123456789"));
    EXPECT_FALSE(isValidPassword(u""));
    EXPECT_FALSE(isValidPassword(u"abc12"));
    EXPECT_FALSE(isValidPassword(u"abc 123"));
    EXPECT_FALSE(isValidPassword(u"abc_123"));
    EXPECT_FALSE(isValidPassword(u"abcé123"));
    EXPECT_FALSE(isValidPassword(u"密码密码密码"));
    EXPECT_FALSE(isValidPassword(u"１２３４５６")) << "full-width digits are not ASCII";
}

}  // namespace
}  // namespace mirado
