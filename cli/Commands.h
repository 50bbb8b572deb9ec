#pragma once
// brenvik-cli subcommands register themselves here; main() dispatches on the
// first argument. Each command returns the process exit status: 0 success,
// 1 an error (message already on stderr, no file written), 2 a usage error.

#include <string>
#include <vector>

namespace brenvik::cli {

// Errors reach main's one boundary (RunCommand in CliSupport.h).
using CommandFn = int (*)(const std::vector<std::string>& args);

struct Command {
  const char* name;
  const char* usage;    // one usage line, e.g. "test [INPUT] [-o FILE]"
  CommandFn run;        // args exclude the program and command names
};

// Registers a command at static-initialisation time.
struct CommandRegistrar {
  explicit CommandRegistrar(const Command& command);
};

const std::vector<Command>& RegisteredCommands();

}  // namespace brenvik::cli
