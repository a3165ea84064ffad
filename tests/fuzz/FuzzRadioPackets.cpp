// Radio answers from the line: packet reassembly, then the header and record decoders on
// whatever the reassembly produced, and the simulated modem's command parser on the raw
// bytes. None may crash, hang or break the measurement set's invariants.
#include <QByteArray>

#include <cstdint>
#include <cstdlib>

#include "app/Clock.h"
#include "radio/RadioBlockDecoder.h"
#include "radio/RadioPacketAssembler.h"
#include "sim/RadioModemEngine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const int count = static_cast<int>(std::min<size_t>(size, 1 << 20));
  // The first byte picks whether log lines are formatted, so both paths are covered.
  int lines = 0;
  RadioPacketAssembler assembler(size > 0 && (data[0] & 1) ? RadioLogSink([&](const QString&) { ++lines; })
                                                           : RadioLogSink());
  assembler.setReload();
  const int taken = assembler.feed(data, count);
  if (taken > count || (taken < count && !assembler.streamInvalid())) std::abort();

  TRfLogger logger;
  logger.LoggerId = QStringLiteral("D123SN00042");
  TMeasurementSet results;
  results.reset(1);
  // Data decoded as a header of the expected logger too, so the checks beyond the echo run.
  for (const QByteArray& block : {assembler.arrData(), logger.LoggerId.toLatin1() + assembler.arrData()}) {
    const int result = HeaderCreator(block, 0, logger, results, 2000);
    if (result != 0 && result != 2 && result != 3 && result != 4) std::abort();
  }
  const int sensors = results.sensorCount(0, 0);
  int32_t records = 0;
  const int recSize = RadioRecordSize(sensors);
  const int good = DataCreator(assembler.arrData(), static_cast<int>(assembler.arrData().size()) / recSize + 1, sensors,
                               0, results, 2000, records);
  if (good != records || good > static_cast<int>(assembler.arrData().size()) / recSize || !results.isConsistent())
    std::abort();

  static ManualClock clock;
  RadioSimConfig config = RadioSimConfig::generated(1, 3, 2, clock.now());
  config.loggers[0].id = logger.LoggerId;
  config.modemSilent = true;  // its identification reply is no packet
  RadioModemEngine engine(config, clock);
  const QByteArray answer = engine.receive(QByteArray(reinterpret_cast<const char*>(data), count));
  RadioPacketAssembler check;
  check.setReload();
  check.feed(reinterpret_cast<const uint8_t*>(answer.constData()), static_cast<int>(answer.size()));
  // Whatever the simulator sends without faults must reassemble cleanly.
  if (check.streamInvalid()) std::abort();
  return 0;
}
