#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

#include "cli/CliCommand.h"

namespace {
int usage() {
  std::fprintf(stderr, "usage: tundrabase-cli COMMAND [ARGS]\ncommands:\n");
  for (const auto& [name, command] : CliCommand::all()) std::fprintf(stderr, "  %s\n", command->usage.c_str());
  return 2;
}
}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("tundrabase-cli"));
  QStringList args = QCoreApplication::arguments();
  args.removeFirst();
  if (args.isEmpty()) return usage();
  const auto& commands = CliCommand::all();
  const auto it = commands.find(args.first().toStdString());
  if (it == commands.end()) return usage();
  args.removeFirst();
  return it->second->run(args);
}
