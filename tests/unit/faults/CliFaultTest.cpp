// brenvik-cli test -o and export -o, and the reading of INPUT, when the file
// system fails: each failure gives the program's error text and exit status
// 1, leaves an existing file whole and no temporary file behind, and the
// next run, without the fault, works.
//
// Faults come from FaultShim (preloaded), from the real file system (a
// folder as target, a missing folder, an immutable file), and from a small
// tmpfs mounted in a private mount namespace (a full disk, a read-only
// mount) where the machine allows one.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "../../faults/CliRun.h"
#include "core/page/ClassicPage.h"
#include "core/text/CodePage.h"
#include "core/ctest/TestGen.h"

namespace brenvik::test {
namespace {

const std::string kOld = "OLD CONTENT\r\n";

// A text of some 6 KB with answers, so that a page or test text is larger
// than the room a full disk leaves.
std::string InputText() {
  std::string text = "Teachers write. ";
  for (int i = 0; i < 200; ++i) text += "The cat sat on the mat. ";
  return text;
}

std::map<std::string, std::string> ShimEnv(const std::string& fault) {
  const char* asan = std::getenv("ASAN_OPTIONS");
  return {{"LD_PRELOAD", BRENVIK_FAULT_SHIM},
          {"BRENVIK_FAULT", fault},
          // The sanitize build wants its runtime first; the shim comes first here.
          {"ASAN_OPTIONS", std::string(asan ? asan : "") + ":verify_asan_link_order=0"}};
}

std::string ExpectedBytes(const std::string& command) {
  TestWorkspace w;
  const Text test = GenerateTest(DecodeTextFile(InputText()), w);
  return command == "test" ? EncodeTextFile(test) : BuildTestPageBytes(w, ExportSettings{});
}

struct WriteFault {
  const char* name;
  // Prepares the folder; returns the target path and the shim's fault ("" none).
  std::function<std::pair<std::string, std::string>(const TempFolder&)> setup;
  bool retryWorks;  // the same target works once the fault is gone
};

std::vector<WriteFault> WriteFaults() {
  auto existing = [](const TempFolder& d) {
    WriteFile(d / "old.out", kOld);
    return d / "old.out";
  };
  return {
      {"ReadOnlyFolder", [existing](const TempFolder& d) { return std::pair{existing(d), "erofs:" + d.path()}; }, true},
      {"ReadOnlyFolderNewFile", [](const TempFolder& d) { return std::pair{d / "new.out", "erofs:" + d.path()}; },
       true},
      {"DiskFull", [existing](const TempFolder& d) { return std::pair{existing(d), "enospc:1000:" + d.path()}; },
       true},
      {"DiskFullAtOnce", [](const TempFolder& d) { return std::pair{d / "new.out", "enospc:0:" + d.path()}; }, true},
      {"LockedFile",
       [existing](const TempFolder& d) {
         const std::string target = existing(d);
         return std::pair{target, "locked:" + target};
       },
       true},
      {"SyncFails", [existing](const TempFolder& d) { return std::pair{existing(d), "eio-sync:" + d.path()}; }, true},
      {"RenameFails", [existing](const TempFolder& d) { return std::pair{existing(d), "rename:" + d.path()}; }, true},
      {"TargetIsFolder",
       [](const TempFolder& d) {
         ::mkdir((d / "folder").c_str(), 0755);
         WriteFile(d / "folder/keep", kOld);
         return std::pair{d / "folder", std::string()};
       },
       false},
      {"MissingFolder", [](const TempFolder& d) { return std::pair{d / "missing/new.out", std::string()}; }, false},
      {"PathThroughFile",
       [](const TempFolder& d) {
         WriteFile(d / "plain", kOld);
         return std::pair{d / "plain/new.out", std::string()};
       },
       false},
  };
}

using WriteParam = std::tuple<WriteFault, const char*>;
class CliWriteFault : public testing::TestWithParam<WriteParam> {};

TEST_P(CliWriteFault, ReportsKeepsOldFileAndGoesOn) {
  const auto& [fault, command] = GetParam();
  TempFolder input;
  TempFolder dir;
  TempFolder scratch;
  WriteFile(input / "in.txt", InputText());
  const auto [target, spec] = fault.setup(dir);
  struct stat st {};
  const bool existed = ::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode);
  const std::string before = existed ? ReadFile(target) : "";
  const std::vector<std::string> namesBefore = dir.Names();

  const std::vector<std::string> args = {command, input / "in.txt", "-o", target};
  const CliResult r = RunCli(args, scratch.path(), "", spec.empty() ? std::map<std::string, std::string>{} : ShimEnv(spec));
  EXPECT_FALSE(r.timedOut);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "Impossible de créer le fichier " + target + "\n");
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(dir.Names(), namesBefore) << "a file was left behind or removed";
  if (existed) {
    EXPECT_EQ(ReadFile(target), before) << "the old file was changed";
  }

  if (fault.retryWorks) {
    const CliResult again = RunCli(args, scratch.path());
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_TRUE(ReadFile(target) == ExpectedBytes(command));
  }
}

INSTANTIATE_TEST_SUITE_P(Faults, CliWriteFault, testing::Combine(testing::ValuesIn(WriteFaults()),
                                                                  testing::Values("test", "export")),
                         [](const testing::TestParamInfo<WriteParam>& p) {
                           return std::string(std::get<0>(p.param).name) + "_" + std::get<1>(p.param);
                         });

struct ReadFault {
  const char* name;
  std::function<std::pair<std::string, std::string>(const TempFolder&)> setup;  // input path, fault
};

std::vector<ReadFault> ReadFaults() {
  return {
      {"MissingInput", [](const TempFolder& d) { return std::pair{d / "gone.txt", std::string()}; }},
      {"InputIsFolder",
       [](const TempFolder& d) {
         ::mkdir((d / "folder").c_str(), 0755);
         return std::pair{d / "folder", std::string()};
       }},
      {"UnreadableInput",
       [](const TempFolder& d) {
         WriteFile(d / "in.txt", InputText());
         return std::pair{d / "in.txt", "unreadable:" + d / "in.txt"};
       }},
      {"ReadError",
       [](const TempFolder& d) {
         WriteFile(d / "in.txt", InputText());
         return std::pair{d / "in.txt", "eio-read:" + d / "in.txt"};
       }},
  };
}

using ReadParam = std::tuple<ReadFault, const char*>;
class CliReadFault : public testing::TestWithParam<ReadParam> {};

TEST_P(CliReadFault, ReportsAndWritesNothing) {
  const auto& [fault, command] = GetParam();
  TempFolder dir;
  TempFolder scratch;
  const auto [input, spec] = fault.setup(dir);
  const std::string target = dir / "out.file";
  const CliResult r = RunCli({command, input, "-o", target}, scratch.path(), "",
                             spec.empty() ? std::map<std::string, std::string>{} : ShimEnv(spec));
  EXPECT_FALSE(r.timedOut);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "Impossible d'ouvrir le fichier " + input + "\n");
  EXPECT_FALSE(PathExists(target));
}

INSTANTIATE_TEST_SUITE_P(Faults, CliReadFault, testing::Combine(testing::ValuesIn(ReadFaults()),
                                                                 testing::Values("test", "export")),
                         [](const testing::TestParamInfo<ReadParam>& p) {
                           return std::string(std::get<0>(p.param).name) + "_" + std::get<1>(p.param);
                         });

// An immutable file (chattr +i) refuses even root.
TEST(CliRealFault, ImmutableFileStaysWhole) {
  TempFolder input;
  TempFolder dir;
  TempFolder scratch;
  WriteFile(input / "in.txt", InputText());
  const std::string target = dir / "locked.out";
  WriteFile(target, kOld);
  if (std::system(("chattr +i '" + target + "' 2>/dev/null").c_str()) != 0) {
    GTEST_SKIP() << "this file system has no immutable files";
  }
  for (const char* command : {"test", "export"}) {
    const CliResult r = RunCli({command, input / "in.txt", "-o", target}, scratch.path());
    EXPECT_EQ(r.status, 1) << command;
    EXPECT_EQ(r.err, "Impossible de créer le fichier " + target + "\n");
    EXPECT_EQ(ReadFile(target), kOld);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"locked.out"});
  }
  ASSERT_EQ(std::system(("chattr -i '" + target + "'").c_str()), 0);
  const CliResult again = RunCli({"test", input / "in.txt", "-o", target}, scratch.path());
  EXPECT_EQ(again.status, 0) << again.err;
  EXPECT_TRUE(ReadFile(target) == ExpectedBytes("test"));
}

// A real tmpfs in a private mount namespace: filled up, or remounted
// read-only, with an old file on it. The script prints what it saw.
class CliTmpfsFault : public testing::TestWithParam<const char*> {};

TEST_P(CliTmpfsFault, ReportsAndKeepsOldFile) {
  TempFolder input;
  TempFolder dir;
  TempFolder scratch;
  WriteFile(input / "in.txt", InputText());
  if (RunProgram("unshare", {"-rm", "true"}, scratch.path()).status != 0) {
    GTEST_SKIP() << "no private mount namespace here";
  }
  const std::string kind = GetParam();
  const std::string fault = kind == "full" ? "dd if=/dev/zero of=\"$0/filler\" bs=4k 2>/dev/null;"
                                           : "mount -o remount,ro \"$0\" || exit 9;";
  const std::string undo = kind == "full" ? "rm -f \"$0/filler\";" : "mount -o remount,rw \"$0\";";
  const std::string script =
      "mount -t tmpfs -o size=64k tmpfs \"$0\" || exit 9; printf 'OLD' > \"$0/old.out\"; " + fault +
      "for c in test export; do \"$1\" $c \"$2\" -o \"$0/old.out\" 2>\"$3.err\"; echo \"$c=$?\"; "
      "cat \"$3.err\"; done; echo \"old=$(cat \"$0/old.out\")\"; ls -A \"$0\" | grep -v filler | tr '\\n' ' '; "
      "echo; " + undo + "\"$1\" test \"$2\" -o \"$0/old.out\"; echo \"retry=$?\"; cmp -s \"$0/old.out\" \"$3\" && echo same";
  WriteFile(scratch / "expected", ExpectedBytes("test"));
  const CliResult r = RunProgram(
      "unshare", {"-rm", "sh", "-c", script, dir.path(), kCliProgram, input / "in.txt", scratch / "expected"},
      scratch.path());
  ASSERT_EQ(r.status, 0) << r.out << r.err;
  const std::string error = "Impossible de créer le fichier " + dir.path() + "/old.out\n";
  EXPECT_EQ(r.out, "test=1\n" + error + "export=1\n" + error + "old=OLD\nold.out \nretry=0\nsame\n");
}

INSTANTIATE_TEST_SUITE_P(Faults, CliTmpfsFault, testing::Values("full", "readonly"));

// Many texts into --out-dir, flushed to disk together: under each fault
// every text is named with its file, the old files stay whole, no temporary
// file stays behind, and the same run without the fault writes them all.
class CliBatchFault : public testing::TestWithParam<const char*> {};

TEST_P(CliBatchFault, ReportsEveryTextKeepsOldFilesAndGoesOn) {
  TempFolder input;
  TempFolder dir;
  TempFolder scratch;
  WriteFile(input / "a.txt", InputText());
  WriteFile(input / "b.txt", InputText());
  WriteFile(dir / "a.htm", kOld);
  const std::string kind = GetParam();
  const std::string spec = kind == "enospc" ? "enospc:1000:" + dir.path() : kind + ":" + dir.path();
  const std::vector<std::string> args = {"export", input / "a.txt", input / "b.txt", "--out-dir", dir.path()};
  const CliResult r = RunCli(args, scratch.path(), "", ShimEnv(spec));
  EXPECT_FALSE(r.timedOut);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, input / "a.txt" + ": Impossible de créer le fichier " + dir / "a.htm" + "\n" + input / "b.txt" +
                       ": Impossible de créer le fichier " + dir / "b.htm" + "\n");
  EXPECT_EQ(ReadFile(dir / "a.htm"), kOld);
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"a.htm"});

  const CliResult again = RunCli(args, scratch.path());
  EXPECT_EQ(again.status, 0) << again.err;
  EXPECT_TRUE(ReadFile(dir / "a.htm") == ExpectedBytes("export"));
  EXPECT_TRUE(ReadFile(dir / "b.htm") == ExpectedBytes("export"));
  EXPECT_EQ(dir.Names(), (std::vector<std::string>{"a.htm", "b.htm"}));
}

INSTANTIATE_TEST_SUITE_P(Faults, CliBatchFault, testing::Values("eio-sync", "rename", "erofs", "enospc"));

}  // namespace
}  // namespace brenvik::test
