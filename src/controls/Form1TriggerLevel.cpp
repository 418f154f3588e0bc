// The trigger level: the arrows on the strip right of the plot, the line that
// shows the level across the plot for a few seconds, the readout under the
// screen and the typed level, and the indicators that stand in for an arrow
// that has left the strip. Levels are kept per channel in counts above the
// channel's 0 V line; an arrow's Top is a plot row like its 0 V marker's.

#include "app/TForm1.h"

#include "controls/TriggerLevel.h"

#include <QLocale>
#include <QTimer>

namespace {

constexpr QColor ReadoutOrange(255, 144, 36);  // TColor $002490FF
constexpr int ExtSource = 10;

// The pictures of the strip, drawn with the window's design.
constexpr const char* ArrowCH1Picture = "Grafics\\Markers\\TrigArrowCH1.bmp";
constexpr const char* ArrowCH2Picture = "Grafics\\Markers\\TrigArrowCH2.bmp";
constexpr const char* UpCH1Picture = "Grafics\\Markers\\TrigUpCH1.bmp";
constexpr const char* DownCH1Picture = "Grafics\\Markers\\TrigDownCH1.bmp";
constexpr const char* UpCH2Picture = "Grafics\\Markers\\TrigUpCH2.bmp";
constexpr const char* DownCH2Picture = "Grafics\\Markers\\TrigDownCH2.bmp";

void PaintOrangeOnBlack(QWidget* w) {
  w->setAutoFillBackground(true);
  QPalette p = w->palette();
  p.setColor(QPalette::Window, Qt::black);
  p.setColor(QPalette::Base, Qt::black);
  p.setColor(QPalette::WindowText, ReadoutOrange);
  p.setColor(QPalette::Text, ReadoutOrange);
  w->setPalette(p);
}

}  // namespace

void TForm1::BuildTriggerStrip() {
  TriggerSlider = new TPanel(Panel2, QStringLiteral("TriggerSlider"));
  TriggerSlider->setGeometry(529, 46, 22, 417);
  TriggerSlider->SetColor(Qt::black);
  TriggerSlider->SetBevel(0);

  const QString resetHint = QStringLiteral("Double Click Here to Reset Trigger Voltage to 0V");
  auto indicator = [&](const char* name, int top, void (TForm1::*reset)()) {
    auto* image = new TImage(TriggerSlider, QString::fromLatin1(name));
    image->setGeometry(0, top, 22, 15);
    image->setToolTip(resetHint);
    image->mouse.OnDblClick = Handler([this, reset] { (this->*reset)(); });
    image->hide();
    return image;
  };
  TrigUP = indicator("TrigUP", 0, &TForm1::TrigUPClick);
  TrigDWN = indicator("TrigDWN", 402, &TForm1::TrigUPClick);
  TrigUP2 = indicator("TrigUP2", 0, &TForm1::TrigUP2DblClick);
  TrigDWN2 = indicator("TrigDWN2", 402, &TForm1::TrigUP2DblClick);

  // The arrows share the press and the first steps of the release with the
  // 0 V markers; the move and the rest of the release are the level's.
  auto arrow = [&](const char* name) {
    auto* image = new TImage(TriggerSlider, QString::fromLatin1(name));
    image->setGeometry(1, 0, 22, 15);
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
  TriggerVoltageLine->setGeometry(5, 0, 494, 1);
  TriggerVoltageLine->SetBevel(0);
  TriggerVoltageLine->setAttribute(Qt::WA_TransparentForMouseEvents);
  TriggerVoltageLine->hide();
  TriggerVoltageLine->raise();

  Label23 = new TLabel(Panel5, QStringLiteral("Label23"));
  Label23->setGeometry(243, 27, 56, 16);
  Label23->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  PaintOrangeOnBlack(Label23);
  Label23->setToolTip(QStringLiteral("Double Click Here to enter Trigger Voltage"));
  Label23->mouse.OnDblClick = Handler([this] { Label23DblClick(); });

  TriggerVEdit = new QLineEdit(Panel5);
  TriggerVEdit->setObjectName(QStringLiteral("TriggerVEdit"));
  TriggerVEdit->setGeometry(243, 24, 41, 21);
  PaintOrangeOnBlack(TriggerVEdit);
  TriggerVEdit->hide();
  // Return and the keypad's Enter are the one key that takes the text.
  connect(TriggerVEdit, &QLineEdit::returnPressed, this,
          Handler([this] { TriggerVEditKeyDown(Qt::Key_Return); }));

  Label12 = new TLabel(Panel5, QStringLiteral("Label12"));
  Label12->setGeometry(228, 59, 60, 16);
  Label12->hide();

  const std::pair<TImage*, const char*> pictures[] = {
      {TriggerArrowCH1, ArrowCH1Picture}, {TriggerArrowCH2, ArrowCH2Picture},
      {TrigUP, UpCH1Picture},             {TrigDWN, DownCH1Picture},
      {TrigUP2, UpCH2Picture},            {TrigDWN2, DownCH2Picture},
  };
  for (const auto& [image, path] : pictures)
    Guard([&] { ShowBitmap(image, QString::fromLatin1(path)); });
}

void TForm1::ShowTriggerLevel(int channel) {
  const QString point = QLocale().decimalPoint();
  Label23->setText(channel == 1 ? trigger_level::LevelReadout(CH1TriggerV, CH1HighRange == 1, point)
                                : trigger_level::LevelReadout(CH2TriggerV, CH2HighRange == 1, point));
}

void TForm1::ShowTriggerLevelFromArrow() {
  if (TriggerCH == 1) {
    CH1TriggerV = trigger_level::LevelFromArrow(CH1VertPos, Top(TriggerArrowCH1), CH1Scale);
    ShowTriggerLevel(1);
  } else {
    CH2TriggerV = trigger_level::LevelFromArrow(CH2VertPos, Top(TriggerArrowCH2), CH2Scale);
    if (TriggerCH == ExtSource)
      Label23->setText(QStringLiteral("TTL"));
    else
      ShowTriggerLevel(2);
  }
}

// ---- Arrow placement -------------------------------------------------------

void TForm1::ResetCH1TriggerVoltage() {
  SetTop(TriggerArrowCH1, trigger_level::ArrowTopFromLevel(Top(TriggerArrowCH1), Top(Image1), CH1VertPos,
                                                           CH1TriggerV, CH1Scale));
  SetTop(TriggerVoltageLine,
         Top(TriggerCH == 1 ? TriggerArrowCH1 : TriggerArrowCH2) + trigger_level::LineBelowArrow);
  TriggerArrowOffScreen();
}

void TForm1::ResetCH2TriggerVoltage() {
  SetTop(TriggerArrowCH2, trigger_level::ArrowTopFromLevel(Top(TriggerArrowCH2), Top(Image2), CH2VertPos,
                                                           CH2TriggerV, CH2Scale));
  SetTop(TriggerVoltageLine,
         Top(TriggerCH == 1 ? TriggerArrowCH1 : TriggerArrowCH2) + trigger_level::LineBelowArrow);
  TriggerArrowOffScreen();
}

void TForm1::MovTriggerWithCH1Vertial() {
  SetTop(TriggerArrowCH1, trigger_level::FollowMarker(Top(TriggerArrowCH1), VertDragDelta));
  TriggerArrowOffScreen();
  SetTop(TriggerVoltageLine,
         Top(TriggerCH == 1 ? TriggerArrowCH1 : TriggerArrowCH2) + trigger_level::LineBelowArrow);
  CH1TriggerV = trigger_level::LevelFromArrow(CH1VertPos, Top(TriggerArrowCH1), CH1Scale);
}

void TForm1::MovTriggerWithCH2Vertial() {
  SetTop(TriggerArrowCH2, trigger_level::FollowMarker(Top(TriggerArrowCH2), VertDragDelta));
  TriggerArrowOffScreen();
  SetTop(TriggerVoltageLine,
         Top(TriggerCH == 1 ? TriggerArrowCH1 : TriggerArrowCH2) + trigger_level::LineBelowArrow);
  CH2TriggerV = trigger_level::LevelFromArrow(CH2VertPos, Top(TriggerArrowCH2), CH2Scale);
}

void TForm1::ResetTriggerOffScreenIndicators() {
  for (TImage* indicator : {TrigUP, TrigDWN, TrigUP2, TrigDWN2}) indicator->hide();
}

void TForm1::TriggerArrowOffScreen() {
  ResetTriggerOffScreenIndicators();
  const bool ch1 = TriggerCH == 1;
  TImage* arrow = ch1 ? TriggerArrowCH1 : TriggerArrowCH2;
  const trigger_level::OffScreenView view = trigger_level::ArrowOffScreen(TriggerCH, Top(arrow));
  (ch1 ? TrigUP : TrigUP2)->setVisible(view.indicatorUp);
  (ch1 ? TrigDWN : TrigDWN2)->setVisible(view.indicatorDown);
  arrow->setVisible(view.arrowVisible);
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
  if (TriggerCH == 1) {
    CH1TriggerV = trigger_level::LevelFromArrow(CH1VertPos, Top(Sender), CH1Scale);
    Label12->setText(QString::number(CH1TriggerV));
    ShowTriggerLevel(1);
  } else {
    CH2TriggerV = trigger_level::LevelFromArrow(CH2VertPos, Top(Sender), CH2Scale);
    ShowTriggerLevel(2);
  }
}

void TForm1::TriggerArrowMouseUp() {
  // The line goes 3 s after the release (not restarted if it is still running).
  SetEnabled(TrigVoltLineTimer, true);
  // A capture that waits for the old level is asked again with the new one.
  if (AwaitingData == 1) GetData();
}

void TForm1::TrigVoltLineTimerTimer() {
  TriggerVoltageLine->hide();
  SetEnabled(TrigVoltLineTimer, false);
}

// ---- Reset to 0 V --------------------------------------------------------------

void TForm1::TrigUPClick() {
  CH1TriggerV = 0;
  Label23->setText(QStringLiteral("0 V"));
  ResetCH1TriggerVoltage();
}

void TForm1::TrigUP2DblClick() {
  CH2TriggerV = 0;
  Label23->setText(QStringLiteral("0 V"));
  ResetCH2TriggerVoltage();
}

// ---- Typed level ---------------------------------------------------------------

void TForm1::Label23DblClick() {
  TriggerVEdit->show();
  TriggerVEdit->raise();
  TriggerVEdit->setFocus();
}

void TForm1::TriggerVEditKeyDown(int Key) {
  if (Key != Qt::Key_Return && Key != Qt::Key_Enter) return;
  // A text that is not a number is reported; the edit stays open for another try.
  const double volts = trigger_level::ParseVolts(TriggerVEdit->text(), QLocale().decimalPoint());
  if (volts > trigger_level::TypedLimitVolts || volts < -trigger_level::TypedLimitVolts) {
    Label23->setText(QStringLiteral("0"));
    return;
  }
  TriggerVEdit->hide();
  if (TriggerCH == 1) {
    CH1TriggerV = trigger_level::CountsFromVolts(volts, CH1HighRange == 1);
    ShowTriggerLevel(1);
    ResetCH1TriggerVoltage();
  } else {
    // EXT types CH2's level too, and shows it in place of "TTL".
    CH2TriggerV = trigger_level::CountsFromVolts(volts, CH2HighRange == 1);
    ShowTriggerLevel(2);
    ResetCH2TriggerVoltage();
  }
  if (AwaitingData == 1) GetData();
}
