#include <cstdio>

#include "Version.h"
#include "cli/CliCommand.h"

namespace {
const CliCommand kVersion("version", "version", [](const QStringList&) {
  std::printf("%s\n", TUNDRA_VERSION_TEXT);
  return 0;
});
}  // namespace
