// Merge files: the header pane's texts put in place of their references in the code
// pane's text, into the merged pane, with a log line per text.
#include "_4str32/exceptions.h"
#include "engine/merge.h"
#include "main/main_core.h"
#include "platform/clock.h"

void TMainCore::MergeFiles() {
  Log(platform::DateTimePrefix(Clock().Now(), Formats()) + " Start merging files ...");
  Log("    " + OpenDialog().FileName());
  const std::string codeText = m4CodeFile.GetWholeText();
  const std::string headerText = m4HeaderFile.GetWholeText();
  const std::vector<std::string> texts = DialogTexts(headerText);
  for (size_t n = 0; n < texts.size(); ++n) {
    Log(DialogTextReference(n) + " \"" + texts[n] + "\"");
  }
  // A few texts that refer to each other can make the result exponentially long:
  // its length is known before anything is built.
  std::optional<MergedText> merged = MergeTextsWithin(
      codeText, texts, m4MergedFile.View().Capacity(), ReferenceNameOf(headerText));
  if (!merged) throw EMemoCapacity();
  m4MergedFile.SetWholeText(merged->View());
  Log(platform::DateTimePrefix(Clock().Now(), Formats()) + " Merge files finished");
}
