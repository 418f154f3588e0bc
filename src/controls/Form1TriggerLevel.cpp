// The trigger level: the arrows on the strip right of the plot, the line that
// shows the level across the plot for a few seconds, the readout under the
// screen and the typed level, and the indicators that stand in for an arrow
// that has left the strip. Levels are kept per channel in counts above the
// channel's 0 V line; an arrow's Top is a plot row like its 0 V marker's.

#include "app/TForm1.h"
#include "controls/PositionStrip.h"
#include "display/StatusStrip.h"

#include "controls/TriggerLevel.h"

#include <QLocale>
#include <QTimer>

namespace {

constexpr QColor ReadoutOrange(255, 144, 36);
constexpr int ExtSource = 10;

// The pictures of the strip, drawn with the window's design.
constexpr const char* ArrowCH1Picture = "Grafics\\Markers\\TrigArrowCH1.bmp";
constexpr const char* ArrowCH2Picture = "Grafics\\Markers\\TrigArrowCH2.bmp";
constexpr const char* UpCH1Picture = "Grafics\\Markers\\TrigUpCH1.bmp";
constexpr const char* DownCH1Picture = "Grafics\\Markers\\TrigDownCH1.bmp";
constexpr const char* UpCH2Picture = "Grafics\\Markers\\TrigUpCH2.bmp";
constexpr const char* DownCH2Picture = "Grafics\\Markers\\TrigDownCH2.bmp";

// Places, in the parent's pixels.
constexpr QRect TriggerSliderPlace{529, 46, 22, 417};  // in Panel2: the strip right of the plot
constexpr int IndicatorUpTop = 0;                      // in TriggerSlider: the off-strip indicators
constexpr int IndicatorDownTop = 402;
constexpr QSize IndicatorSize{22, 15};
constexpr QRect ArrowPlace{1, 0, 22, 15};              // in TriggerSlider, Top set by the level
constexpr QRect TriggerVoltageLinePlace{5, 0, 494, 1};  // in Panel4, Top set by the arrow

}  // namespace

void TForm1::BuildTriggerStrip() {
  TriggerSlider = MakePanel(Panel2, QStringLiteral("TriggerSlider"), TriggerSliderPlace, Qt::black);

  const QString resetHint = QStringLiteral("Double Click Here to Reset Trigger Voltage to 0V");
  auto indicator = [&](const char* name, int top, void (TForm1::*reset)()) {
    auto* image = new TImage(TriggerSlider, QString::fromLatin1(name));
    image->setGeometry(QRect(QPoint(0, top), IndicatorSize));
    image->setToolTip(resetHint);
    image->mouse.OnDblClick = Handler([this, reset] { (this->*reset)(); });
    image->hide();
    return image;
  };
  TrigUP = indicator("TrigUP", IndicatorUpTop, &TForm1::TrigUPClick);
  TrigDWN = indicator("TrigDWN", IndicatorDownTop, &TForm1::TrigUPClick);
  TrigUP2 = indicator("TrigUP2", IndicatorUpTop, &TForm1::TrigUP2DblClick);
  TrigDWN2 = indicator("TrigDWN2", IndicatorDownTop, &TForm1::TrigUP2DblClick);

  // The arrows share the press and the first steps of the release with the
  // 0 V markers; the move and the rest of the release are the level's.
  auto arrow = [&](const char* name) {
    auto* image = new TImage(TriggerSlider, QString::fromLatin1(name));
    image->setGeometry(ArrowPlace);
    image->SetTransparent(true);
    image->setCursor(Qt::SizeVerCursor);
    image->hide();
    image->mouse.OnMouseDown = Handler([this, image](Qt::MouseButton b, int x, int y) {
      Image1MouseDown(image, b, x, y);
    });
    image->mouse.OnMouseMove = Handler([this, image](int x, int y) { TriggerArrowMouseMove(image, x, y); });
    image->mouse.OnMouseUp = Handler([this, image](Qt::MouseButton b, int x, int y) {
      Image1MouseUp(image, b, x, y);
      TriggerArrowMouseUp();
    });
    return image;
  };
  TriggerArrowCH1 = arrow("TriggerArrowCH1");
  TriggerArrowCH2 = arrow("TriggerArrowCH2");

  TriggerVoltageLine = new TPanel(Panel4, QStringLiteral("TriggerVoltageLine"));
  TriggerVoltageLine->setGeometry(TriggerVoltageLinePlace);
  TriggerVoltageLine->SetBevel(0);
  TriggerVoltageLine->setAttribute(Qt::WA_TransparentForMouseEvents);
  TriggerVoltageLine->hide();
  TriggerVoltageLine->raise();

  const std::pair<TImage*, const char*> pictures[] = {
      {TriggerArrowCH1, ArrowCH1Picture}, {TriggerArrowCH2, ArrowCH2Picture},
      {TrigUP, UpCH1Picture},             {TrigDWN, DownCH1Picture},
      {TrigUP2, UpCH2Picture},            {TrigDWN2, DownCH2Picture},
  };
  for (const auto& [image, path] : pictures)
    Guard([&] { ShowBitmap(image, QString::fromLatin1(path)); });
}

int TForm1::TriggerLevelChannel() const { return TriggerCH == 1 ? 1 : 2; }

void TForm1::ShowTriggerLevel(int channel) {
  const ChannelParts ch = Channel(channel);
  statusStrip_->ShowTriggerLevel(trigger_level::LevelReadout(ch.TriggerV, ch.HighRange == 1, QLocale().decimalPoint()));
}

void TForm1::ShowTriggerLevelFromArrow() {
  const ChannelParts ch = Channel(TriggerLevelChannel());
  ch.TriggerV = trigger_level::LevelFromArrow(ch.VertPos, Top(ch.TriggerArrow), ch.Scale);
  if (TriggerCH == ExtSource)
    statusStrip_->ShowTriggerLevel(QStringLiteral("TTL"));
  else
    ShowTriggerLevel(ch.Number);
}

// ---- Arrow placement -------------------------------------------------------

void TForm1::PlaceTriggerLineAtArrow() {
  SetTop(TriggerVoltageLine, Top(Channel(TriggerLevelChannel()).TriggerArrow) + trigger_level::LineBelowArrow);
}

void TForm1::ResetCH1TriggerVoltage() { ResetTriggerVoltage(1); }
void TForm1::ResetCH2TriggerVoltage() { ResetTriggerVoltage(2); }

void TForm1::ResetTriggerVoltage(int channel) {
  const ChannelParts ch = Channel(channel);
  SetTop(ch.TriggerArrow, trigger_level::ArrowTopFromLevel(Top(ch.TriggerArrow), positionStrip_->MarkerTop(channel),
                                                           ch.VertPos, ch.TriggerV, ch.Scale));
  PlaceTriggerLineAtArrow();
  TriggerArrowOffScreen();
}

void TForm1::MovTriggerWithCH1Vertial() { MovTriggerWithVertical(1); }
void TForm1::MovTriggerWithCH2Vertial() { MovTriggerWithVertical(2); }

void TForm1::MovTriggerWithVertical(int channel) {
  const ChannelParts ch = Channel(channel);
  SetTop(ch.TriggerArrow, trigger_level::FollowMarker(Top(ch.TriggerArrow), VertDragDelta));
  TriggerArrowOffScreen();
  PlaceTriggerLineAtArrow();
  ch.TriggerV = trigger_level::LevelFromArrow(ch.VertPos, Top(ch.TriggerArrow), ch.Scale);
}

void TForm1::ResetTriggerOffScreenIndicators() {
  for (TImage* indicator : {TrigUP, TrigDWN, TrigUP2, TrigDWN2}) indicator->hide();
}

void TForm1::TriggerArrowOffScreen() {
  ResetTriggerOffScreenIndicators();
  const ChannelParts ch = Channel(TriggerLevelChannel());
  const trigger_level::OffScreenView view = trigger_level::ArrowOffScreen(TriggerCH, Top(ch.TriggerArrow));
  ch.TriggerUp->setVisible(view.indicatorUp);
  ch.TriggerDown->setVisible(view.indicatorDown);
  ch.TriggerArrow->setVisible(view.arrowVisible);
  if (view.hideLine) TriggerVoltageLine->hide();
  if (view.extHidesAll) {
    ResetTriggerOffScreenIndicators();
    TriggerArrowCH1->hide();
    TriggerArrowCH2->hide();
  }
}

// ---- Dragging an arrow -------------------------------------------------------

void TForm1::TriggerArrowMouseMove(QWidget* Sender, int, int Y) {
  if (MouseIsDown != 1) return;
  SetTop(Sender, trigger_level::ArrowDragTop(Top(Sender), MouseDownPos, Y));
  SetTop(TriggerVoltageLine, Top(Sender) + trigger_level::LineBelowArrow);
  TriggerVoltageLine->show();
  TriggerArrowOffScreen();
  const ChannelParts ch = Channel(TriggerLevelChannel());
  ch.TriggerV = trigger_level::LevelFromArrow(ch.VertPos, Top(Sender), ch.Scale);
  // The hidden Label12 keeps CH1's level in counts.
  if (ch.Number == 1) statusStrip_->ShowTriggerCounts(QString::number(ch.TriggerV));
  ShowTriggerLevel(ch.Number);
}

void TForm1::TriggerArrowMouseUp() {
  // The line goes 3 s after the release (not restarted if it is still running).
  SetEnabled(TrigVoltLineTimer, true);
  // A capture that waits for the old level is asked again with the new one.
  if (AwaitingData == 1) Link.Reissue();
}

void TForm1::TrigVoltLineTimerTimer() {
  TriggerVoltageLine->hide();
  SetEnabled(TrigVoltLineTimer, false);
}

// ---- Reset to 0 V --------------------------------------------------------------

void TForm1::TrigUPClick() { ResetTriggerToZero(1); }
void TForm1::TrigUP2DblClick() { ResetTriggerToZero(2); }

void TForm1::ResetTriggerToZero(int channel) {
  Channel(channel).TriggerV = 0;
  statusStrip_->ShowTriggerLevel(QStringLiteral("0 V"));
  ResetTriggerVoltage(channel);
}

// ---- Typed level ---------------------------------------------------------------

void TForm1::Label23DblClick() {
  statusStrip_->OpenLevelEntry();
}

void TForm1::TriggerVEditKeyDown(int Key) {
  if (Key != Qt::Key_Return && Key != Qt::Key_Enter) return;
  // A text that is not a number is reported; the edit stays open for another try.
  const double volts = trigger_level::ParseVolts(statusStrip_->LevelEntryText(), QLocale().decimalPoint());
  if (volts > trigger_level::TypedLimitVolts || volts < -trigger_level::TypedLimitVolts) {
    statusStrip_->ShowTriggerLevel(QStringLiteral("0"));
    return;
  }
  statusStrip_->CloseLevelEntry();
  // EXT types CH2's level too, and shows it in place of "TTL".
  const ChannelParts ch = Channel(TriggerLevelChannel());
  ch.TriggerV = trigger_level::CountsFromVolts(volts, ch.HighRange == 1);
  ShowTriggerLevel(ch.Number);
  ResetTriggerVoltage(ch.Number);
  if (AwaitingData == 1) Link.Reissue();
}
