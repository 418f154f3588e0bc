// The file dialogs' filters: the caption|patterns pairs the commands name
// their files with, in the form the dialog matches file names by.
#include "app/UiServices.h"

#include <gtest/gtest.h>

namespace {

TEST(DialogNameFilter, PairsBecomeOneFilterEachAndStarDotStarEveryFile) {
  struct Case {
    const char* what;
    const char* filter;
    const char* dialog;
  };
  const Case cases[] = {
      {"the save dialog of settings, references and the export",
       "Text Files (*.TXT)|*.TXT|All Files (*.*)|*.*", "Text Files (*.TXT);;All Files (*)"},
      {"the open dialog: its patterns, not its caption's, match",
       "Text (*.TXT)|*.txt|All (*.*)|*.*", "Text (*.txt);;All (*)"},
      {"a caption without patterns in it", "Waveforms|*.txt;*.csv", "Waveforms (*.txt *.csv)"},
      {"a caption left without its patterns", "Text|*.txt|All", "Text (*.txt);;All"},
      {"already in the dialog's form", "Bitmap Files (*.bmp);;All Files (*)", "Bitmap Files (*.bmp);;All Files (*)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(DialogNameFilter(QString::fromLatin1(c.filter)).toStdString(), c.dialog);
  }
}

}  // namespace
