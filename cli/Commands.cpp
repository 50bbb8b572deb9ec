#include "cli/Commands.h"

namespace brenvik::cli {

namespace {

// Built on first use, so registrars in other files may run in any order.
std::vector<Command>& Registry() {
  static std::vector<Command> commands;
  return commands;
}

}  // namespace

CommandRegistrar::CommandRegistrar(const Command& command) { Registry().push_back(command); }

const std::vector<Command>& RegisteredCommands() { return Registry(); }

}  // namespace brenvik::cli
