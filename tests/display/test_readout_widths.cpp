// The readouts under the screen show their whole text: for each label of the
// status strip, the longest text it can be given, in the type it really got,
// is as wide as the label at most.

#include "support/ScopeWindow.h"
#include "support/TextFit.h"

#include <gtest/gtest.h>

namespace {

struct LongestText {
  const char* label;
  const char* text;
  Qt::Alignment alignment;  // horizontal
  const char* why;
};

// Digits are all one width in the readout type, so the longest form of each
// formatter stands for every value of that form.
const LongestText StatusStripReadouts[] = {
    {"CH1V", "CH1 500mV/DIV", Qt::AlignLeft, "the longest volts/div row"},
    {"CH2V", "CH2 500mV/DIV", Qt::AlignLeft, "the longest volts/div row"},
    {"TimeBaseL", "500ms/DIV", Qt::AlignLeft, "the longest time/div row"},
    {"SampleRate", "500KS/s", Qt::AlignLeft, "the longest sample rate"},
    {"Label23", "-79.95 V", Qt::AlignHCenter, "a level dragged to the edge at 10 V/div"},
    // (Left - trigger centre) x us per column: at 50 ms/div a line ~510
    // columns before the trigger point.
    {"XTimeCursor", "-510.0 ms", Qt::AlignHCenter, "X far before the trigger at 50 ms/div"},
    {"OTimeCursor", "-510.0 ms", Qt::AlignHCenter, "O far before the trigger at 50 ms/div"},
    {"TimeCursor", "503.0 ms", Qt::AlignHCenter, "X and O 503 columns apart at 50 ms/div"},
    {"Label13", "3.47 KHz", Qt::AlignHCenter, "d.dd KHz, the widest frequency form (K is wider than a digit)"},
    {"Label13", "33.33 Hz", Qt::AlignHCenter, "dd.dd Hz"},
    {"Label13", "100 KHz", Qt::AlignHCenter, "the fixed text of 10 us"},
    // (0 V row - Top + 1) x 200 / 10 at 10 V/div, rows 0..400.
    {"HCusA", "-80.20 V", Qt::AlignHCenter, "A at the bottom, the 0 V row at the top, 10 V/div"},
    {"HCusB", "-80.20 V", Qt::AlignHCenter, "B at the bottom, the 0 V row at the top, 10 V/div"},
    {"CusRes", "80.00 V", Qt::AlignHCenter, "A and B 400 rows apart at 10 V/div"},
};

TEST(StatusStripReadouts, TheLongestTextOfEachFitsItsLabelUpright) {
  ScopeWindow w{false, /*stopWatch=*/true};
  for (const LongestText& row : StatusStripReadouts) {
    SCOPED_TRACE(std::string(row.label) + " \"" + row.text + "\": " + row.why);
    auto* label = w->findChild<TPanel*>("Panel5")->findChild<QLabel*>(QString::fromLatin1(row.label));
    ASSERT_NE(label, nullptr);
    const TextFit fit = FitOf(*label, QString::fromLatin1(row.text));
    EXPECT_EQ(fit.family, QStringLiteral("DejaVu Sans Condensed"));
    EXPECT_FALSE(fit.bold);
    EXPECT_FALSE(fit.italic);
    EXPECT_TRUE(fit.Fits()) << testing::PrintToString(fit);
    EXPECT_EQ(label->alignment() & Qt::AlignHorizontal_Mask, row.alignment);
  }
}

}  // namespace
