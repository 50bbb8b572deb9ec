#include "core/scorm/ScormPackage.h"

#include <cstdint>
#include <vector>

#include "core/page/TestWords.h"
#include "core/scorm/EmbeddedFile.h"
#include "core/scorm/Zip.h"

namespace brenvik {
namespace {

// Platforms show the title in their course lists; SCORM 1.2's schema allows
// 200 characters, and 2004 platforms must keep at least as many.
constexpr std::size_t kMaxTitle = 200;

bool IsXmlChar(char32_t c) {
  return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
         (c >= 0x10000 && c <= 0x10FFFF);
}

// The test's title as one line: blanks, tabs and line breaks as single
// spaces, trimmed, at most kMaxTitle characters, "C-Test" when nothing is
// left.
Text ManifestTitle(TextView title) {
  Text out;
  bool space = false;
  for (char32_t c : title) {
    if (c == U' ' || c == U'\t' || c == U'\r' || c == U'\n' || c == 0x2028 || c == 0x2029) {
      space = !out.empty();
      continue;
    }
    if (out.size() + (space ? 1 : 0) >= kMaxTitle) break;
    if (space) out.push_back(U' ');
    space = false;
    out.push_back(IsXmlChar(c) ? c : kReplacementChar);
  }
  return out.empty() ? Text(U"C-Test") : out;
}

void AppendXmlText(std::string& out, TextView text) {
  for (char32_t c : text) {
    switch (c) {
      case U'&': out += "&amp;"; break;
      case U'<': out += "&lt;"; break;
      case U'>': out += "&gt;"; break;
      case U'"': out += "&quot;"; break;
      default: AppendUtf8(out, IsXmlChar(c) ? c : kReplacementChar);
    }
  }
}

// A JSON string safe inside an HTML <script> element.
void AppendJsonString(std::string& out, TextView text) {
  static constexpr char kHex[] = "0123456789abcdef";
  out.push_back('"');
  for (char32_t c : text) {
    if (c == U'"' || c == U'\\') {
      out.push_back('\\');
      out.push_back(static_cast<char>(c));
    } else if (c < 0x20 || c == U'<' || c == U'>' || c == U'&' || c == 0x2028 || c == 0x2029) {
      out += "\\u";
      for (int shift = 12; shift >= 0; shift -= 4) out.push_back(kHex[(c >> shift) & 0xF]);
    } else {
      AppendUtf8(out, c);
    }
  }
  out.push_back('"');
}

// FNV-1a, 64 bits: a stable name for the manifest made from its contents.
std::uint64_t Fnv1a(std::string_view bytes, std::uint64_t hash = 14695981039346656037ull) {
  for (unsigned char c : bytes) {
    hash ^= c;
    hash *= 1099511628211ull;
  }
  return hash;
}

std::string Hex64(std::uint64_t v) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out(16, '0');
  for (int i = 15; i >= 0; --i, v >>= 4) out[static_cast<std::size_t>(i)] = kHex[v & 0xF];
  return out;
}

// The files every package of a version holds unchanged, the adapter and
// the schema files, packed once per run: most of a package's bytes and of
// the time to write it.
std::vector<PackedZipEntry> PackFixedFiles(std::span<const EmbeddedFile> schemas) {
  std::vector<PackedZipEntry> packed;
  for (const EmbeddedFile& file : embedded::ScormAdapterScript()) {
    packed.push_back(PackZipEntry({std::string(kScormAdapterName), std::string(file.bytes)}));
  }
  for (const EmbeddedFile& file : schemas) {
    packed.push_back(PackZipEntry({std::string(file.name), std::string(file.bytes)}));
  }
  return packed;
}

const std::vector<PackedZipEntry>& FixedFiles(ScormVersion version) {
  static const std::vector<PackedZipEntry> v12 = PackFixedFiles(embedded::Scorm12Schemas());
  static const std::vector<PackedZipEntry> v2004 = PackFixedFiles(embedded::Scorm2004Schemas());
  return version == ScormVersion::Scorm12 ? v12 : v2004;
}

}  // namespace

unsigned ParsePassMark(std::string_view text) {
  std::size_t start = 0;
  std::size_t end = text.size();
  while (start < end && (text[start] == ' ' || text[start] == '\t')) ++start;
  while (end > start && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
  if (end > start && text[end - 1] == '%') --end;
  const std::string_view number = text.substr(start, end - start);
  unsigned value = 0;
  bool ok = !number.empty() && number.size() <= 3;
  for (char c : number) {
    if (c < '0' || c > '9') ok = false;
    else value = value * 10 + static_cast<unsigned>(c - '0');
  }
  if (!ok || value > 100) {
    throw ScormError("the pass mark must be a whole number from 0 to 100, not \"" + std::string(text) + "\"");
  }
  return value;
}

std::string ScormInteractionId(std::size_t textNumber, std::size_t gapNumber) {
  return "text" + std::to_string(textNumber) + "-gap" + std::to_string(gapNumber);
}

std::string BuildScormManifest(TextView testTitle, const ScormOptions& options) {
  const bool v12 = options.version == ScormVersion::Scorm12;
  std::string title;
  AppendXmlText(title, ManifestTitle(testTitle));
  // Named after the title, so that a new package of the same test replaces
  // the old one on platforms that go by the manifest's identifier.
  const std::string id = "brenvik-" + Hex64(Fnv1a(title, Fnv1a(v12 ? "1.2" : "2004")));

  std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  if (v12) {
    out += "<manifest identifier=\"" + id + "\" version=\"1.0\"\n"
           "  xmlns=\"http://www.imsproject.org/xsd/imscp_rootv1p1p2\"\n"
           "  xmlns:adlcp=\"http://www.adlnet.org/xsd/adlcp_rootv1p2\"\n"
           "  xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"\n"
           "  xsi:schemaLocation=\"http://www.imsproject.org/xsd/imscp_rootv1p1p2 imscp_rootv1p1p2.xsd "
           "http://www.imsglobal.org/xsd/imsmd_rootv1p2p1 imsmd_rootv1p2p1.xsd "
           "http://www.adlnet.org/xsd/adlcp_rootv1p2 adlcp_rootv1p2.xsd\">\n"
           "  <metadata>\n    <schema>ADL SCORM</schema>\n    <schemaversion>1.2</schemaversion>\n  </metadata>\n";
  } else {
    out += "<manifest identifier=\"" + id + "\" version=\"1.0\"\n"
           "  xmlns=\"http://www.imsglobal.org/xsd/imscp_v1p1\"\n"
           "  xmlns:adlcp=\"http://www.adlnet.org/xsd/adlcp_v1p3\"\n"
           "  xmlns:adlseq=\"http://www.adlnet.org/xsd/adlseq_v1p3\"\n"
           "  xmlns:adlnav=\"http://www.adlnet.org/xsd/adlnav_v1p3\"\n"
           "  xmlns:imsss=\"http://www.imsglobal.org/xsd/imsss\"\n"
           "  xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"\n"
           "  xsi:schemaLocation=\"http://www.imsglobal.org/xsd/imscp_v1p1 imscp_v1p1.xsd "
           "http://www.adlnet.org/xsd/adlcp_v1p3 adlcp_v1p3.xsd "
           "http://www.adlnet.org/xsd/adlseq_v1p3 adlseq_v1p3.xsd "
           "http://www.adlnet.org/xsd/adlnav_v1p3 adlnav_v1p3.xsd "
           "http://www.imsglobal.org/xsd/imsss imsss_v1p0.xsd\">\n"
           "  <metadata>\n    <schema>ADL SCORM</schema>\n    <schemaversion>2004 4th Edition</schemaversion>\n"
           "  </metadata>\n";
  }
  out += "  <organizations default=\"org-1\">\n    <organization identifier=\"org-1\">\n"
         "      <title>" + title + "</title>\n"
         "      <item identifier=\"item-1\" identifierref=\"sco-1\">\n"
         "        <title>" + title + "</title>\n";
  if (options.passMark) {
    const unsigned mark = *options.passMark;
    if (v12) {
      out += "        <adlcp:masteryscore>" + std::to_string(mark) + "</adlcp:masteryscore>\n";
    } else {
      const std::string measure = mark == 100 ? "1" : "0." + std::string(mark < 10 ? "0" : "") + std::to_string(mark);
      out += "        <imsss:sequencing>\n          <imsss:objectives>\n"
             "            <imsss:primaryObjective objectiveID=\"pass-mark\" satisfiedByMeasure=\"true\">\n"
             "              <imsss:minNormalizedMeasure>" + measure + "</imsss:minNormalizedMeasure>\n"
             "            </imsss:primaryObjective>\n          </imsss:objectives>\n"
             "        </imsss:sequencing>\n";
    }
  }
  out += "      </item>\n    </organization>\n  </organizations>\n  <resources>\n";
  out += std::string("    <resource identifier=\"sco-1\" type=\"webcontent\" ") +
         (v12 ? "adlcp:scormtype" : "adlcp:scormType") + "=\"sco\" href=\"" + std::string(kScormPageName) +
         "\">\n"
         "      <file href=\"" + std::string(kScormPageName) + "\"/>\n"
         "      <file href=\"" + std::string(kScormAdapterName) + "\"/>\n"
         "    </resource>\n  </resources>\n</manifest>\n";
  return out;
}

std::string ScormAdapterData(const page::PageTest& test, const ScormOptions& options) {
  std::string out = "{\"version\":";
  out += options.version == ScormVersion::Scorm12 ? "\"1.2\"" : "\"2004\"";
  out += ",\"passMark\":";
  out += options.passMark ? std::to_string(*options.passMark) : "null";
  out += ",\"matching\":";
  out += test.Matching == AnswerMatching::IgnoreCase ? "\"ignoreCase\"" : "\"exact\"";
  out += ",\"language\":";
  AppendJsonString(out, Text(test.Language.begin(), test.Language.end()));
  out += ",\"gaps\":[";
  std::size_t gap = 0;
  for (std::size_t t = 0; t < test.Texts.size(); ++t) {
    const page::PageText& text = test.Texts[t];
    std::size_t gapInText = 0;
    for (const TestWord& word : TestWords(*text.Workspace)) {
      if (word.Answer.empty()) continue;
      out += gap == 0 ? "\n{\"id\":\"" : ",\n{\"id\":\"";
      out += ScormInteractionId(t + 1, ++gap);
      out += "\",\"answers\":[";
      AppendJsonString(out, word.Answer);
      for (const Text& accepted : text.acceptedOf(gapInText)) {
        out.push_back(',');
        AppendJsonString(out, accepted);
      }
      out += "]}";
      ++gapInText;
    }
  }
  out += "\n]}";
  return out;
}

std::string AddScormAdapter(std::string_view page, std::string_view adapterData) {
  const std::size_t body = page.rfind("</body>");
  if (body == std::string_view::npos) throw ScormError("the page has no </body> to put the package's script before");
  std::string out;
  out.reserve(page.size() + adapterData.size() + 128);
  out += page.substr(0, body);
  out += "<script type=\"application/json\" id=\"scorm-data\">";
  out += adapterData;
  out += "</script>\n<script src=\"";
  out += kScormAdapterName;
  out += "\"></script>\n";
  out += page.substr(body);
  return out;
}

std::string BuildScormPackage(std::string_view page, const page::PageTest& test, TextView title,
                              const ScormOptions& options) {
  std::vector<ZipEntry> entries;
  entries.push_back({std::string(kScormManifestName), BuildScormManifest(title, options)});
  entries.push_back({std::string(kScormPageName), AddScormAdapter(page, ScormAdapterData(test, options))});
  return BuildZip(std::move(entries), FixedFiles(options.version));
}

}  // namespace brenvik
