#include "core/text/TextFile.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "core/text/Errors.h"

namespace brenvik {
namespace {

namespace fs = std::filesystem;

class TextFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string templ = (fs::temp_directory_path() / "brenvik-textfile-XXXXXX").string();
    ASSERT_NE(::mkdtemp(templ.data()), nullptr);
    dir_ = templ;
  }
  void TearDown() override {
    std::error_code ec;
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(dir_, ec);
  }

  std::string Path(const std::string& name) const { return dir_ + "/" + name; }

  static void Put(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
  }
  static std::string Get(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  // Names in the test folder, to see that no temporary file stayed behind.
  std::set<std::string> Names() const {
    std::set<std::string> names;
    for (const auto& e : fs::recursive_directory_iterator(dir_)) {
      names.insert(e.path().lexically_relative(dir_).string());
    }
    return names;
  }
  static bool Privileged() { return ::geteuid() == 0; }

  std::string dir_;
};

TEST_F(TextFileTest, ReadsEveryByte) {
  std::string bytes;
  for (int i = 0; i < 200000; ++i) bytes.push_back(static_cast<char>(i * 7 % 256));
  Put(Path("data.bin"), bytes);
  EXPECT_EQ(ReadFileBytes(Path("data.bin")), bytes);
  Put(Path("empty.txt"), "");
  EXPECT_EQ(ReadFileBytes(Path("empty.txt")), "");
}

TEST_F(TextFileTest, ReadTextFileDecodesAndNormalises) {
  Put(Path("cp1252.txt"), "Caf\xE9\nna\xEFve\r\x80");
  EXPECT_EQ(ReadTextFile(Path("cp1252.txt")), U"Café\r\nnaïve\r\n€");
  Put(Path("utf8.txt"), "\xEF\xBB\xBF\xC5\x81\xC3\xB3" "d\xC5\xBA\n");
  EXPECT_EQ(ReadTextFile(Path("utf8.txt")), U"Łódź\r\n");
  // Letters stored with their accents apart come in composed (NFC).
  Put(Path("nfd.txt"), "cafe\xCC\x81\nVie\xCC\xA3\xCC\x82t");
  EXPECT_EQ(ReadTextFile(Path("nfd.txt")), U"caf\u00e9\r\nVi\u1ec7t");
}

TEST_F(TextFileTest, FilesThatCannotBeOpened) {
  Put(Path("plain.txt"), "text");
  Put(Path("secret.txt"), "text");
  ::chmod(Path("secret.txt").c_str(), 0);
  fs::create_directory(Path("folder"));
  struct Case {
    std::string path;
    bool needsUnprivileged;
  };
  const std::vector<Case> cases = {
      {Path("missing.txt"), false},
      {Path("folder"), false},
      {Path("plain.txt/x"), false},  // a path through a regular file
      {"", false},
      {Path("secret.txt"), true},  // no read permission
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    if (c.needsUnprivileged && Privileged()) continue;
    try {
      ReadFileBytes(c.path);
      ADD_FAILURE() << "read succeeded";
    } catch (const FileOpenError& e) {
      EXPECT_EQ(std::string(e.what()), "Impossible d'ouvrir le fichier " + c.path);
      EXPECT_EQ(e.path(), c.path);
    }
    EXPECT_THROW(ReadTextFile(c.path), FileOpenError);
  }
}

TEST_F(TextFileTest, SizeLimit) {
  Put(Path("eleven.txt"), "eleven byte");
  EXPECT_EQ(ReadFileBytes(Path("eleven.txt"), 11), "eleven byte");
  EXPECT_THROW(ReadFileBytes(Path("eleven.txt"), 10), TextTooLargeError);
  EXPECT_THROW(ReadTextFile(Path("eleven.txt"), 0), TextTooLargeError);
}

TEST_F(TextFileTest, OversizedFileIsRefusedWithoutReadingIt) {
  // A sparse file of 64 GiB: reading it whole would exhaust memory.
  const std::string path = Path("huge.txt");
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT, 0644);
  ASSERT_GE(fd, 0);
  const bool grown = ::ftruncate(fd, off_t{64} << 30) == 0;
  ::close(fd);
  if (!grown) GTEST_SKIP() << "no sparse files here";
  EXPECT_THROW(ReadFileBytes(path, 1 << 20), TextTooLargeError);
}

TEST_F(TextFileTest, EndlessStreamIsHeldToTheLimit) {
  EXPECT_THROW(ReadFileBytes("/dev/zero", 1 << 20), TextTooLargeError);
}

TEST_F(TextFileTest, WritesNewAndExistingFiles) {
  const std::string path = Path("story.txt");
  WriteFileBytes(path, "first version, rather long\r\n");
  EXPECT_EQ(Get(path), "first version, rather long\r\n");
  WriteFileBytes(path, "short");
  EXPECT_EQ(Get(path), "short");
  WriteFileBytes(path, "");
  EXPECT_TRUE(fs::exists(path));
  EXPECT_EQ(Get(path), "");
  const std::string binary("\0\xFF\r\n\x80", 5);
  WriteFileBytes(path, binary);
  EXPECT_EQ(Get(path), binary);
  EXPECT_EQ(Names(), std::set<std::string>{"story.txt"});
}

TEST_F(TextFileTest, WriteTextFileRoundTrips) {
  const std::vector<Text> texts = {U"", U"Café crème\r\n", U"Łódź\r\nKraków", U"Ã©", U"\r\n"};
  for (const Text& text : texts) {
    SCOPED_TRACE(ToUtf8(text));
    WriteTextFile(Path("t.txt"), text);
    EXPECT_EQ(ReadTextFile(Path("t.txt")), text);
  }
  WriteTextFile(Path("w.txt"), U"Café\r\n");
  EXPECT_EQ(Get(Path("w.txt")), "Caf\xE9\r\n");
}

TEST_F(TextFileTest, PermissionBits) {
  const mode_t mask = ::umask(022);
  WriteFileBytes(Path("new.txt"), "x");
  struct stat st {};
  ASSERT_EQ(::stat(Path("new.txt").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0644u);

  ::umask(027);
  WriteFileBytes(Path("new2.txt"), "x");
  ASSERT_EQ(::stat(Path("new2.txt").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);

  // Replacing a file keeps its bits, whatever the umask.
  for (mode_t mode : {mode_t{0600}, mode_t{0664}, mode_t{0755}}) {
    ASSERT_EQ(::chmod(Path("new.txt").c_str(), mode), 0);
    WriteFileBytes(Path("new.txt"), "again");
    ASSERT_EQ(::stat(Path("new.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, mode);
  }
  ::umask(mask);
}

TEST_F(TextFileTest, SymbolicLinkIsFollowed) {
  Put(Path("real.txt"), "old");
  fs::create_symlink("real.txt", Path("link.txt"));
  WriteFileBytes(Path("link.txt"), "new");
  EXPECT_TRUE(fs::is_symlink(Path("link.txt")));
  EXPECT_EQ(Get(Path("real.txt")), "new");
  EXPECT_EQ(Names(), (std::set<std::string>{"link.txt", "real.txt"}));
}

TEST_F(TextFileTest, PipeIsWrittenInPlace) {
  const std::string path = Path("pipe");
  ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
  const int reader = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  WriteFileBytes(path, "through the pipe");
  char buffer[64] = {};
  const ssize_t n = ::read(reader, buffer, sizeof buffer);
  ::close(reader);
  EXPECT_EQ(std::string(buffer, n > 0 ? static_cast<std::size_t>(n) : 0), "through the pipe");
  EXPECT_TRUE(fs::is_fifo(path));
}

TEST_F(TextFileTest, FilesThatCannotBeCreated) {
  Put(Path("plain.txt"), "text");
  Put(Path("readonly.txt"), "keep me");
  ::chmod(Path("readonly.txt").c_str(), 0444);
  fs::create_directory(Path("folder"));
  fs::create_directory(Path("locked"));
  ::chmod(Path("locked").c_str(), 0555);
  struct Case {
    std::string path;
    bool needsUnprivileged;
  };
  const std::vector<Case> cases = {
      {Path("missing/x.txt"), false},
      {Path("folder"), false},
      {Path("folder/"), false},
      {Path("plain.txt/x.txt"), false},
      {"", false},
      {Path("readonly.txt"), true},
      {Path("locked/x.txt"), true},
  };
  const std::set<std::string> before = Names();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    if (c.needsUnprivileged && Privileged()) continue;
    try {
      WriteFileBytes(c.path, "new text");
      ADD_FAILURE() << "write succeeded";
    } catch (const FileCreateError& e) {
      EXPECT_EQ(std::string(e.what()), "Impossible de cr\xC3\xA9" "er le fichier " + c.path);
      EXPECT_EQ(e.path(), c.path);
    }
    EXPECT_THROW(WriteTextFile(c.path, U"x"), FileCreateError);
  }
  EXPECT_EQ(Names(), before);
  EXPECT_EQ(Get(Path("plain.txt")), "text");
  EXPECT_EQ(Get(Path("readonly.txt")), "keep me");
}

// Makes writes fail part way (file size limit) while the callback runs.
void WithFileSizeLimit(rlim_t limit, const std::function<void()>& body) {
  rlimit old {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit low = old;
  low.rlim_cur = limit;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &low), 0);
  body();
  ::setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);
}

TEST_F(TextFileTest, FailedWriteLeavesTheOldFileWhole) {
  const std::string path = Path("story.txt");
  Put(path, "the old text");
  const std::string big(64 * 1024, 'n');
  WithFileSizeLimit(4096, [&] {
    EXPECT_THROW(WriteFileBytes(path, big), FileCreateError);
    EXPECT_THROW(WriteFileBytes(Path("fresh.txt"), big), FileCreateError);
  });
  EXPECT_EQ(Get(path), "the old text");
  EXPECT_EQ(Names(), std::set<std::string>{"story.txt"});
}

TEST_F(TextFileTest, BatchReplacesEachFileAtTheCommit) {
  Put(Path("old.htm"), "old page");
  ::chmod(Path("old.htm").c_str(), 0640);
  FileBatch batch;
  batch.add(Path("old.htm"), "new page");
  batch.add(Path("new.htm"), "another page");
  EXPECT_EQ(batch.size(), 2u);
  // Nothing replaced before the commit.
  EXPECT_EQ(Get(Path("old.htm")), "old page");
  EXPECT_FALSE(fs::exists(Path("new.htm")));
  EXPECT_TRUE(batch.commit().empty());
  EXPECT_EQ(batch.size(), 0u);
  EXPECT_EQ(Get(Path("old.htm")), "new page");
  EXPECT_EQ(Get(Path("new.htm")), "another page");
  struct stat st {};
  ASSERT_EQ(::stat(Path("old.htm").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(Names(), (std::set<std::string>{"new.htm", "old.htm"}));
}

TEST_F(TextFileTest, BatchNotCommittedLeavesEverythingAsItWas) {
  Put(Path("old.htm"), "old page");
  {
    FileBatch batch;
    batch.add(Path("old.htm"), "new page");
    batch.add(Path("new.htm"), "another page");
  }
  EXPECT_EQ(Get(Path("old.htm")), "old page");
  EXPECT_EQ(Names(), std::set<std::string>{"old.htm"});
}

TEST_F(TextFileTest, BatchReportsEachFileThatCannotBeReplaced) {
  fs::create_directory(Path("folder"));
  fs::create_directory(Path("gone"));
  FileBatch batch;
  // Refused at once: a folder as target, a missing folder.
  EXPECT_THROW(batch.add(Path("folder"), "x"), FileCreateError);
  EXPECT_THROW(batch.add(Path("missing/a.htm"), "x"), FileCreateError);
  batch.add(Path("a.htm"), "page a");
  batch.add(Path("gone/b.htm"), "page b");
  // The folder goes away before the commit: that rename fails, the other
  // file is still written, and no temporary file stays behind.
  const std::string temp = fs::directory_iterator(Path("gone"))->path().string();
  ::unlink(temp.c_str());
  fs::remove(Path("gone"));
  EXPECT_EQ(batch.commit(), std::vector<std::string>{Path("gone/b.htm")});
  EXPECT_EQ(Get(Path("a.htm")), "page a");
  EXPECT_EQ(Names(), (std::set<std::string>{"a.htm", "folder"}));
}

}  // namespace
}  // namespace brenvik
