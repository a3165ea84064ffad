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

// kSliced[k][b]: the register after byte b from register 0 and then k zero bytes. The CRC is
// linear, so eight bytes combine as independent lookups instead of one long chain.
constexpr std::array<std::array<uint8_t, 256>, 8> makeSliced() {
  std::array<std::array<uint8_t, 256>, 8> sliced{};
  for (int b = 0; b < 256; ++b) {
    uint8_t crc = kTable[b];
    sliced[0][b] = crc;
    for (int k = 1; k < 8; ++k) sliced[k][b] = crc = kTable[crc];
  }
  return sliced;
}
constexpr auto kSliced = makeSliced();
}  // namespace

uint8_t Crc8::update(uint8_t crc, uint8_t byte) { return kTable[crc ^ byte]; }

uint8_t Crc8::compute(const void* data, size_t size, uint8_t crc) {
  const auto* p = static_cast<const uint8_t*>(data);
  size_t i = 0;
  for (; i + 8 <= size; i += 8) {
    crc = kSliced[7][crc ^ p[i]] ^ kSliced[6][p[i + 1]] ^ kSliced[5][p[i + 2]] ^ kSliced[4][p[i + 3]] ^
          kSliced[3][p[i + 4]] ^ kSliced[2][p[i + 5]] ^ kSliced[1][p[i + 6]] ^ kSliced[0][p[i + 7]];
  }
  for (; i < size; ++i) crc = kTable[crc ^ p[i]];
  return crc;
}
