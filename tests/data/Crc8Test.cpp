#include <gmock/gmock.h>

#include <random>
#include <vector>

#include "data/Crc8.h"

namespace {

TEST(Crc8, CheckValueAndTable) {
  EXPECT_EQ(Crc8::compute("123456789", 9), 0xA1);
  EXPECT_EQ(Crc8::update(0, 1), 0x5E);
  EXPECT_EQ(Crc8::update(0, 128), 0x8C);
}

// The eight-bytes-at-a-time path must give what one byte at a time gives, for every length
// and starting register.
TEST(Crc8, BlockPathMatchesBytePath) {
  std::mt19937 rng(7);
  std::vector<uint8_t> bytes(300);
  for (auto& b : bytes) b = static_cast<uint8_t>(rng());
  for (size_t len = 0; len <= bytes.size(); ++len) {
    const uint8_t start = static_cast<uint8_t>(len * 13);
    uint8_t expected = start;
    for (size_t i = 0; i < len; ++i) expected = Crc8::update(expected, bytes[i]);
    ASSERT_EQ(Crc8::compute(bytes.data(), len, start), expected) << len;
  }
}

}  // namespace
