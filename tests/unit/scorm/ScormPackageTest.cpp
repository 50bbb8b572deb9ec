// The zip writer, the manifests (checked with xmllint against the schema
// files the package carries) and the page with the adapter.

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "core/page/ResponsivePage.h"
#include "core/scorm/ScormPackage.h"
#include "core/scorm/Zip.h"
#include "core/test/GenerateText.h"
#include "core/test/Json.h"
#include "core/text/Text.h"

namespace brenvik {
namespace {

namespace fs = std::filesystem;

// A scratch folder removed at the end of the test.
struct Scratch {
  fs::path dir;
  Scratch() {
    std::string name = (fs::temp_directory_path() / "brenvik-scorm-XXXXXX").string();
    dir = mkdtemp(name.data());
  }
  ~Scratch() { fs::remove_all(dir); }
  fs::path write(const std::string& name, const std::string& bytes) const {
    std::ofstream(dir / name, std::ios::binary) << bytes;
    return dir / name;
  }
};

// Runs a shell command; its exit status and what it printed.
std::pair<int, std::string> Shell(const std::string& command) {
  std::string out;
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  char buffer[4096];
  while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
  const int status = pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

std::uint32_t Read32(const std::string& s, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(s[at + static_cast<std::size_t>(i)]);
  return v;
}
std::uint16_t Read16(const std::string& s, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(s[at]) | (static_cast<unsigned char>(s[at + 1]) << 8));
}

// Reads an archive back through its central directory, inflating with zlib
// and checking every CRC and the fixed date; name -> bytes in directory order.
std::vector<std::pair<std::string, std::string>> ReadZip(const std::string& zip) {
  std::vector<std::pair<std::string, std::string>> files;
  const std::size_t end = zip.size() - 22;
  EXPECT_EQ(Read32(zip, end), 0x06054b50u);
  const std::uint16_t count = Read16(zip, end + 10);
  std::size_t at = Read32(zip, end + 16);
  for (std::uint16_t i = 0; i < count; ++i) {
    EXPECT_EQ(Read32(zip, at), 0x02014b50u);
    const std::uint16_t method = Read16(zip, at + 10);
    EXPECT_EQ(Read16(zip, at + 12), 0);       // 00:00
    EXPECT_EQ(Read16(zip, at + 14), 0x21);    // 1980-01-01
    const std::uint32_t crc = Read32(zip, at + 16);
    const std::uint32_t packed = Read32(zip, at + 20);
    const std::uint32_t size = Read32(zip, at + 24);
    const std::uint16_t nameLength = Read16(zip, at + 28);
    const std::uint32_t local = Read32(zip, at + 42);
    std::string name = zip.substr(at + 46, nameLength);
    EXPECT_EQ(zip.substr(local + 30, nameLength), name);
    const std::string data = zip.substr(local + 30 + nameLength + Read16(zip, local + 28), packed);
    std::string bytes;
    if (method == 0) {
      bytes = data;
    } else {
      EXPECT_EQ(method, 8);
      bytes.resize(size);
      z_stream z{};
      inflateInit2(&z, -15);
      z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
      z.avail_in = static_cast<uInt>(data.size());
      z.next_out = reinterpret_cast<Bytef*>(bytes.data());
      z.avail_out = static_cast<uInt>(bytes.size());
      EXPECT_EQ(inflate(&z, Z_FINISH), Z_STREAM_END) << name;
      inflateEnd(&z);
    }
    EXPECT_EQ(crc32(0, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size())), crc) << name;
    files.emplace_back(std::move(name), std::move(bytes));
    at += 46 + nameLength;
  }
  return files;
}

TEST(Zip, UnzipAndOurReaderGetEveryFileBackInNameOrder) {
  std::mt19937 random(7);
  std::string noise(70000, '\0');
  for (char& c : noise) c = static_cast<char>(random());
  std::string prose;
  for (int i = 0; i < 2000; ++i) prose += "The first sentence stays whole. ";
  const std::vector<ZipEntry> entries = {
      {"z/last.txt", prose}, {"empty", ""}, {"noise.bin", noise},
      {"\xC3\xA9t\xC3\xA9/\xE6\x96\x87.txt", "UTF-8 name"}, {"a.xml", "<a/>"}};
  const std::string zip = BuildZip(entries);
  std::vector<ZipEntry> reversed(entries.rbegin(), entries.rend());
  EXPECT_EQ(BuildZip(reversed), zip) << "the same files give the same bytes";
  // Packed before or not, each file is written the same, in the same place.
  for (std::size_t split = 0; split <= entries.size(); ++split) {
    std::vector<PackedZipEntry> packed;
    for (std::size_t i = split; i < entries.size(); ++i) packed.push_back(PackZipEntry(entries[i]));
    EXPECT_EQ(BuildZip({entries.begin(), entries.begin() + static_cast<std::ptrdiff_t>(split)}, packed), zip)
        << split << " entries unpacked";
  }

  const auto files = ReadZip(zip);
  ASSERT_EQ(files.size(), entries.size());
  std::map<std::string, std::string> expected;
  for (const ZipEntry& e : entries) expected[e.name] = e.bytes;
  std::size_t i = 0;
  for (const auto& [name, bytes] : expected) {
    EXPECT_EQ(files[i].first, name);
    EXPECT_EQ(files[i].second, bytes) << name;
    ++i;
  }
  EXPECT_LT(zip.size(), prose.size() / 10 + noise.size() + 2000) << "text is deflated, noise stored";

  Scratch scratch;
  const fs::path file = scratch.write("t.zip", zip);
  const auto [status, output] = Shell("unzip -t " + file.string());
  EXPECT_EQ(status, 0) << output;
  EXPECT_NE(output.find("No errors detected"), std::string::npos) << output;
}

TEST(Zip, RefusesNamesThatLeaveTheFolder) {
  const std::vector<std::string> bad = {"", "/etc/passwd", "../x", "a/../../b", "a/..", "./a", "a//b", "a\\b",
                                        "dir/", "C:x", "a\nb", std::string("a\0b", 3)};
  for (const std::string& name : bad) {
    EXPECT_FALSE(ZipNameProblem(name).empty()) << name;
    EXPECT_THROW(BuildZip({{name, "x"}}), ZipError) << name;
  }
  EXPECT_TRUE(ZipNameProblem("a..b/c.d/.e").empty());
  EXPECT_THROW(BuildZip({{"same", "1"}, {"same", "2"}}), ZipError);
  const std::vector<PackedZipEntry> packedSame = {PackZipEntry({"same", "2"})};
  EXPECT_THROW(BuildZip({{"same", "1"}}, packedSame), ZipError);
  PackedZipEntry renamed = PackZipEntry({"fine", "x"});
  renamed.name = "../x";
  EXPECT_THROW(BuildZip({}, std::span<const PackedZipEntry>(&renamed, 1)), ZipError);
}

TEST(Scorm, PassMark) {
  const std::vector<std::pair<std::string, int>> cases = {
      {"0", 0}, {"60", 60}, {" 100 ", 100}, {"75%", 75}, {"007", 7}, {"101", -1}, {"-5", -1},
      {"", -1}, {"60.5", -1}, {"sixty", -1}, {"1000", -1}, {"%", -1}, {"6 0", -1}};
  for (const auto& [text, value] : cases) {
    if (value < 0) {
      EXPECT_THROW(ParsePassMark(text), ScormError) << text;
    } else {
      EXPECT_EQ(ParsePassMark(text), static_cast<unsigned>(value)) << text;
    }
  }
}

// A test of two texts with accepted answers; title and answers full of
// markup and script specials.
GeneratedTest HostileTest(AnswerMatching matching) {
  Test test;
  test.settings.Title = FromUtf8("Quiz <b>&amp;</b> \"5 > 3\" ' ]]> \x01 </script> \xE2\x80\xA8 caf\xC3\xA9");
  TestText first;
  first.title = U"One";
  first.source = U"The first sentence stays whole. Then every second word loses half of its letters.";
  first.edits.push_back({U"every", 1, GapSwitch::Rule, {U"</script><b>", U"{x}", U"a[,]b", U"\"q\"\\"}});
  TestText second;
  second.title = U"Two & <two>";
  second.source = U"Ein Satz bleibt ganz. Dann verliert jedes zweite Wort seine Haelfte.";
  test.texts = {first, second};
  test.language = "de-CH";
  test.matching = matching;
  return GenerateWholeTest(test);
}

// The generated test as the writers read it.
page::PageTest AsPageTest(const GeneratedTest& test) {
  page::PageTest out{{}, test.matching, test.language};
  for (const GeneratedText& text : test.texts) out.Texts.push_back({text.title, &text.workspace, &text.accepted});
  return out;
}

TEST(Scorm, ManifestsPassTheSchemasTheyCarry) {
  struct Case {
    ScormVersion version;
    std::optional<unsigned> passMark;
    std::string root;  // the schema that reaches every namespace of the manifest
  };
  const std::vector<Case> cases = {
      {ScormVersion::Scorm12, std::nullopt, "imscp_rootv1p1p2.xsd"},
      {ScormVersion::Scorm12, 60, "imscp_rootv1p1p2.xsd"},
      {ScormVersion::Scorm2004, std::nullopt, "imscp_v1p1.xsd"},
      {ScormVersion::Scorm2004, 5, "imscp_v1p1.xsd"},
      {ScormVersion::Scorm2004, 100, "imscp_v1p1.xsd"},
  };
  const GeneratedTest test = HostileTest(AnswerMatching::Exact);
  const page::PageTest pageTest = AsPageTest(test);
  const std::string page = BuildResponsiveTestPage(pageTest, test.settings);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.root + (c.passMark ? " pass mark " + std::to_string(*c.passMark) : ""));
    const std::string zip = BuildScormPackage(page, pageTest, test.settings.Title, {c.version, c.passMark});
    Scratch scratch;
    for (const auto& [name, bytes] : ReadZip(zip)) scratch.write(name, bytes);
    // One schema importing every namespace the manifest uses, each from the
    // file the package carries.
    const bool v12 = c.version == ScormVersion::Scorm12;
    std::string all = "<xs:schema xmlns:xs=\"http://www.w3.org/2001/XMLSchema\">\n";
    const std::vector<std::pair<std::string, std::string>> imports =
        v12 ? std::vector<std::pair<std::string, std::string>>{
                  {"http://www.imsproject.org/xsd/imscp_rootv1p1p2", "imscp_rootv1p1p2.xsd"},
                  {"http://www.adlnet.org/xsd/adlcp_rootv1p2", "adlcp_rootv1p2.xsd"}}
            : std::vector<std::pair<std::string, std::string>>{
                  {"http://www.imsglobal.org/xsd/imscp_v1p1", "imscp_v1p1.xsd"},
                  {"http://www.adlnet.org/xsd/adlcp_v1p3", "adlcp_v1p3.xsd"},
                  {"http://www.adlnet.org/xsd/adlseq_v1p3", "adlseq_v1p3.xsd"},
                  {"http://www.adlnet.org/xsd/adlnav_v1p3", "adlnav_v1p3.xsd"},
                  {"http://www.imsglobal.org/xsd/imsss", "imsss_v1p0.xsd"}};
    for (const auto& [ns, file] : imports) {
      ASSERT_TRUE(fs::exists(scratch.dir / file)) << file;
      all += "<xs:import namespace=\"" + ns + "\" schemaLocation=\"" + file + "\"/>\n";
    }
    all += "</xs:schema>\n";
    scratch.write("all.xsd", all);
    const std::string dir = scratch.dir.string();
    auto [status, output] = Shell("cd " + dir + " && xmllint --noout --nonet --schema all.xsd imsmanifest.xml");
    EXPECT_EQ(status, 0) << output;
    EXPECT_NE(output.find("imsmanifest.xml validates"), std::string::npos) << output;
    // The title comes back whole, control character and line separator as
    // the manifest writes them.
    auto [titleStatus, title] = Shell("cd " + dir +
        " && xmllint --nonet --xpath 'string(//*[local-name()=\"item\"]/*[local-name()=\"title\"])' imsmanifest.xml");
    EXPECT_EQ(titleStatus, 0);
    if (!title.empty() && title.back() == '\n') title.pop_back();
    EXPECT_EQ(title, "Quiz <b>&amp;</b> \"5 > 3\" ' ]]> \xEF\xBF\xBD </script> caf\xC3\xA9");
    auto [massStatus, mastery] = Shell("cd " + dir +
        " && xmllint --nonet --xpath 'string(//*[local-name()=\"masteryscore\" or local-name()=\"minNormalizedMeasure\"])' "
        "imsmanifest.xml");
    if (!mastery.empty() && mastery.back() == '\n') mastery.pop_back();
    const std::string expected = !c.passMark ? "" : v12 ? std::to_string(*c.passMark)
                                 : *c.passMark == 100 ? "1" : *c.passMark == 5 ? "0.05" : "";
    EXPECT_EQ(mastery, expected);
  }
}

TEST(Scorm, PageGetsTheAdapterAndItsDataUntouchedOtherwise) {
  const GeneratedTest test = HostileTest(AnswerMatching::IgnoreCase);
  const std::string page = BuildResponsiveTestPage(AsPageTest(test), test.settings);
  const std::string data = ScormAdapterData(AsPageTest(test), {ScormVersion::Scorm2004, 70});
  const std::string withAdapter = AddScormAdapter(page, data);
  const std::size_t body = page.rfind("</body>");
  EXPECT_EQ(withAdapter.substr(0, body), page.substr(0, body));
  EXPECT_EQ(withAdapter.substr(withAdapter.size() - (page.size() - body)), page.substr(body));
  EXPECT_EQ(withAdapter.substr(body, withAdapter.size() - page.size()),
            "<script type=\"application/json\" id=\"scorm-data\">" + data +
                "</script>\n<script src=\"scorm-adapter.js\"></script>\n");
  EXPECT_EQ(data.find_first_of("<>&"), std::string::npos) << "nothing can end the script element";
  EXPECT_EQ(data.find("\xE2\x80\xA8"), std::string::npos);
  EXPECT_THROW(AddScormAdapter("<p>no body end</p>", data), ScormError);

  // Every gap of both texts, numbered on, with its accepted answers.
  const json::Value value = json::Parse(data);
  const json::Object& object = *value.asObject();
  EXPECT_EQ(*json::Find(object, "version")->asString(), "2004");
  EXPECT_EQ(json::Find(object, "passMark")->asNumber()->text, "70");
  EXPECT_EQ(*json::Find(object, "matching")->asString(), "ignoreCase");
  EXPECT_EQ(*json::Find(object, "language")->asString(), "de-CH");
  const json::Array& gaps = *json::Find(object, "gaps")->asArray();
  std::size_t expectedGaps = 0;
  for (const GeneratedText& text : test.texts) expectedGaps += text.accepted.size();
  ASSERT_EQ(gaps.size(), expectedGaps);
  const json::Object& every = *gaps[0].asObject();
  EXPECT_EQ(*json::Find(every, "id")->asString(), "text1-gap1");
  const json::Array& answers = *json::Find(every, "answers")->asArray();
  ASSERT_EQ(answers.size(), 5u);
  EXPECT_EQ(*answers[0].asString(), "ery");
  EXPECT_EQ(*answers[1].asString(), "</script><b>");
  EXPECT_EQ(*answers[4].asString(), "\"q\"\\");
  const json::Object& last = *gaps.back().asObject();
  EXPECT_EQ(*json::Find(last, "id")->asString(), ScormInteractionId(2, gaps.size()));
}

TEST(Scorm, PackageHoldsPageAdapterManifestAndSchemasAtItsRoot) {
  const GeneratedTest test = HostileTest(AnswerMatching::Exact);
  const page::PageTest pageTest = AsPageTest(test);
  const std::string page = BuildResponsiveTestPage(pageTest, test.settings);
  for (ScormVersion version : {ScormVersion::Scorm12, ScormVersion::Scorm2004}) {
    const std::string zip = BuildScormPackage(page, pageTest, test.settings.Title, {version, std::nullopt});
    EXPECT_EQ(BuildScormPackage(page, pageTest, test.settings.Title, {version, std::nullopt}), zip);
    std::map<std::string, std::string> files;
    for (auto& [name, bytes] : ReadZip(zip)) files[name] = bytes;
    EXPECT_EQ(files.count("imsmanifest.xml"), 1u);
    EXPECT_EQ(files["index.html"], AddScormAdapter(page, ScormAdapterData(pageTest, {version, std::nullopt})));
    EXPECT_NE(files["scorm-adapter.js"].find("API_1484_11"), std::string::npos);
    const std::vector<std::string> schemas =
        version == ScormVersion::Scorm12
            ? std::vector<std::string>{"adlcp_rootv1p2.xsd", "ims_xml.xsd", "imscp_rootv1p1p2.xsd", "imsmd_rootv1p2p1.xsd"}
            : std::vector<std::string>{"XMLSchema.dtd", "adlcp_v1p3.xsd", "adlnav_v1p3.xsd", "adlseq_v1p3.xsd",
                                       "datatypes.dtd", "imscp_v1p1.xsd", "imsss_v1p0.xsd", "xml.xsd"};
    for (const std::string& schema : schemas) {
      ASSERT_EQ(files.count(schema), 1u) << schema;
      // Byte for byte the file in the tree (CR LF line ends as published).
      std::ifstream in(std::string(BRENVIK_SOURCE_DIR) + "/core/scorm/schemas/" +
                           (version == ScormVersion::Scorm12 ? "scorm12/" : "scorm2004/") + schema,
                       std::ios::binary);
      EXPECT_EQ(files[schema], std::string(std::istreambuf_iterator<char>(in), {})) << schema;
    }
    for (const auto& [name, bytes] : files) EXPECT_TRUE(ZipNameProblem(name).empty()) << name;
  }
}

}  // namespace
}  // namespace brenvik
