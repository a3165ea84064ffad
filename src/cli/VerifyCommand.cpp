#include <cstdio>

#include "cli/CliCommand.h"
#include "cli/CliDataFile.h"

namespace {

int runVerify(const QStringList& args) {
  if (args.size() != 1 || args[0].startsWith(QStringLiteral("--"))) {
    std::fprintf(stderr, "usage: tundrabase-cli verify FILE.tmd\n");
    return 2;
  }
  DataFileContent content;
  if (!CliReadDataFile(args[0], content)) return 1;
  QStringList problems;
  if (!content.endReached) problems << QStringLiteral("not readable to its end (line %1)").arg(content.errorLine);
  if (content.damagedCount > 0) problems << QStringLiteral("%1 damaged lines").arg(content.damagedCount);
  if (!content.signatureOk) problems << QStringLiteral("signature broken");
  if (problems.isEmpty()) {
    std::printf("ok: read to the end, no damaged line, signature good\n");
    return 0;
  }
  std::printf("failed: %s\n", problems.join(QStringLiteral(", ")).toUtf8().constData());
  return 1;
}

const CliCommand kVerify("verify", "verify FILE.tmd", runVerify);

}  // namespace
