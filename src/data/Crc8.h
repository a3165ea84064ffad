#pragma once

#include <cstddef>
#include <cstdint>

/// CRC-8 of the Dallas/Maxim 1-Wire standard: reflected polynomial 0x8C, initial value 0,
/// no final inversion, table driven. Serves radio blocks, USB answers and data-file lines.
class Crc8 {
 public:
  static uint8_t compute(const void* data, size_t size, uint8_t crc = 0);
  static uint8_t update(uint8_t crc, uint8_t byte);
};
