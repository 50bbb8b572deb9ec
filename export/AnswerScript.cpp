#include "export/AnswerScript.h"

#include "export/PageSink.h"
#include "export/PageWriter.h"

namespace brenvik {

void WriteAnswerScript(Text& page, const TestWorkspace& workspace, const ExportSettings& settings) {
  page::TextSink sink(page);
  page::WriteScript(sink, workspace, settings);
}

}  // namespace brenvik
