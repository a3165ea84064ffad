// Data-file reader on arbitrary bytes: it must end, never read outside the input, and leave
// both sets consistent with the logger list.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "data/DataFileParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const DataFileContent c = DataFileParser(2000).parse(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!c.radioSet.isConsistent() || !c.usbSet.isConsistent()) std::abort();
  if (static_cast<int>(c.radioLoggers.size()) != c.radioSet.loggerCount()) std::abort();
  if (c.usbSet.loggerCount() > 1) std::abort();
  for (const TMeasurementSet* set : {&c.radioSet, &c.usbSet}) {
    for (int i = 0; i < set->loggerCount(); ++i) {
      if (set->tkCount(i) > DataFileParser::MaxStrings) std::abort();
      for (int k = 0; k < set->tkCount(i); ++k)
        if (set->sensorCount(i, k) > DataFileParser::MaxSensors) std::abort();
    }
  }
  if (c.damagedCount < 0 || (c.endReached && c.errorLine != 0)) std::abort();
  return 0;
}
