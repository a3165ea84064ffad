#include "cli/CliCommand.h"

namespace {
std::map<std::string, const CliCommand*>& registry() {
  static std::map<std::string, const CliCommand*> commands;
  return commands;
}
}  // namespace

CliCommand::CliCommand(std::string n, std::string u, Runner r) : name(std::move(n)), usage(std::move(u)), run(std::move(r)) {
  registry()[name] = this;
}

const std::map<std::string, const CliCommand*>& CliCommand::all() { return registry(); }
