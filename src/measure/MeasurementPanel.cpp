#include "measure/MeasurementPanel.h"

#include "app/PanelKit.h"
#include "core/Record.h"
#include "core/RecordReadings.h"
#include "core/RecordView.h"
#include "measure/Measurements.h"

#include <QLocale>

namespace {

// In the client area; the panel's children in its own pixels.
constexpr QRect PanelPlace{784, 0, 192, 608};
constexpr int ValueLeft = 8;
constexpr int CaptionLeft = 80;
constexpr int ValueWidth = CaptionLeft - ValueLeft - 2;
constexpr int CaptionWidth = 192 - CaptionLeft;
constexpr int LabelHeight = 16;
// DejaVu Sans (fonts-dejavu-core) at 13 pixels to the em, a 15-pixel line in
// the 16-pixel rows: "-88.88 V" and "888.8 ms" fit the 70-pixel values,
// "Pos. Duty Cycle" the captions.
constexpr int TextPixelSize = 13;
constexpr int RowPitch = 24;
constexpr int FirstTop[2] = {8, 280};
constexpr QRect TabPlaces[2] = {{0, 246, 193, 33}, {0, 518, 193, 33}};
constexpr const char* TabNames[2] = {"Image8", "Image25"};
constexpr const char* TabPictures[2] = {"Grafics\\Panel\\CH1Measurements.bmp", "Grafics\\Panel\\CH2Measurements.bmp"};
constexpr QColor ValueColours[2] = {QColor(0, 126, 255), QColor(255, 0, 0)};

// One reading: its text in the measured texts, the object names of its
// value label and caption per channel, top to bottom.
struct ReadingRow {
  QString measure::ReadingTexts::*text;
  const char* valueName[2];
  const char* captionName[2];
  const char* caption;
};
const ReadingRow ReadingRows[] = {
    {&measure::ReadingTexts::maximum, {"CH1Max", "CH2Max"}, {"Label15", "Label30"}, "Max Voltage"},
    {&measure::ReadingTexts::minimum, {"CH1Min", "Ch2Min"}, {"Label16", "Label31"}, "Min Voltage"},
    {&measure::ReadingTexts::peakToPeak, {"CH1PkPk", "CH2PkPk"}, {"Label17", "Label32"}, "Pk-Pk Voltage"},
    {&measure::ReadingTexts::mean, {"CH1Mean", "Ch2Mean"}, {"Label18", "Label33"}, "Mean Voltage"},
    {&measure::ReadingTexts::rms, {"Ch1RMS", "Ch2RMS"}, {"Label21", "Label36"}, "RMS V"},
    {&measure::ReadingTexts::period, {"CH1Period", "Ch2Period"}, {"Label19", "Label34"}, "Period"},
    {&measure::ReadingTexts::frequency, {"Ch1Freq", "Ch2Freq"}, {"Label20", "Label35"}, "Frequency"},
    {&measure::ReadingTexts::posWidth, {"CH1PosPulseWidth", "CH2pulsewidth"}, {"fsdfsd", "Label22"}, "+ Pulse Width"},
    {&measure::ReadingTexts::negWidth, {"Ch1NegPulseWidth", "CH2NegPulseWidth"}, {"Label27", "Label24"}, "- Pulse Width"},
    {&measure::ReadingTexts::dutyCycle, {"CH1DutyCyle", "CH2DutyCyc"}, {"Label28", "Label25"}, "Pos. Duty Cycle"},
};
static_assert(std::size(ReadingRows) == 10);

}  // namespace

MeasurementPanel::MeasurementPanel(QWidget* client, PanelKit& kit) : TPanel(client, QStringLiteral("MeasurePanel")) {
  setGeometry(PanelPlace);
  SetColor(PanelGrey);
  SetBevel(0);
  auto label = [this](const char* name, const QRect& place) {
    auto* l = new TLabel(this, QString::fromLatin1(name));
    l->setGeometry(place);
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(TextPixelSize);
    l->setFont(f);
    return l;
  };
  for (int ch = 0; ch < 2; ++ch) {
    int top = FirstTop[ch];
    for (std::size_t r = 0; r < std::size(ReadingRows); ++r) {
      const ReadingRow& row = ReadingRows[r];
      TLabel* value = label(row.valueName[ch], QRect(ValueLeft, top, ValueWidth, LabelHeight));
      value->SetFontColor(ValueColours[ch]);
      values_[ch][r] = value;
      label(row.captionName[ch], QRect(CaptionLeft, top, CaptionWidth, LabelHeight))
          ->setText(QString::fromLatin1(row.caption));
      top += RowPitch;
    }
  }
  for (int ch = 0; ch < 2; ++ch) {
    tabs_[ch] = new TImage(this, QString::fromLatin1(TabNames[ch]));
    tabs_[ch]->setGeometry(TabPlaces[ch]);
  }
  for (int ch = 0; ch < 2; ++ch)
    kit.Guard([&] { kit.ShowBitmap(tabs_[ch], QString::fromLatin1(TabPictures[ch])); });
}

void MeasurementPanel::ShowReadings(const Reading& reading) {
  const QString point = QLocale().decimalPoint();
  for (int n : {1, 2}) {
    // A 3000-sample record holds nothing of the other channel: its buffer
    // is an earlier record's, or nothing, and no reading of it is this
    // record's.
    const measure::Readings* read = reading.read[n - 1];
    const measure::ReadingTexts texts =
        !core::HoldsChannel(*reading.record, n) ? measure::ReadingTexts{}
        : read != nullptr
            ? measure::TextsOf(*read, point)
            : core::PanelTextsOf(*reading.record, n, reading.viewStart, reading.viewEnd, reading.calOffset[n - 1], point);
    for (std::size_t r = 0; r < std::size(ReadingRows); ++r) {
      TLabel* value = values_[n - 1][r];
      value->setText(texts.*ReadingRows[r].text);
      value->setVisible(reading.shown[n - 1]);
    }
  }
}
