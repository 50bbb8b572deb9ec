// brenvik-cli as a black box: the program is run with arguments, standard
// input and files, and its exit status, output and files are checked.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

const std::string kProgram = std::string(BRENVIK_BIN_DIR) + "/brenvik-cli";

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

bool Exists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

struct Result {
  int status = -1;
  std::string out;
  std::string err;
};

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = ::testing::TempDir() + "brenvik-cli-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    const std::string command = "rm -rf '" + dir_ + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);
  }

  std::string Path(const std::string& name) const { return dir_ + "/" + name; }

  // Runs the program with standard input from `input` and collects its
  // output through files (no pipe can fill up and block).
  // With stdinFrom, standard input is that file instead (for example /dev/zero).
  Result Run(const std::vector<std::string>& args, const std::string& input = "",
             const std::string& stdinFrom = "") {
    const std::string out = Path(".stdout"), err = Path(".stderr");
    std::string in = stdinFrom;
    if (in.empty()) {
      in = Path(".stdin");
      WriteAll(in, input);
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(kProgram.c_str()));
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    Result result;
    const int spawned = posix_spawn(&pid, kProgram.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
      ADD_FAILURE() << "cannot run " << kProgram;
      return result;
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.out = ReadAll(out);
    result.err = ReadAll(err);
    return result;
  }

  std::string dir_;
};

TEST_F(CliTest, TestTextOfTheWorkedExamples) {
  struct Case {
    std::string input;
    std::string expected;
  };
  const Case cases[] = {
      {"This is a test. The cat sat on the mat.", "This is a test. The c__ sat o_ the m__."},
      {"Hi! How are you?", "Hi! How a__ you?"},
      {"She said 'Go.' Then she left.", "She said 'Go.' Th__ she le__."},
      {"One. Two three four", "One. Two th___ four"},
      {"Wait... what now.", "Wait... wh__ now."},
      {"It costs 3.50 euros. Pay now.", "It costs 3.50 eu___. Pay n__."},
      {"Hello world.", "Hello world."},
      {"A b. a \t b", "A b. a  b"},
      {"", ""},
      // Every line end is read as CR LF and written as such.
      {"One.\nTwo three\rfour five\r\n", "One.\r\nTwo th___\r\nfour fi__\r\n"},
      // UTF-8 input counts characters, not bytes.
      {"Tak. Zażółć gęślą jaźń teraz", "Tak. Zażółć gę___ jaźń te___"},
      // Not UTF-8: one Windows-1252 character per byte.
      {"Oui. Tr\xE8s bien mang\xE9 ici", "Oui. Tr\xC3\xA8s bi__ mang\xC3\xA9 i__"},
      // A UTF-8 byte-order mark is dropped.
      {"\xEF\xBB\xBFHi! How are you?", "Hi! How a__ you?"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input);
    const Result r = Run({"test"}, c.input);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, c.expected);
    EXPECT_EQ(r.err, "");
  }
}

TEST_F(CliTest, InputFromPathDashOrStandardInput) {
  const std::string text = "First one. Second sentence has several words.\r\nMore here";
  WriteAll(Path("in.txt"), text);
  const Result fromPath = Run({"test", Path("in.txt")});
  const Result fromDash = Run({"test", "-"}, text);
  const Result fromStdin = Run({"test"}, text);
  const Result afterDashes = Run({"test", "--", Path("in.txt")});
  const Result toDash = Run({"test", "-o", "-"}, text);
  ASSERT_EQ(fromPath.status, 0) << fromPath.err;
  EXPECT_EQ(fromPath.out, "First one. Second sent____ has sev____ words.\r\nMo__ here");
  EXPECT_EQ(fromDash.out, fromPath.out);
  EXPECT_EQ(fromStdin.out, fromPath.out);
  EXPECT_EQ(afterDashes.out, fromPath.out);
  EXPECT_EQ(toDash.out, fromPath.out);
  EXPECT_FALSE(Exists("-"));
}

// Letters stored with their accents apart are read composed, from a file
// and from standard input: the answer is what a pupil types.
TEST_F(CliTest, DecomposedLettersAreReadComposed) {
  const std::string text = "Un. Le cafe\xCC\x81 cre\xCC\x80me.";
  WriteAll(Path("nfd.txt"), text);
  for (const Result& r : {Run({"test"}, text), Run({"test", Path("nfd.txt")})}) {
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Un. Le ca__ cr\xC3\xA8me.");
  }
}

TEST_F(CliTest, OutputFileIsWrittenAsSaveOutputWrites) {
  struct Case {
    std::string input;
    std::string fileBytes;
  };
  const Case cases[] = {
      // Every character has a Windows-1252 byte: one byte each.
      {"Oui. Tr\xC3\xA8s bien mang\xC3\xA9 ici\n", "Oui. Tr\xE8s bi__ mang\xE9 i__\r\n"},
      // Otherwise UTF-8 without byte-order mark.
      {"Tak. Zażółć gęślą", "Tak. Zażółć gę___"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input);
    const Result r = Run({"test", "-o", Path("out.txt")}, c.input);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(ReadAll(Path("out.txt")), c.fileBytes);
  }
  // The long form and an existing file, which is replaced.
  const Result r = Run({"test", "--output=" + Path("out.txt")}, "A. b c");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ReadAll(Path("out.txt")), "A. b c");
}

TEST_F(CliTest, WorkspaceAsJson) {
  const Result r = Run({"workspace"}, "This is a test. The cat sat on the mat.");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "{\n"
            "  \"FirstSentence\": \"This is a test. \",\n"
            "  \"RestText\": \"The cat sat on the mat.\",\n"
            "  \"WordList\": [\"The\", \"cat\", \"sat\", \"on\", \"the\", \"mat\", \"\"],\n"
            "  \"Separators\": [\" \", \" \", \" \", \" \", \" \", \".\"],\n"
            "  \"LeftHalves\": [\"The\", \"c\", \"sat\", \"o\", \"the\", \"m\"],\n"
            "  \"RightHalves\": [\"\", \"at\", \"\", \"n\", \"\", \"at\"],\n"
            "  \"PageLeftHalves\": [\"The\", \"c\", \"sat\", \"o\", \"the\", \"m\"],\n"
            "  \"PageSeparators\": [\" \", \" \", \" \", \" \", \" \", \".\"],\n"
            "  \"PageRightHalves\": [\"\", \"at\", \"\", \"n\", \"\", \"at\"],\n"
            "  \"PageAnswers\": [\"at\", \"n\", \"at\"]\n"
            "}\n");

  const Result empty = Run({"workspace", "-"}, "");
  ASSERT_EQ(empty.status, 0) << empty.err;
  EXPECT_NE(empty.out.find("\"WordList\": [\"\"],"), std::string::npos) << empty.out;
  EXPECT_NE(empty.out.find("\"PageAnswers\": []\n"), std::string::npos) << empty.out;
}

TEST_F(CliTest, WorkspaceJsonEscapes) {
  const Result r = Run({"workspace"}, "Say \"hi\" \\ now.\nx a\tb \x01word \xC5\xBC\xC3\xB3\xC5\x82w");
  ASSERT_EQ(r.status, 0) << r.err;
  for (const char* expected : {
           "\"FirstSentence\": \"Say \\\"hi\\\" \\\\ now.\\r\\n\",",
           "\"RestText\": \"x a\\u0009b \\u0001word \xC5\xBC\xC3\xB3\xC5\x82w\",",
           "\"WordList\": [\"x\", \"a\\u0009b\", \"word\", \"\xC5\xBC\xC3\xB3\xC5\x82w\"],",
           "\"PageAnswers\": [\"\\u0009b\", \"\xC5\x82w\"]",
       }) {
    EXPECT_NE(r.out.find(expected), std::string::npos) << expected << "\nin\n" << r.out;
  }
}

TEST_F(CliTest, UsageErrors) {
  const std::vector<std::string> cases[] = {
      {},
      {"frobnicate"},
      {"test", "a.ctest", "b.txt"},
      {"test", "-o"},
      {"test", "-o", ""},
      {"test", "-o", "x", "-o", "y"},
      {"test", "--bogus"},
      {"workspace", "-o", "x"},
      {"workspace", "-", "b"},
  };
  for (const std::vector<std::string>& args : cases) {
    std::string joined;
    for (const std::string& a : args) joined += a + " ";
    SCOPED_TRACE(joined);
    const Result r = Run(args, "Some text. Here it is.");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("Usage:"), std::string::npos) << r.err;
  }
  EXPECT_FALSE(Exists(Path("x")));
}

TEST_F(CliTest, HelpAndVersion) {
  const Result help = Run({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("brenvik-cli test [INPUT...] [--gap-limit N] [--keep-last-sentence] [--ignore-case] "
                          "[--lang TAG] [--title T] [--save TEST.ctest] [-o FILE]\n"),
            std::string::npos)
      << help.out;
  EXPECT_NE(help.out.find("brenvik-cli workspace [INPUT...] [--gap-limit N] [--keep-last-sentence] "
                          "[--ignore-case] [--lang TAG] [--title T]\n"),
            std::string::npos)
      << help.out;
  EXPECT_NE(help.out.find("brenvik-cli export "), std::string::npos) << help.out;

  const Result version = Run({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "brenvik-cli 1.2\n");

  for (const char* command : {"test", "workspace"}) {
    const Result r = Run({command, "--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind(std::string("Usage: brenvik-cli ") + command, 0), 0u) << r.out;
  }
}

TEST_F(CliTest, FileErrorsExitWithTheMessageAndWriteNothing) {
  const std::string missing = Path("missing.txt");
  for (const char* command : {"test", "workspace"}) {
    const Result r = Run({command, missing});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "Impossible d'ouvrir le fichier " + missing + "\n");
  }
  // A folder is not a text file.
  const Result folder = Run({"test", dir_});
  EXPECT_EQ(folder.status, 1);
  EXPECT_EQ(folder.err, "Impossible d'ouvrir le fichier " + dir_ + "\n");

  // A missing input leaves the output file unwritten.
  const Result noInput = Run({"test", missing, "-o", Path("out.txt")});
  EXPECT_EQ(noInput.status, 1);
  EXPECT_FALSE(Exists(Path("out.txt")));

  // An output in a missing folder.
  const std::string unreachable = Path("no/such/folder/out.txt");
  const Result noFolder = Run({"test", "-o", unreachable}, "A. b c");
  EXPECT_EQ(noFolder.status, 1);
  EXPECT_EQ(noFolder.err, "Impossible de cr\xC3\xA9" "er le fichier " + unreachable + "\n");
  EXPECT_EQ(noFolder.out, "");
}

TEST_F(CliTest, EndlessInputIsRefusedInsteadOfExhaustingMemory) {
  const std::string message = "Le texte d\xC3\xA9passe la capacit\xC3\xA9 du m\xC3\xA9mo\n";
  for (const auto& [args, stdinFrom] : std::vector<std::pair<std::vector<std::string>, std::string>>{
           {{"test", "/dev/zero"}, ""},
           {{"test"}, "/dev/zero"},
           {{"export", "-", "-o", Path("page.htm")}, "/dev/zero"},
       }) {
    const Result r = Run(args, "", stdinFrom);
    EXPECT_EQ(r.status, 1) << args.front();
    EXPECT_EQ(r.err, message) << args.front();
  }
  EXPECT_FALSE(std::ifstream(Path("page.htm")).good());
}

// A reader that stops early (`brenvik-cli test big.txt | head -c 16`) ends the
// program through SIGPIPE with nothing on standard error and no core, also
// when the parent ignores or blocks SIGPIPE (both are inherited across exec).
// The output is far larger than a pipe holds, so the program is always still
// writing when the read end closes.
TEST_F(CliTest, ClosedOutputPipeEndsQuietly) {
  std::string big;
  while (big.size() < (1u << 20)) big += "This is a test. The cat sat on the mat.\n";
  WriteAll(Path("big.txt"), big);
  enum class Parent { Default, Ignores, Blocks };
  for (const char* command : {"test", "workspace"}) {
    for (const Parent parent : {Parent::Default, Parent::Ignores, Parent::Blocks}) {
      SCOPED_TRACE(std::string(command) + " parent " + std::to_string(static_cast<int>(parent)));
      int fds[2];
      ASSERT_EQ(::pipe2(fds, O_CLOEXEC), 0);
      const std::string err = Path(".stderr");
      posix_spawn_file_actions_t actions;
      posix_spawn_file_actions_init(&actions);
      posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
      posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
      posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      posix_spawnattr_t attr;
      posix_spawnattr_init(&attr);
      sigset_t mask;
      sigemptyset(&mask);
      if (parent == Parent::Blocks) sigaddset(&mask, SIGPIPE);
      posix_spawnattr_setsigmask(&attr, &mask);
      posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK);
      struct sigaction ignore {}, old {};
      ignore.sa_handler = parent == Parent::Ignores ? SIG_IGN : SIG_DFL;
      ::sigaction(SIGPIPE, &ignore, &old);
      const std::string input = Path("big.txt");
      char* argv[] = {const_cast<char*>(kProgram.c_str()), const_cast<char*>(command),
                      const_cast<char*>(input.c_str()), nullptr};
      pid_t pid = 0;
      const int spawned = posix_spawn(&pid, kProgram.c_str(), &actions, &attr, argv, environ);
      ::sigaction(SIGPIPE, &old, nullptr);
      posix_spawn_file_actions_destroy(&actions);
      posix_spawnattr_destroy(&attr);
      ::close(fds[1]);
      ASSERT_EQ(spawned, 0);
      char head[16];
      EXPECT_EQ(::read(fds[0], head, sizeof head), static_cast<ssize_t>(sizeof head));
      ::close(fds[0]);
      int status = 0;
      ASSERT_EQ(::waitpid(pid, &status, 0), pid);
      EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGPIPE)
          << (WIFEXITED(status) ? "exit " + std::to_string(WEXITSTATUS(status))
                                : "signal " + std::to_string(WTERMSIG(status)));
      EXPECT_FALSE(WCOREDUMP(status));
      EXPECT_EQ(ReadAll(err), "");
    }
  }
}

}  // namespace
