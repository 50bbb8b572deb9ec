#pragma once
// Runs brenvik-cli as a child process with given arguments, standard input
// and extra environment, collecting its exit status and output through files
// (no pipe can fill up), with a limit on the processor time the child uses
// so that an endless loop fails the test. Processor time, unlike time on the
// clock, does not grow when the machine is busy with other work.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

extern char** environ;

namespace brenvik::test {

inline const std::string kCliProgram = std::string(BRENVIK_BIN_DIR) + "/brenvik-cli";

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

inline bool PathExists(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

// A fresh folder under the test's temporary folder, removed at the end.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern = ::testing::TempDir() + "brenvik-rel-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "mkdtemp failed";
    path_ = pattern;
  }
  ~TempFolder() {
    const std::string command = "chattr -R -i '" + path_ + "' 2>/dev/null; rm -rf '" + path_ + "'";
    [[maybe_unused]] const int ignored = std::system(command.c_str());
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

  // The names in the folder, sorted (to see that nothing was left behind).
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    const std::string command = "ls -A '" + path_ + "' > '" + path_ + ".ls' 2>/dev/null";
    if (std::system(command.c_str()) != 0) return names;
    std::ifstream in(path_ + ".ls");
    for (std::string line; std::getline(in, line);) names.push_back(line);
    ::unlink((path_ + ".ls").c_str());
    return names;
  }

 private:
  std::string path_;
};

struct CliResult {
  int status = -1;  // exit status; -1 when killed or not run
  bool timedOut = false;  // stopped for using up its processor time
  std::string out;
  std::string err;
};

// Runs program with args; env entries are added to (or replace) the
// environment. Output goes through files in scratch.
inline CliResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                            const std::string& scratch, const std::string& input = "",
                            const std::map<std::string, std::string>& env = {}, int cpuSeconds = 120) {
  const std::string in = scratch + "/.stdin", out = scratch + "/.stdout", err = scratch + "/.stderr";
  WriteFile(in, input);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);

  std::map<std::string, std::string> vars;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry = *e;
    const std::size_t eq = entry.find('=');
    if (eq != std::string::npos) vars[entry.substr(0, eq)] = entry.substr(eq + 1);
  }
  for (const auto& [k, v] : env) vars[k] = v;
  std::vector<std::string> envStrings;
  for (const auto& [k, v] : vars) envStrings.push_back(k + "=" + v);
  std::vector<char*> envp;
  for (std::string& s : envStrings) envp.push_back(s.data());
  envp.push_back(nullptr);

  std::vector<std::string> argStrings{program};
  argStrings.insert(argStrings.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& a : argStrings) argv.push_back(a.data());
  argv.push_back(nullptr);

  CliResult result;
  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) {
    ADD_FAILURE() << "cannot run " << program;
    return result;
  }
  // SIGXCPU at the soft limit, SIGKILL a second later; no core file. (Set
  // right after the start: what the child used before counts all the same.)
  const rlimit cpu{static_cast<rlim_t>(cpuSeconds), static_cast<rlim_t>(cpuSeconds) + 1};
  const rlimit noCore{0, 0};
  ::prlimit(pid, RLIMIT_CPU, &cpu, nullptr);
  ::prlimit(pid, RLIMIT_CORE, &noCore, nullptr);
  int wstatus = 0;
  ::waitpid(pid, &wstatus, 0);
  result.timedOut = WIFSIGNALED(wstatus) && (WTERMSIG(wstatus) == SIGXCPU || WTERMSIG(wstatus) == SIGKILL);
  if (WIFEXITED(wstatus)) result.status = WEXITSTATUS(wstatus);
  result.out = ReadFile(out);
  result.err = ReadFile(err);
  ::unlink(in.c_str());
  ::unlink(out.c_str());
  ::unlink(err.c_str());
  return result;
}

inline CliResult RunCli(const std::vector<std::string>& args, const std::string& scratch,
                        const std::string& input = "", const std::map<std::string, std::string>& env = {}) {
  return RunProgram(kCliProgram, args, scratch, input, env);
}

}  // namespace brenvik::test
