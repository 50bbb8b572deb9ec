#include "export/ExportWriters.h"

#include <deque>
#include <stdexcept>
#include <utility>

#include "core/page/ClassicPage.h"
#include "core/page/MoodleXml.h"
#include "core/page/PageTest.h"
#include "core/page/ResponsivePage.h"
#include "core/page/TestWords.h"
#include "core/scorm/ScormPackage.h"
#include "core/test/GenerateText.h"
#include "core/text/Errors.h"

namespace brenvik::exporting {

namespace {

class OneTextFile final : public ExportFile {
 public:
  OneTextFile(PrepareOneText prepare, const ExportSettings& settings, const ExportContext& context)
      : prepare_(prepare), settings_(settings), context_(context) {}

  std::vector<std::string> add(const ExportText& text) override {
    if (prepared_.Finish) throw std::logic_error("this format takes one text a file");
    PreparedText prepared = prepare_(text, settings_, context_);
    std::vector<std::string> warnings = prepared.Warnings;
    prepared_ = std::move(prepared);
    return warnings;
  }

  std::string bytes() override {
    if (!prepared_.Finish) throw std::logic_error("no text was added");
    return prepared_.Finish();
  }

  std::size_t texts() const override { return prepared_.Finish ? 1 : 0; }

 private:
  PrepareOneText prepare_;
  ExportSettings settings_;
  ExportContext context_;
  PreparedText prepared_;
};

// The texts of a test in the order they are added, as the writers of
// several texts read them; the workspaces stay the caller's until the bytes
// are made.
class TestTexts {
 public:
  void add(const ExportText& text) {
    titles_.push_back(text.Title);
    texts_.push_back({{}, text.Workspace, text.Accepted});
  }
  std::size_t size() const { return texts_.size(); }

  page::PageTest test(const ExportContext& context) const {
    page::PageTest test{texts_, context.Matching, context.Language};
    for (std::size_t t = 0; t < texts_.size(); ++t) test.Texts[t].Title = titles_[t];
    return test;
  }

 private:
  std::deque<Text> titles_;
  std::vector<page::PageText> texts_;
};

// The page's own check that a text has a gap: some answer in its list.
void RequireAnswer(const TestWorkspace& workspace) {
  for (TextView answer : workspace.PageAnswers) {
    if (!answer.empty()) return;
  }
  throw ListIndexError(-1);
}

// Every text on one classic page. A test of one text with no further answer
// and exact matching is the page Export to web has always written. When the
// window asks for the page text, it is made as each text is added, so that
// it is kept even if the save is cancelled; otherwise the page is written
// straight into bytes once every text is in. The page prepares each
// workspace's page lists in place, as Export to web always has.
class ClassicPageFile final : public ExportFile {
 public:
  ClassicPageFile(const ExportSettings& settings, const ExportContext& context)
      : settings_(settings), context_(context) {}

  std::vector<std::string> add(const ExportText& text) override {
    titles_.push_back(text.Title);
    texts_.push_back({titles_.back(), text.Workspace, text.Accepted});
    try {
      if (context_.PageText != nullptr) {
        *context_.PageText = BuildTestPage(texts_, settings_, context_.Matching, context_.Language);
      } else {
        RequireAnswer(*text.Workspace);
      }
    } catch (...) {
      texts_.pop_back();
      titles_.pop_back();
      throw;
    }
    return {};
  }

  std::string bytes() override {
    if (texts_.empty()) throw std::logic_error("no text was added");
    if (context_.PageText != nullptr) return EncodePage(*context_.PageText);
    return BuildTestPageBytes(texts_, settings_, context_.Matching, context_.Language);
  }

  std::size_t texts() const override { return texts_.size(); }

 private:
  ExportSettings settings_;
  ExportContext context_;
  std::deque<Text> titles_;
  std::vector<ClassicPageText> texts_;
};

// A file made of every text of the test once all are in: each text is
// checked for a gap as it is added; make() writes the file.
class WholeTestFile : public ExportFile {
 public:
  WholeTestFile(const ExportSettings& settings, const ExportContext& context)
      : settings_(settings), context_(context) {}

  std::vector<std::string> add(const ExportText& text) final {
    RequireGap(TestWords(*text.Workspace));
    texts_.add(text);
    return {};
  }

  std::string bytes() final {
    if (texts_.size() == 0) throw std::logic_error("no text was added");
    return make(texts_.test(context_));
  }

  std::size_t texts() const final { return texts_.size(); }

 protected:
  virtual std::string make(const page::PageTest& test) const = 0;

  const ExportSettings settings_;
  const ExportContext context_;

 private:
  TestTexts texts_;
};

// Every text on one page.
class ResponsivePageFile final : public WholeTestFile {
 public:
  using WholeTestFile::WholeTestFile;

 private:
  std::string make(const page::PageTest& test) const override { return BuildResponsiveTestPage(test, settings_); }
};

// A SCORM package of every text: the responsive page of the test with the
// adapter, its data (every gap of every text with its right answers) and
// the manifest. The test's title (the settings') names the package on the
// platform.
class ScormPackageFile final : public WholeTestFile {
 public:
  ScormPackageFile(ScormVersion version, const ExportSettings& settings, const ExportContext& context)
      : WholeTestFile(settings, context), version_(version) {}

 private:
  std::string make(const page::PageTest& test) const override {
    return BuildScormPackage(BuildResponsiveTestPage(test, settings_), test, settings_.Title,
                             ScormOptions{version_, settings_.PassMark});
  }

  ScormVersion version_;
};

// A whole-test file whose bytes a function makes.
class MadeWholeTestFile final : public WholeTestFile {
 public:
  MadeWholeTestFile(MakeWholeTest make, const ExportSettings& settings, const ExportContext& context)
      : WholeTestFile(settings, context), make_(make) {}

 private:
  std::string make(const page::PageTest& test) const override { return make_(test, settings_, context_); }

  MakeWholeTest make_;
};

// Every text is one question, named after the text's title. A test that is
// not one plain text puts its questions into a category named after it.
class MoodleQuizFile final : public ExportFile {
 public:
  MoodleQuizFile(const ExportSettings& settings, const ExportContext& context)
      : settings_(settings), context_(context) {}

  std::vector<std::string> add(const ExportText& text) override {
    const std::size_t before = quiz_.warnings().size();
    const page::PageText pageText{text.Title, text.Workspace, text.Accepted};
    // A text without further answers and with exact matching is written the
    // same either way.
    quiz_.addQuestion(text.Title, *text.Workspace, &pageText, context_.Matching == AnswerMatching::IgnoreCase);
    if (pageText.hasAccepted()) research_ = true;
    return {quiz_.warnings().begin() + static_cast<std::ptrdiff_t>(before), quiz_.warnings().end()};
  }

  std::string bytes() override {
    const bool plain = quiz_.questions() == 1 && !research_ && context_.Matching == AnswerMatching::Exact &&
                       context_.Language.empty();
    if (!plain) quiz_.setCategory(settings_.Title);
    return quiz_.finish();
  }

  std::size_t texts() const override { return quiz_.questions(); }

 private:
  ExportSettings settings_;
  ExportContext context_;
  MoodleQuizWriter quiz_;
  bool research_ = false;
};

}  // namespace

std::unique_ptr<ExportFile> OpenOneText(PrepareOneText prepare, const ExportSettings& settings,
                                        const ExportContext& context) {
  return std::make_unique<OneTextFile>(prepare, settings, context);
}

std::unique_ptr<ExportFile> OpenWholeTest(MakeWholeTest make, const ExportSettings& settings,
                                         const ExportContext& context) {
  return std::make_unique<MadeWholeTestFile>(make, settings, context);
}

std::unique_ptr<ExportFile> OpenClassicPage(const ExportSettings& settings, const ExportContext& context) {
  return std::make_unique<ClassicPageFile>(settings, context);
}

std::unique_ptr<ExportFile> OpenResponsivePage(const ExportSettings& settings, const ExportContext& context) {
  return std::make_unique<ResponsivePageFile>(settings, context);
}

std::unique_ptr<ExportFile> OpenMoodleQuiz(const ExportSettings& settings, const ExportContext& context) {
  return std::make_unique<MoodleQuizFile>(settings, context);
}

std::unique_ptr<ExportFile> OpenScorm12Package(const ExportSettings& settings, const ExportContext& context) {
  return std::make_unique<ScormPackageFile>(ScormVersion::Scorm12, settings, context);
}

std::unique_ptr<ExportFile> OpenScorm2004Package(const ExportSettings& settings, const ExportContext& context) {
  return std::make_unique<ScormPackageFile>(ScormVersion::Scorm2004, settings, context);
}

}  // namespace brenvik::exporting
