#include "data/Crc8.h"

#include <array>

namespace {
constexpr std::array<uint8_t, 256> makeTable() {
  std::array<uint8_t, 256> table{};
  for (int i = 0; i < 256; ++i) {
    uint8_t crc = static_cast<uint8_t>(i);
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? static_cast<uint8_t>((crc >> 1) ^ 0x8C) : static_cast<uint8_t>(crc >> 1);
    table[i] = crc;
  }
  return table;
}
constexpr auto kTable = makeTable();
}  // namespace

uint8_t Crc8::update(uint8_t crc, uint8_t byte) { return kTable[crc ^ byte]; }

uint8_t Crc8::compute(const void* data, size_t size, uint8_t crc) {
  const auto* p = static_cast<const uint8_t*>(data);
  for (size_t i = 0; i < size; ++i) crc = kTable[crc ^ p[i]];
  return crc;
}
