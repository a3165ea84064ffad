#pragma once

#include <QStringList>

#include <functional>
#include <map>
#include <string>

/// A subcommand of tundrabase-cli. Each command lives in its own file and registers itself
/// with a static CliCommand object, so adding one touches no other file.
/// run() gets the arguments after the command name and returns the exit code: 0 success,
/// 1 failed operation (message on stderr), 2 usage error.
class CliCommand {
 public:
  using Runner = std::function<int(const QStringList& args)>;
  CliCommand(std::string name, std::string usage, Runner run);

  static const std::map<std::string, const CliCommand*>& all();

  const std::string name;
  const std::string usage;
  const Runner run;
};
