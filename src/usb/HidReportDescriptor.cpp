#include "usb/HidReportDescriptor.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <vector>

int HidReportDescriptor::maxOutputReportLength(const QByteArray& descriptor) {
  const auto* p = reinterpret_cast<const uint8_t*>(descriptor.constData());
  const int n = static_cast<int>(descriptor.size());
  // Global items survive Push/Pop; keep a small stack so nested collections parse right.
  struct Globals {
    uint32_t reportSize = 0;
    uint32_t reportCount = 0;
    uint32_t reportId = 0;
  };
  std::vector<Globals> stack;
  Globals g;
  std::map<uint32_t, uint64_t> outputBits;
  int i = 0;
  while (i < n) {
    const uint8_t prefix = p[i];
    if (prefix == 0xFE) {  // long item: skip it whole
      if (i + 1 >= n) return 0;
      i += 3 + p[i + 1];
      continue;
    }
    const int sizeCode = prefix & 0x03;
    const int size = sizeCode == 3 ? 4 : sizeCode;
    if (i + 1 + size > n) return 0;
    uint32_t value = 0;
    for (int b = 0; b < size; ++b) value |= static_cast<uint32_t>(p[i + 1 + b]) << (8 * b);
    switch (prefix & 0xFC) {
      case 0x74: g.reportSize = value; break;
      case 0x94: g.reportCount = value; break;
      case 0x84: g.reportId = value; break;
      case 0xA4: stack.push_back(g); break;
      case 0xB4:
        if (!stack.empty()) {
          g = stack.back();
          stack.pop_back();
        }
        break;
      case 0x90: outputBits[g.reportId] += static_cast<uint64_t>(g.reportSize) * g.reportCount; break;
      default: break;
    }
    i += 1 + size;
  }
  uint64_t longest = 0;
  for (const auto& [id, bits] : outputBits) longest = std::max<uint64_t>(longest, (bits + 7) / 8);
  if (longest == 0 || longest > 65536) return 0;
  // hidapi takes the report ID byte in front of every report, 0 when there are no IDs.
  return static_cast<int>(longest) + 1;
}
