#pragma once
// The window as a user works it: "turn the volts knob", "press RUN",
// "choose Trigger > Source > CH2", "what does the status strip say". Tests
// reach the main window only through this driver, so when the window's
// widgets and handlers move into panels only this file changes.
//
// Widgets are found by their object names (every widget has one; the
// numbered names of the window's design are object names too), menu items
// and timers likewise, never through the window's members. Actions go in as
// a hand does them where a hand can (mouse events through Mouse.h, a menu
// item triggered); the few that still call a handler keep that call here.
// The scope state is read and written in one place, State().
//
//   ScopeDriver scope(window);
//   scope.PressChannelKey(2);
//   scope.ChooseMenuItem("RUNSTOP");
//   ASSERT_TRUE(WaitFor([&] { return scope.State().Running == 0; }));

#include "app/ScopeState.h"
#include "app/TForm1.h"
#include "app/Widgets.h"
#include "controls/VoltsKnob.h"
#include "core/PanelSettings.h"
#include "support/Mouse.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QTimer>

#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class ScopeDriver {
 public:
  ScopeDriver() = default;
  explicit ScopeDriver(TForm1& window) : window_(&window) {}
  // For a reader handed the window as const (a snapshot, a check): the
  // driver's reads change nothing.
  explicit ScopeDriver(const TForm1& window) : window_(const_cast<TForm1*>(&window)) {}

  // ---- Finding things by object name ------------------------------------
  // The widget, menu item or timer of that object name; a name the window
  // lacks throws, naming it, so a renamed widget fails the test plainly.
  template <class T>
  T* Find(const QString& objectName) const {
    T* found = objectName == window_->objectName() ? qobject_cast<T*>(window_)
                                                   : window_->findChild<T*>(objectName);
    if (found == nullptr)
      throw std::logic_error("the window has no " + objectName.toStdString());
    return found;
  }
  QAction* MenuItem(const QString& objectName) const { return Find<QAction>(objectName); }
  QTimer* Timer(const QString& objectName) const { return Find<QTimer>(objectName); }
  TImage* Image(const QString& objectName) const { return Find<TImage>(objectName); }
  TPanel* Panel(const QString& objectName) const { return Find<TPanel>(objectName); }
  TLabel* Label(const QString& objectName) const { return Find<TLabel>(objectName); }

  // ---- The scope state: the one place it is reached ----------------------
  ScopeState& State() const { return *window_; }

  // ---- The front panel's widgets, by what they are ------------------------
  // Vertical controls.
  TImage* VoltsKnob() const { return Image(QStringLiteral("Image7")); }
  TImage* VoltsKnobDot() const { return Image(QStringLiteral("Image5")); }
  TPanel* VoltsKnobPanel() const { return Panel(QStringLiteral("Panel6")); }
  TImage* ChannelSelector() const { return Image(QStringLiteral("Image6")); }
  // A channel's 0 V marker in its selected look (Image1, Image2) and in its
  // not-selected look (CH1NS, CH2NS).
  TImage* Marker(int channel) const { return Image(channel == 1 ? QStringLiteral("Image1") : QStringLiteral("Image2")); }
  TImage* UnselectedMarker(int channel) const {
    return Image(channel == 1 ? QStringLiteral("CH1NS") : QStringLiteral("CH2NS"));
  }
  TPaintBox* ChannelKey(int channel) const {
    return Find<TPaintBox>(channel == 1 ? QStringLiteral("CH1Button") : QStringLiteral("CH2Button"));
  }
  TImage* ChannelOffKey() const { return Image(QStringLiteral("ChannelOff")); }
  // "New setting will take effect...": the notice over the plot, its
  // "do not show again" box and its OK.
  TPanel* ChannelNotice() const { return Panel(QStringLiteral("Panel12")); }
  QCheckBox* NoticeDoNotShowAgain() const { return Find<QCheckBox>(QStringLiteral("CheckBox1")); }
  QPushButton* NoticeOkButton() const { return Find<QPushButton>(QStringLiteral("Button6")); }
  // Time base.
  TImage* TimeKnob() const { return Image(QStringLiteral("Image9")); }
  TImage* TimeKnobDot() const { return Image(QStringLiteral("Image10")); }
  TPanel* TimeKnobPanel() const { return Panel(QStringLiteral("Panel7")); }
  // The sign over the time knob while a reference holds the time base.
  TImage* ReferenceLockSign() const { return Image(QStringLiteral("Image26")); }

  // Trigger.
  TLabel* TriggerLevelReadout() const { return Label(QStringLiteral("Label23")); }
  TLabel* TriggerLevelCounts() const { return Label(QStringLiteral("Label12")); }
  QLineEdit* TriggerLevelEdit() const { return Find<QLineEdit>(QStringLiteral("TriggerVEdit")); }

  // The screen.
  TPanel* ScreenBezel() const { return Panel(QStringLiteral("Panel2")); }
  TPanel* PlotPanel() const { return Panel(QStringLiteral("Panel4")); }
  TPaintBox* Plot() const { return Find<TPaintBox>(QStringLiteral("PaintBox2")); }
  TImage* OverviewStrip() const { return Image(QStringLiteral("Image4")); }
  TImage* ViewWindowMarker() const { return Image(QStringLiteral("Image3")); }
  TLabel* CursorFrequencyReadout() const { return Label(QStringLiteral("Label13")); }
  TImage* HorizontalCursorButton() const { return Image(QStringLiteral("Image20")); }
  TImage* VerticalCursorsButton() const { return Image(QStringLiteral("Image21")); }
  TImage* CursorsOffButton() const { return Image(QStringLiteral("Image22")); }

  // The status strip under the plot.
  TPanel* StatusStrip() const { return Panel(QStringLiteral("Panel5")); }
  TImage* StatusPicture() const { return Image(QStringLiteral("Image12")); }
  TImage* ConnectionIndicator() const { return Image(QStringLiteral("Image11")); }
  TImage* SaveViewButton() const { return Image(QStringLiteral("Image23")); }

  // The COM settings panel.
  TLabel* PortNameLabel() const { return Label(QStringLiteral("Label3")); }
  QComboBox* PortList() const { return Find<QComboBox>(QStringLiteral("ComboBox1")); }
  QPushButton* DetectRevisionButton() const { return Find<QPushButton>(QStringLiteral("Button1")); }
  QPushButton* ComSettingsCloseButton() const { return Find<QPushButton>(QStringLiteral("Button4")); }
  QLineEdit* RevisionEdit() const { return Find<QLineEdit>(QStringLiteral("Edit2")); }
  QLineEdit* FirmwareEdit() const { return Find<QLineEdit>(QStringLiteral("Edit3")); }
  QLineEdit* FirmwareDateEdit() const { return Find<QLineEdit>(QStringLiteral("Edit4")); }

  // The calibration panel.
  TPanel* CalibrationPanel() const { return Panel(QStringLiteral("Panel11")); }
  TLabel* CalibrationAdvice() const { return Label(QStringLiteral("Label14")); }
  TImage* CalibrationPicture() const { return Image(QStringLiteral("Image24")); }
  QPushButton* StartCalibrationButton() const { return Find<QPushButton>(QStringLiteral("Button2")); }
  QPushButton* CancelCalibrationButton() const { return Find<QPushButton>(QStringLiteral("Button3")); }

  // The About panel.
  TImage* AboutPicture() const { return Image(QStringLiteral("Image27")); }
  QPushButton* AboutCloseButton() const { return Find<QPushButton>(QStringLiteral("Button5")); }

  // ---- Reads --------------------------------------------------------------
  QString PortName() const { return PortNameLabel()->text(); }
  QString TriggerLevelText() const { return TriggerLevelReadout()->text(); }
  QStringList PortChoices() const {
    QStringList items;
    for (int i = 0; i < PortList()->count(); ++i) items << PortList()->itemText(i);
    return items;
  }
  // The channel that has the volts/div knob, 1 or 2.
  int FocusedChannel() const { return window_->FocusedChannel(); }

  // ---- Actions as a hand does them ------------------------------------------
  void Click(QWidget* widget) const {
    const QPoint middle(widget->width() / 2, widget->height() / 2);
    SendMouse(widget, QEvent::MouseButtonPress, middle);
    SendMouse(widget, QEvent::MouseButtonRelease, middle);
  }
  void ChooseMenuItem(const QString& objectName) const { MenuItem(objectName)->trigger(); }
  // A key pressed in the widget that has the keyboard focus, or the window.
  void PressKey(Qt::Key key) const {
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : static_cast<QWidget*>(window_);
    QTest::keyClick(target, key);
  }
  // Types a level into the trigger level edit and presses a key (Enter by
  // default).
  void TypeTriggerLevel(const QString& text, Qt::Key key = Qt::Key_Return) const {
    QLineEdit* edit = TriggerLevelEdit();
    edit->clear();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, key);
  }

  // ---- Actions that still call the window's handler ------------------------
  // Each throws what the handler throws (a test of an error reads it).
  void PressRun() const { window_->RunStopClick(); }
  void PressChannelKey(int channel) const { window_->CHButtonClick(ChannelKey(channel)); }
  void PressChannelOff() const { window_->CHButtonClick(ChannelOffKey()); }
  // The knobs left at an angle (KnobAngle) and released there.
  void SettleVoltsKnob() const { window_->UpdatedKnob(); }
  void SettleTimeKnob() const { window_->UpdatedTimeKnob(); }
  void SetVoltsKnobTo(int angle) const {
    State().KnobAngle = angle;
    SettleVoltsKnob();
  }
  void SetTimeKnobTo(int angle) const {
    State().KnobAngle = angle;
    SettleTimeKnob();
  }

 private:
  TForm1* window_ = nullptr;
};
