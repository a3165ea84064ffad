// Feeds arbitrary bytes to the USB answer decoders as a data buffer with an arbitrary
// announced length and sensor count: no read may leave the buffer, no input may crash.
#include <QString>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "app/UserPrompt.h"
#include "data/MeasurementSet.h"
#include "usb/UsbAnswerDecoder.h"

namespace {
class SilentPrompt : public UserPrompt {
 public:
  bool show(Kind, const QString&, const QString&) override { return true; }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 6) return 0;
  TLoggerHidDevice dev;
  std::memcpy(dev.cmdPacket.data() + 1, data, 4);  // announced length
  dev.cmdPacketLen = 5;
  const uint8_t sensors = data[4];
  const size_t n = std::min(size - 5, static_cast<size_t>(TLoggerHidDevice::kDataBufferSize));
  std::memcpy(dev.data.data(), data + 5, n);
  dev.dataLen = static_cast<uint16_t>(n);
  SilentPrompt prompt;
  const auto trace = [](const QString&) {};

  UsbAnswerDecoder::decodeSwVersion(dev, trace);
  UsbAnswerDecoder::decodeTimeAdjustment(dev, trace);
  UsbAnswerDecoder::decodeDataStruct(dev, trace);
  if (UsbAnswerDecoder::headerSizeAccepted(dev)) UsbAnswerDecoder::decodeHeader(dev, trace, prompt);
  if (UsbAnswerDecoder::configSizeAccepted(dev)) UsbAnswerDecoder::decodeConfig(dev, trace, prompt);
  // The decoders must stay inside the buffer even when called on a refused answer.
  UsbAnswerDecoder::decodeHeader(dev, trace, prompt);
  UsbAnswerDecoder::decodeConfig(dev, trace, prompt);
  dev.sensorCount = sensors * ((data[0] & 1) ? 1 : 37);
  TMeasurementSet set;
  set.reset(1);
  set.Temp[0][0].resize(dev.sensorCount > 255 ? 255 : static_cast<size_t>(dev.sensorCount));
  set.Distance[0][0].resize(set.Temp[0][0].size());
  const UsbDataRecord rec = UsbAnswerDecoder::decodeDataRecord(dev, trace, prompt);
  UsbAnswerDecoder::appendRecord(set, rec);
  if (!set.isConsistent()) __builtin_trap();
  return 0;
}
