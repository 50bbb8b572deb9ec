#include "cli/CliSupport.h"

#include <cstdio>
#include <iostream>
#include <new>

#include "core/text/CodePage.h"
#include "core/text/Errors.h"
#include "core/text/TextFile.h"
#include "core/text/Unicode.h"

namespace brenvik::cli {

std::optional<std::string> ParsedArgs::value(const std::string& option) const {
  const auto it = values.find(option);
  if (it == values.end()) return std::nullopt;
  return it->second;
}

ParsedArgs ParseArgs(const std::vector<std::string>& args, const std::vector<OptionSpec>& options,
                     std::size_t maxPositionals) {
  ParsedArgs parsed;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string arg = args[i];
    if (optionsEnded || arg == "-" || arg.empty() || arg[0] != '-') {
      if (parsed.positionals.size() == maxPositionals) {
        throw UsageError(maxPositionals == 0 ? "unexpected argument " + arg
                                             : "more than one INPUT");
      }
      parsed.positionals.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (arg == "--help" || arg == "-h") {
      parsed.help = true;
      continue;
    }
    std::optional<std::string> inlineValue;
    if (arg.rfind("--", 0) == 0) {
      const std::size_t eq = arg.find('=');
      if (eq != std::string::npos) {
        inlineValue = arg.substr(eq + 1);
        arg.resize(eq);
      }
    }
    const OptionSpec* spec = nullptr;
    for (const OptionSpec& o : options) {
      for (const std::string& name : o.names) {
        if (name == arg) spec = &o;
      }
    }
    if (spec == nullptr) throw UsageError("unknown option " + arg);
    const std::string& key = spec->names.front();
    if (!spec->takesValue) {
      if (inlineValue) throw UsageError(arg + " takes no value");
      parsed.flags.insert(key);
      continue;
    }
    if (!inlineValue) {
      if (i + 1 >= args.size()) throw UsageError(arg + " needs a value");
      inlineValue = args[++i];
    }
    if (inlineValue->empty()) throw UsageError(arg + " needs a value");
    if (!parsed.values.emplace(key, *inlineValue).second) throw UsageError(arg + " given twice");
  }
  return parsed;
}

Text ReadInput(const std::optional<std::string>& input) {
  if (input && *input != "-") return ReadTextFile(*input, MaxInputBytes);
  std::string bytes;
  char chunk[1 << 16];
  std::size_t n = 0;
  while ((n = std::fread(chunk, 1, sizeof chunk, stdin)) > 0) {
    // An endless pipe (or /dev/zero) must end in an error, not in memory exhaustion.
    if (bytes.size() + n > MaxInputBytes) throw TextTooLargeError();
    bytes.append(chunk, n);
  }
  if (std::ferror(stdin)) throw FileOpenError("-");
  return unicode::ToNfc(DecodeTextFile(bytes));
}

bool WriteStdout(std::string_view bytes) {
  std::cout.flush();
  return std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() &&
         std::fflush(stdout) == 0;
}

void WriteOutput(const std::string& output, std::string_view bytes) {
  if (output != "-") {
    WriteFileBytes(output, bytes);
  } else if (!WriteStdout(bytes)) {
    throw BrenvikError("brenvik-cli: cannot write to standard output");
  }
}

int ReportUsageError(const char* command, const char* usage, const std::string& message) {
  std::cerr << "brenvik-cli " << command << ": " << message << "\nUsage: brenvik-cli " << usage
            << "\n";
  return 2;
}

int ReportError() {
  try {
    throw;
  } catch (const BrenvikError& e) {
    std::cerr << e.what() << "\n";
  } catch (const std::bad_alloc&) {
    std::cerr << "brenvik-cli: out of memory\n";
  } catch (const std::exception& e) {
    std::cerr << "brenvik-cli: " << e.what() << "\n";
  } catch (...) {
    std::cerr << "brenvik-cli: unexpected error\n";
  }
  return 1;
}

}  // namespace brenvik::cli
