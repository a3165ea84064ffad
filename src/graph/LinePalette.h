#pragma once

#include <array>
#include <cstdint>

/// Colours as the settings file stores them: 0x00BBGGRR. A value whose top byte is 0xFF
/// names a system colour by its number in the low byte (only the GUI can resolve it).
using TColor = uint32_t;

constexpr TColor RgbColor(int r, int g, int b) {
  return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int ColorRed(TColor c) { return static_cast<int>(c & 0xFF); }
constexpr int ColorGreen(TColor c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int ColorBlue(TColor c) { return static_cast<int>((c >> 16) & 0xFF); }
constexpr bool IsSystemColor(TColor c) { return (c >> 24) == 0xFF; }

/// The system button-face colour, the default chart background (-16777201 as a signed
/// integer in the settings file).
constexpr TColor ClBtnFace = 0xFF00000Fu;

/// The 16 default line colours.
inline constexpr std::array<TColor, 16> LinePalette = {
    RgbColor(0xFF, 0x00, 0x00), RgbColor(0xA6, 0xCA, 0xF0), RgbColor(0xFF, 0xFF, 0x00), RgbColor(0x00, 0x00, 0xFF),
    RgbColor(0xFF, 0xFF, 0xFF), RgbColor(0x80, 0x80, 0x80), RgbColor(0xFF, 0x00, 0xFF), RgbColor(0x00, 0x80, 0x80),
    RgbColor(0x00, 0x00, 0x80), RgbColor(0x80, 0x00, 0x00), RgbColor(0x00, 0xFF, 0x00), RgbColor(0x80, 0x80, 0x00),
    RgbColor(0x80, 0x00, 0x80), RgbColor(0xC0, 0xC0, 0xC0), RgbColor(0x00, 0xFF, 0xFF), RgbColor(0x00, 0x00, 0x00)};

/// Entry i mod 16 of the palette (i >= 0).
constexpr TColor DefaultLineColor(int i) { return LinePalette[static_cast<size_t>(i) % LinePalette.size()]; }
