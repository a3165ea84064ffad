// The logger list reader on arbitrary bytes: it must never crash or overrun, and every
// entry it accepts is an 11-character identifier of a known model that reads back the same.
#include <cstdint>
#include <cstdlib>

#include "radio/RfLoggerListFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const TRfLoggerArray list = RfLoggerListFile::Parse(bytes);
  for (const TRfLogger& logger : list) {
    if (logger.LoggerId.size() != 11 || RfLoggerListFile::AcceptedLine(logger.LoggerId) != logger.LoggerId) std::abort();
    const int model = LoggerModelCode(logger.LoggerId);
    if (model < 121 || model > 124) std::abort();
  }
  const QByteArray written = RfLoggerListFile::Serialize(list);
  const TRfLoggerArray again = RfLoggerListFile::Parse(std::string_view(written.constData(), written.size()));
  if (again.size() != list.size()) std::abort();
  for (size_t i = 0; i < list.size(); ++i)
    if (again[i].LoggerId != list[i].LoggerId) std::abort();
  return 0;
}
