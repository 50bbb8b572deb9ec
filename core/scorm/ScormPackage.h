#pragma once
// SCORM packages: one zip that a learning platform imports as an activity
// and that reports each pupil's score, status and answers back to it.
//
// The package holds imsmanifest.xml at its root, the schema files of its
// version (SCORM 1.2, or SCORM 2004 4th edition) beside it, the test's
// responsive page as index.html and the adapter script scorm-adapter.js.
// The page is the page written for the web, with two elements added just
// before </body>: the adapter's data block
//   <script type="application/json" id="scorm-data">{...}</script>
// and <script src="scorm-adapter.js"></script>. The adapter finds the
// platform's API, restores typed answers, and on every check of the page
// reports what the pupil typed. How it sees a check is written down in
// ScormAdapter.js; the page itself is not changed.

#include <optional>
#include <string>
#include <string_view>

#include "core/page/PageTest.h"
#include "core/text/Errors.h"

namespace brenvik {

enum class ScormVersion {
  Scorm12,    // SCORM 1.2
  Scorm2004,  // SCORM 2004 4th edition
};

struct ScormOptions {
  ScormVersion version = ScormVersion::Scorm12;
  // The percentage of right gaps that passes (0-100); none: a finished test
  // is "completed", neither passed nor failed.
  std::optional<unsigned> passMark;
};

// A pass mark that is not a whole number from 0 to 100, or a package that
// cannot be made.
class ScormError : public BrenvikError {
 public:
  using BrenvikError::BrenvikError;
};

// "60" -> 60. Blanks around the number are allowed, a "%" after it too.
// ScormError ("the pass mark must be a whole number from 0 to 100, not
// "abc"") for anything else.
unsigned ParsePassMark(std::string_view text);

// The interaction id of a gap: "text2-gap7", the text's number and the gap's
// number as the page shows it (gap numbers run on from text to text), so
// that a gradebook row names both.
std::string ScormInteractionId(std::size_t textNumber, std::size_t gapNumber);

// imsmanifest.xml for a test of this title: one organization and one item
// named after the title, one SCO resource (index.html and scorm-adapter.js).
// With a pass mark, SCORM 1.2 gives the item adlcp:masteryscore and SCORM
// 2004 gives it a primary objective satisfied by a normalized measure of
// passMark / 100.
std::string BuildScormManifest(TextView title, const ScormOptions& options);

// The adapter's data block (JSON): version, pass mark, matching, language
// and per gap of every text, in page order, its interaction id and right
// answers (the deleted part, then the accepted ones). Safe inside a <script> element: "<", ">", "&" and the
// line and paragraph separators are written as \u escapes.
std::string ScormAdapterData(const page::PageTest& test, const ScormOptions& options);

// The page with the data block and the adapter's <script src> put in just
// before its last "</body>". ScormError when the page has none.
std::string AddScormAdapter(std::string_view page, std::string_view adapterData);

// The package as zip bytes, from the responsive page of the test (UTF-8, as
// BuildResponsiveTestPage writes it); title names it on the platform.
std::string BuildScormPackage(std::string_view page, const page::PageTest& test, TextView title,
                              const ScormOptions& options);

// The names of the files of a package, in the order of the zip.
inline constexpr std::string_view kScormPageName = "index.html";
inline constexpr std::string_view kScormAdapterName = "scorm-adapter.js";
inline constexpr std::string_view kScormManifestName = "imsmanifest.xml";

}  // namespace brenvik
