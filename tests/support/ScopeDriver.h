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
#include "window/TForm1.h"
#include "app/Widgets.h"
#include "controls/VoltsKnob.h"
#include "core/PanelSettings.h"
#include "support/FrontPanel.h"
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

#include <functional>
#include <initializer_list>
#include <optional>
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
  ScopeState& State() const { return window_->State(); }

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
  TImage* TriggerArrow(int channel) const {
    return Image(channel == 1 ? QStringLiteral("TriggerArrowCH1") : QStringLiteral("TriggerArrowCH2"));
  }
  TPanel* TriggerLevelLine() const { return Panel(QStringLiteral("TriggerVoltageLine")); }
  TImage* TriggerPositionMarker() const { return Image(QStringLiteral("HorTrigPos")); }
  TImage* TriggerSourceButton() const { return Image(QStringLiteral("TrigSourceButton")); }
  TImage* TriggerEdgeButton() const { return Image(QStringLiteral("TriggerEdgeButton")); }
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
  // The window's outer width (frame included, as the store keeps it) and
  // its outer top-left corner.
  int WindowWidth() const { return window_->FormWidth(); }
  QPoint WindowPlace() const { return window_->pos(); }
  // What the panel sends: the core's settings as the window holds them now.
  core::PanelSettings Settings() const;
  // The whole front panel now: what it sends and what it shows.
  FrontPanel Snapshot() const;
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
  // Runs an action as every handler of the window runs: a ScopeError it
  // throws is shown in the error box and ends that action only.
  void Guarded(const std::function<void()>& action) const { window_->Guard(action); }
  // The held record drawn again, as a frame draws it.
  void DrawHeldRecord() const { window_->PlotWaveform(); }
  // The readings over the plot, as a frame takes them with measurements on.
  void MeasureHeldRecord() const { window_->AutoMeasuremtns(); }
  void ClearPersistence() const { window_->ResetPres(); }
  // The whole front panel rebuilt from the store, as at the first show.
  void RestoreFromStore() const { window_->FormShow(); }
  // Shows a picture file from beside the program in one of the window's images.
  void ShowPicture(TImage* image, const QString& relativePath) const { window_->ShowBitmap(image, relativePath); }
  // The client area's rectangle as the widgets draw it.
  QImage ClientAreaPicture(const QRect& area) const { return window_->RenderClientArea(area); }
  // The COM settings panel's list refilled, as opening it does.
  void RefreshPortList() const { window_->UpdateComboBox1(); }
  // Menu commands, as their items run them.
  void ChooseSingle() const { window_->SingleClick(); }
  void ChooseContinuous() const { window_->ContinuousClick(); }
  void ChooseAutoTrigger() const { window_->Auto1Click(); }
  void ChooseNormalTrigger() const { window_->Normal1Click(); }
  void ChooseFallingEdge() const { window_->Falling2Click(); }
  void ChooseTriggerSource(int channel) const {
    if (channel == 1) window_->CH11Click();
    else if (channel == 2) window_->CH21Click();
    else window_->EXT1Click();
  }
  void ChooseTriggerPosition(int percent) const {
    if (percent == 10) window_->POS10Click();
    else if (percent == 90) window_->POS90Click();
    else window_->POS50Click();
  }
  void LoadDefaultSettings() const { window_->LoadDefultSettings1Click(); }
  void SaveSettingsToFile() const { window_->SaveSettingsToFile1Click(); }
  // The trigger position bytes from where the position marker stands.
  void SettleTriggerPosition() const { window_->TriggerPosCalc(); }
  // A key pressed in the trigger level edit (Enter takes the typed level).
  void TriggerLevelKey(int key) const { window_->TriggerVEditKeyDown(key); }
  // A double click on the level readout opens the edit.
  void OpenTriggerLevelEdit() const { window_->Label23DblClick(); }
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

inline core::PanelSettings ScopeDriver::Settings() const {
  const ScopeState& s = State();
  core::PanelSettings panel;
  const std::int32_t knobAngles[] = {s.CH1KnobAngle, s.CH2KnobAngle};
  const std::int32_t zeroRows[] = {s.CH1VertPos, s.CH2VertPos};
  const std::int32_t levels[] = {s.CH1TriggerV, s.CH2TriggerV};
  const std::int32_t calLow[] = {s.CalCH1L, s.CalCH2L};
  const std::int32_t calHigh[] = {s.CalCH1H, s.CalCH2H};
  for (int k = 0; k < core::ChannelCount; ++k) {
    core::ChannelSettings& channel = panel.channels[std::size_t(k)];
    channel.on = s.ChannelOn[std::size_t(k + 1)] == 1;
    channel.voltsRow = int(&volts_knob::RowForAngle(knobAngles[k]) - volts_knob::VoltsRows);
    channel.zeroRow = zeroRows[k];
    channel.triggerLevel = levels[k];
    channel.calLow = calLow[k];
    channel.calHigh = calHigh[k];
  }
  panel.trigger.source = static_cast<core::TriggerSource>(s.TriggerCH);
  panel.trigger.rising = s.RisingTrigger == 1;
  panel.trigger.automatic = s.AutoTrigger == 1;
  panel.trigger.markerLeft = Left(TriggerPositionMarker());
  panel.timeBase.index = s.TimeBaseIndex;
  panel.mode.continuous = s.ConSample == 1;
  return panel;
}

// ---- The snapshot's items ---------------------------------------------------
namespace front_panel {

inline bool Shown(const QWidget* w) { return w->isVisibleTo(w->parentWidget()); }
inline QString Checked(const QAction* a) { return a->isChecked() ? QStringLiteral("checked") : QStringLiteral("-"); }
inline QString Bool(bool b) { return b ? QStringLiteral("yes") : QStringLiteral("no"); }
inline QString Num(long long v) { return QString::number(v); }

// An item and how it is read off the window; no value leaves the item out of
// the snapshot (a hidden arrow's place is not seen).
struct Item {
  const char* name;
  std::optional<QString> (*read)(const ScopeDriver&);
};
using Value = std::optional<QString>;
using D = const ScopeDriver&;

inline constexpr Item kShownItems[] = {
    {"TimeBaseIndex", [](D d) -> Value { return Num(d.State().TimeBaseIndex); }},
    {"TimeKnobAngle", [](D d) -> Value { return Num(d.State().TimeKnobAngle); }},
    {"TimeDivText", [](D d) -> Value { return d.State().TimeDivText; }},
    {"SampleRateText", [](D d) -> Value { return d.State().SampleRateText; }},
    {"time knob picture", [](D d) -> Value { return d.TimeKnob()->FileName(); }},
    // The time knob, locked while a reference from another time base is shown.
    {"time knob enabled", [](D d) -> Value { return Bool(d.TimeKnob()->isEnabled()); }},
    {"CH1KnobAngle", [](D d) -> Value { return Num(d.State().CH1KnobAngle); }},
    {"CH2KnobAngle", [](D d) -> Value { return Num(d.State().CH2KnobAngle); }},
    {"CH1VoltsDivText", [](D d) -> Value { return d.State().CH1VoltsDivText; }},
    {"CH2VoltsDivText", [](D d) -> Value { return d.State().CH2VoltsDivText; }},
    {"CH1Scale", [](D d) -> Value { return Num(d.State().CH1Scale); }},
    {"CH2Scale", [](D d) -> Value { return Num(d.State().CH2Scale); }},
    {"CH1HighRange", [](D d) -> Value { return Num(d.State().CH1HighRange); }},
    {"CH2HighRange", [](D d) -> Value { return Num(d.State().CH2HighRange); }},
    {"CH1On", [](D d) -> Value { return Num(d.State().ChannelOn[1]); }},
    {"CH2On", [](D d) -> Value { return Num(d.State().ChannelOn[2]); }},
    {"CH1Focus", [](D d) -> Value { return Num(d.State().CH1Focus); }},
    {"KnobBitmapPrefix", [](D d) -> Value { return d.State().KnobBitmapPrefix; }},
    {"volts knob picture", [](D d) -> Value { return d.VoltsKnob()->FileName(); }},
    {"volts knob enabled", [](D d) -> Value { return Bool(d.VoltsKnob()->isEnabledTo(d.VoltsKnob()->parentWidget())); }},
    {"channel selector picture", [](D d) -> Value { return d.ChannelSelector()->FileName(); }},
    {"CH1 marker shown", [](D d) -> Value { return Bool(Shown(d.Marker(1))); }},
    {"CH2 marker shown", [](D d) -> Value { return Bool(Shown(d.Marker(2))); }},
    {"CH1 unselected marker shown", [](D d) -> Value { return Bool(Shown(d.UnselectedMarker(1))); }},
    {"CH2 unselected marker shown", [](D d) -> Value { return Bool(Shown(d.UnselectedMarker(2))); }},
    {"CH1 marker top", [](D d) -> Value { return Num(Top(d.Marker(1))); }},
    {"CH1 unselected marker top", [](D d) -> Value { return Num(Top(d.UnselectedMarker(1))); }},
    {"CH2 marker top", [](D d) -> Value { return Num(Top(d.Marker(2))); }},
    {"CH2 unselected marker top", [](D d) -> Value { return Num(Top(d.UnselectedMarker(2))); }},
    {"CH1VertPos", [](D d) -> Value { return Num(d.State().CH1VertPos); }},
    {"CH2VertPos", [](D d) -> Value { return Num(d.State().CH2VertPos); }},
    // A hidden arrow is placed from its level, with its channel's scale, when
    // its channel becomes the source; until then its Top is not seen.
    {"TriggerArrowCH1 top",
     [](D d) -> Value {
       if (!Shown(d.TriggerArrow(1))) return std::nullopt;
       return Num(Top(d.TriggerArrow(1)));
     }},
    {"TriggerArrowCH2 top",
     [](D d) -> Value {
       if (!Shown(d.TriggerArrow(2))) return std::nullopt;
       return Num(Top(d.TriggerArrow(2)));
     }},
    {"TriggerArrowCH1 shown", [](D d) -> Value { return Bool(Shown(d.TriggerArrow(1))); }},
    {"TriggerArrowCH2 shown", [](D d) -> Value { return Bool(Shown(d.TriggerArrow(2))); }},
    // The line shows a channel's level; with EXT it is hidden and goes nowhere.
    {"TriggerVoltageLine top",
     [](D d) -> Value {
       if (d.State().TriggerCH != 1 && d.State().TriggerCH != 2) return std::nullopt;
       return Num(Top(d.TriggerLevelLine()));
     }},
    {"TriggerVoltageLine colour", [](D d) -> Value { return d.TriggerLevelLine()->Color().name(); }},
    {"TriggerCH", [](D d) -> Value { return Num(d.State().TriggerCH); }},
    {"CH11", [](D d) -> Value { return Checked(d.MenuItem(QStringLiteral("CH11"))); }},
    {"CH21", [](D d) -> Value { return Checked(d.MenuItem(QStringLiteral("CH21"))); }},
    {"EXT1", [](D d) -> Value { return Checked(d.MenuItem(QStringLiteral("EXT1"))); }},
    {"TrigSourceButton", [](D d) -> Value { return d.TriggerSourceButton()->FileName(); }},
    {"CH1TriggerV", [](D d) -> Value { return Num(d.State().CH1TriggerV); }},
    {"CH2TriggerV", [](D d) -> Value { return Num(d.State().CH2TriggerV); }},
    {"trigger level readout", [](D d) -> Value { return d.TriggerLevelText(); }},
    {"RisingTrigger", [](D d) -> Value { return Num(d.State().RisingTrigger); }},
    {"Rising1", [](D d) -> Value { return Checked(d.MenuItem(QStringLiteral("Rising1"))); }},
    {"Falling2", [](D d) -> Value { return Checked(d.MenuItem(QStringLiteral("Falling2"))); }},
    {"Falling2 enabled", [](D d) -> Value { return Bool(d.MenuItem(QStringLiteral("Falling2"))->isEnabled()); }},
    {"TriggerEdgeButton", [](D d) -> Value { return d.TriggerEdgeButton()->FileName(); }},
    {"AutoTrigger", [](D d) -> Value { return Num(d.State().AutoTrigger); }},
    {"Auto1", [](D d) -> Value { return Checked(d.MenuItem(QStringLiteral("Auto1"))); }},
    {"Normal1", [](D d) -> Value { return Checked(d.MenuItem(QStringLiteral("Normal1"))); }},
    {"ConSample", [](D d) -> Value { return Num(d.State().ConSample); }},
    {"Continuous", [](D d) -> Value { return Checked(d.MenuItem(QStringLiteral("Continuous"))); }},
    {"Single", [](D d) -> Value { return Checked(d.MenuItem(QStringLiteral("Single"))); }},
    {"HorTrigPos left", [](D d) -> Value { return Num(Left(d.TriggerPositionMarker())); }},
    {"POS10", [](D d) -> Value { return Checked(d.MenuItem(QStringLiteral("POS10"))); }},
    {"POS50", [](D d) -> Value { return Checked(d.MenuItem(QStringLiteral("POS50"))); }},
    {"POS90", [](D d) -> Value { return Checked(d.MenuItem(QStringLiteral("POS90"))); }},
    {"TrigPosPreLo", [](D d) -> Value { return Num(d.State().TrigPosPreLo); }},
    {"TrigPosPreHi", [](D d) -> Value { return Num(d.State().TrigPosPreHi); }},
    {"TrigPosPostLo", [](D d) -> Value { return Num(d.State().TrigPosPostLo); }},
    {"TrigPosPostHi", [](D d) -> Value { return Num(d.State().TrigPosPostHi); }},
    {"port name", [](D d) -> Value { return d.PortName(); }},
    {"AutoMeasOn", [](D d) -> Value { return Num(d.State().AutoMeasOn); }},
    {"ReferenceOn", [](D d) -> Value { return Num(d.State().ReferenceOn); }},
    {"reference sign shown", [](D d) -> Value { return Bool(Shown(d.ReferenceLockSign())); }},
    {"FormWidth", [](D d) -> Value { return Num(d.WindowWidth()); }},
    {"FormLeft", [](D d) -> Value { return Num(d.WindowPlace().x()); }},
    {"FormTop", [](D d) -> Value { return Num(d.WindowPlace().y()); }},
};

inline FrontPanel Take(const ScopeDriver& scope) {
  FrontPanel panel;
  panel.settings = scope.Settings();
  for (const Item& item : kShownItems)
    if (const Value value = item.read(scope)) panel.shown.emplace_back(item.name, *value);
  return panel;
}

}  // namespace front_panel

inline bool FrontPanel::IsItem(std::string_view name) {
  for (const auto& [item, value] : FrontPanel{}.Items())
    if (item == name) return true;
  for (const front_panel::Item& item : front_panel::kShownItems)
    if (name == item.name) return true;
  return false;
}

inline FrontPanel ScopeDriver::Snapshot() const { return front_panel::Take(*this); }
