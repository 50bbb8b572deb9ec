// brenvik-cli: makes C-tests and their pages without a window. The first
// argument names a command; the commands register themselves (Commands.h).

#include <signal.h>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "core/Version.h"
#include "export/ExportFormats.h"

namespace {

using brenvik::cli::Command;

std::vector<Command> CommandsByName() {
  std::vector<Command> commands = brenvik::cli::RegisteredCommands();
  std::sort(commands.begin(), commands.end(), [](const Command& a, const Command& b) {
    return std::string(a.name) < std::string(b.name);
  });
  return commands;
}

void PrintUsage(std::ostream& out) {
  out << "Usage:\n";
  for (const Command& c : CommandsByName()) out << "  brenvik-cli " << c.usage << "\n";
  out << "  brenvik-cli COMMAND --help\n"
         "  brenvik-cli --help\n"
         "  brenvik-cli --version\n"
         "INPUT is a text file, or standard input when it is '-' or absent.\n";
}

// A reader that goes away early (`brenvik-cli test big.txt | head -1`) ends
// the program quietly through SIGPIPE, as it ends other filters: no message,
// no core, and the shell shows nothing for it (status 141 under pipefail).
// The disposition and the signal mask are inherited across exec, and some
// parents ignore or block SIGPIPE; the write would then fail with EPIPE and
// be reported as an error, so both are reset first.
void EndQuietlyWhenTheReaderGoesAway() {
  ::signal(SIGPIPE, SIG_DFL);
  sigset_t pipe;
  ::sigemptyset(&pipe);
  ::sigaddset(&pipe, SIGPIPE);
  ::sigprocmask(SIG_UNBLOCK, &pipe, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
  brenvik::MakeExportsReproducible();
  EndQuietlyWhenTheReaderGoesAway();
  const std::vector<std::string> args(argv + std::min(argc, 1), argv + argc);
  if (args.empty()) {
    std::cerr << "brenvik-cli: no command given\n";
    PrintUsage(std::cerr);
    return 2;
  }
  const std::string& name = args.front();
  if (name == "--help" || name == "-h") {
    PrintUsage(std::cout);
    return 0;
  }
  if (name == "--version") {
    std::cout << "brenvik-cli " << brenvik::kVersion << "\n";
    return 0;
  }
  for (const Command& c : brenvik::cli::RegisteredCommands()) {
    if (name == c.name) {
      const std::vector<std::string> rest(args.begin() + 1, args.end());
      const int status = brenvik::cli::RunCommand(c.name, c.usage, [&] { return c.run(rest); });
      std::cout.flush();
      return status;
    }
  }
  std::cerr << "brenvik-cli: unknown command " << name << "\n";
  PrintUsage(std::cerr);
  return 2;
}
