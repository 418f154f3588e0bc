// The measurement panel right of the control column: ten readings per
// channel over the samples on the plot, recomputed after every capture while
// the panel is on. The arithmetic and the texts are in Measurements.

#include "app/TForm1.h"

#include "core/RecordReadings.h"
#include "core/RecordScales.h"
#include "measure/Measurements.h"
#include "storage/SettingsStore.h"
#include "storage/StoredValues.h"

#include <QAction>
#include <QLocale>

namespace {

// Window coordinates: the panel starts at x = 784 of the client area.
constexpr int PanelLeft = 784;
constexpr int ValueLeft = 792 - PanelLeft;
constexpr int CaptionLeft = 864 - PanelLeft;
constexpr int ValueWidth = CaptionLeft - ValueLeft - 2;
constexpr int CaptionWidth = 192 - CaptionLeft;
constexpr int LabelHeight = 16;
// DejaVu Sans (fonts-dejavu-core) at 13 pixels to the em, a 15-pixel line in
// the 16-pixel rows: "-88.88 V" and "888.8 ms" fit the 70-pixel values,
// "Pos. Duty Cycle" the captions.
constexpr int TextPixelSize = 13;
constexpr int RowPitch = 24;
constexpr int CH1FirstTop = 8;
constexpr int CH2FirstTop = 280;
constexpr QRect Image8Place{784 - PanelLeft, 246, 193, 33};
constexpr QRect Image25Place{784 - PanelLeft, 518, 193, 33};

constexpr QColor CH1ValueColour(0, 126, 255);  // TColor $00FF7E00
constexpr QColor CH2ValueColour(255, 0, 0);    // TColor $000000FF

constexpr int WidthWithPanel = 984;
constexpr int WidthWithoutPanel = 792;
// The stored switch: 1 on, 2 off.
constexpr std::int32_t StoredOn = 1;
constexpr std::int32_t StoredOff = 2;

// One reading: its text in the measured texts, its value label and caption
// per channel, top to bottom.
struct ReadingRow {
  QString measure::ReadingTexts::*text;
  TLabel* TForm1::*value[2];
  const char* valueName[2];
  const char* captionName[2];
  const char* caption;
};
const ReadingRow ReadingRows[] = {
    {&measure::ReadingTexts::maximum, {&TForm1::CH1Max, &TForm1::CH2Max}, {"CH1Max", "CH2Max"},
     {"Label15", "Label30"}, "Max Voltage"},
    {&measure::ReadingTexts::minimum, {&TForm1::CH1Min, &TForm1::Ch2Min}, {"CH1Min", "Ch2Min"},
     {"Label16", "Label31"}, "Min Voltage"},
    {&measure::ReadingTexts::peakToPeak, {&TForm1::CH1PkPk, &TForm1::CH2PkPk}, {"CH1PkPk", "CH2PkPk"},
     {"Label17", "Label32"}, "Pk-Pk Voltage"},
    {&measure::ReadingTexts::mean, {&TForm1::CH1Mean, &TForm1::Ch2Mean}, {"CH1Mean", "Ch2Mean"},
     {"Label18", "Label33"}, "Mean Voltage"},
    {&measure::ReadingTexts::rms, {&TForm1::Ch1RMS, &TForm1::Ch2RMS}, {"Ch1RMS", "Ch2RMS"},
     {"Label21", "Label36"}, "RMS V"},
    {&measure::ReadingTexts::period, {&TForm1::CH1Period, &TForm1::Ch2Period}, {"CH1Period", "Ch2Period"},
     {"Label19", "Label34"}, "Period"},
    {&measure::ReadingTexts::frequency, {&TForm1::Ch1Freq, &TForm1::Ch2Freq}, {"Ch1Freq", "Ch2Freq"},
     {"Label20", "Label35"}, "Frequency"},
    {&measure::ReadingTexts::posWidth, {&TForm1::CH1PosPulseWidth, &TForm1::CH2pulsewidth},
     {"CH1PosPulseWidth", "CH2pulsewidth"}, {"fsdfsd", "Label22"}, "+ Pulse Width"},
    {&measure::ReadingTexts::negWidth, {&TForm1::Ch1NegPulseWidth, &TForm1::CH2NegPulseWidth},
     {"Ch1NegPulseWidth", "CH2NegPulseWidth"}, {"Label27", "Label24"}, "- Pulse Width"},
    {&measure::ReadingTexts::dutyCycle, {&TForm1::CH1DutyCyle, &TForm1::CH2DutyCyc}, {"CH1DutyCyle", "CH2DutyCyc"},
     {"Label28", "Label25"}, "Pos. Duty Cycle"},
};

}  // namespace

void TForm1::BuildMeasure() {
  auto label = [this](const char* name, const QRect& place, const QColor* colour) {
    auto* l = new TLabel(MeasurePanel, QString::fromLatin1(name));
    l->setGeometry(place);
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(TextPixelSize);
    l->setFont(f);
    if (colour) l->SetFontColor(*colour);
    return l;
  };
  const int firstTop[2] = {CH1FirstTop, CH2FirstTop};
  const QColor valueColour[2] = {CH1ValueColour, CH2ValueColour};
  for (int ch = 0; ch < 2; ++ch) {
    int top = firstTop[ch];
    for (const ReadingRow& row : ReadingRows) {
      this->*row.value[ch] = label(row.valueName[ch], QRect(ValueLeft, top, ValueWidth, LabelHeight), &valueColour[ch]);
      label(row.captionName[ch], QRect(CaptionLeft, top, CaptionWidth, LabelHeight), nullptr)
          ->setText(QString::fromLatin1(row.caption));
      top += RowPitch;
    }
  }
  Image8 = new TImage(MeasurePanel, QStringLiteral("Image8"));
  Image8->setGeometry(Image8Place);
  Image25 = new TImage(MeasurePanel, QStringLiteral("Image25"));
  Image25->setGeometry(Image25Place);
  Guard([this] { ShowBitmap(Image8, QStringLiteral("Grafics\\Panel\\CH1Measurements.bmp")); });
  Guard([this] { ShowBitmap(Image25, QStringLiteral("Grafics\\Panel\\CH2Measurements.bmp")); });

  Bind(AutoMeasurementsON1, &TForm1::AutoMeasurementsON1Click);
}

void TForm1::AutoMeasuremtns() {
  // The window the frame has just drawn, read as the record was captured:
  // its ranges (and the calibration of each), its time per sample, whatever
  // the knobs show now. A stretched record has two plot columns per sample: its
  // samples are twice the time base's microseconds per column apart.
  const QString point = QLocale().decimalPoint();
  for (int n : {1, 2}) {
    const ChannelParts channel = Channel(n);
    const measure::ReadingTexts texts = core::PanelTextsOf(
        HeldRecord, n, ViewStart, ViewEnd, core::CalOffsetOf(HeldRecord, n, channel.CalHigh, channel.CalLow), point);
    // A channel that is off is measured all the same; its values are hidden.
    const bool shown = channel.On == 1;
    for (const ReadingRow& row : ReadingRows) {
      TLabel* value = this->*row.value[n - 1];
      value->setText(texts.*row.text);
      value->setVisible(shown);
    }
  }
}

void TForm1::AutoMeasurementsON1Click() {
  // The caption names what the item does next; switching computes nothing,
  // the panel keeps its texts until the next capture.
  const bool on = AutoMeasOn != 1;
  AutoMeasurementsON1->setText(on ? QStringLiteral("Auto Measurements OFF") : QStringLiteral("Auto Measurements ON"));
  AutoMeasOn = on ? 1 : 0;
  SetFormWidth(on ? WidthWithPanel : WidthWithoutPanel);
  SettingsRegistry.WriteInteger(stored::Name(stored::Id::AutoMeasONOFF), on ? StoredOn : StoredOff);
}
