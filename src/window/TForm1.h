#pragma once
// TForm1: the main window. It owns the scope state (it *is* a ScopeState, so
// handlers read `Running`, `CH1Scale`... by name), the widgets, the timers
// and every handler. Its methods are defined in the folder of the subsystem
// they serve: the shell here, the plot in display/, the knobs in controls/ and
// so on; each folder's Build* method creates its own widgets and binds them.
//
// Every handler runs through Guard, the one place that catches a failure and
// shows it in the error box; a failing handler simply throws ScopeError.

#include "acquisition/LinkTiming.h"
#include "app/ChannelParts.h"
#include "app/PanelKit.h"
#include "app/ScopeState.h"
#include "app/UiServices.h"
#include "app/Widgets.h"
#include "analysis/TrendRow.h"
#include "core/MeasurementStatistics.h"
#include "core/RecordHistory.h"
#include "core/TraceAverage.h"
#include "core/ScopeLink.h"
#include "display/ArrivingTrace.h"
#include "display/DisProperties.h"
#include "display/RowBands.h"
#include "display/ScreenParts.h"
#include "serial/TSerial.h"
#include "storage/SettingsStore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDialog>
#include <QElapsedTimer>
#include <QHash>
#include <QLineEdit>
#include <QPushButton>
#include <QMainWindow>

#include <deque>
#include <functional>
#include <optional>
#include <type_traits>
#include <utility>

class QAction;
class QActionGroup;
class QMenu;
class QPainter;
class QProgressBar;
class QTimer;
class AboutPanel;
class CalibrationPanel;
class ComSettingsPanel;
class MeasurementPanel;
namespace analysis {
class StatisticsWindow;
class TrendPlot;
}  // namespace analysis
namespace core {
class MeasurementLog;
}  // namespace core
class NextRunNotice;
class OverviewStrip;
class PositionStrip;
class RestoreReader;
class ScreenPanel;
class StatusStrip;
class TimeBaseKnob;
class TriggerStrip;
class VerticalControls;
struct ScopeUnit;

class TForm1 : public QMainWindow, private ScopeState {
  Q_OBJECT
 public:
  TForm1(ScopeUnit& unit, UiServices& ui, QWidget* parent = nullptr);
  ~TForm1() override;

  // ---- The error wrapper ----------------------------------------------
  // Runs one handler; a ScopeError (or any std::exception) it throws ends
  // that handler only and is shown in the error box.
  void Guard(const std::function<void()>& handler);
  // Wraps a callable so that every call runs through Guard. Arguments a
  // signal passes that the callable does not take are dropped.
  template <class F>
  auto Handler(F f) {
    return Kit.Handler(std::move(f));
  }
  // Connects a menu item to a handler (through Guard) and enables it.
  void Bind(QAction* item, void (TForm1::*handler)());

  // ---- Timers: a disabled timer is stopped; enabling a running one does
  // not restart it, so a timer enabled again keeps its phase. -------------
  static void SetEnabled(QTimer* timer, bool enabled);
  static bool Enabled(const QTimer* timer);

  // ---- Window size as outer Width and Height, frame included, as stored
  // settings give it: the client area is the outer size less the frame
  // (and, vertically, the caption and the menu bar). ----------------------
  static constexpr int FrameWidth = 8;
  static constexpr int FrameHeight = 47;
  void SetFormWidth(int outerWidth);
  void SetFormHeight(int outerHeight);
  int FormWidth() const;
  int FormHeight() const;

  // Shows a bitmap file from beside the executable ("Grafics\Run.bmp") in an
  // image; throws when it cannot be read. A file is decoded again only when
  // it changed on disk, since some pictures are swapped at every frame.
  void ShowBitmap(TImage* image, const QString& relativePath);

  // ---- One channel's state and widgets: number 1 or 2; any other number
  // throws "List index out of bounds". Code that is the same for both
  // channels takes a ChannelParts and is written once. ------------------
  ChannelParts Channel(int number);

  // ---- The scope state, which the window's parts share. ------------------
  ScopeState& State() { return *this; }
  const ScopeState& State() const { return *this; }

  // ---- Shared services --------------------------------------------------
  UiServices& Ui;
  // The error wrapper and the pictures, shared with the panels.
  PanelKit Kit;
  ScopeUnit& Unit;
  QImage& PlotBitmap;
  QImage& SaveBitmap;
  QImage& GridBitmap;
  QImage& PreviewBitmap;
  ::SettingsStore& SettingsRegistry;
  // The instrument: the port, the connection watch and acquisition, which
  // tell the window what happened through signals.
  core::ScopeLink Link;
  TSerial& SerialPort = Link.Port();

  // ---- Shell (app/) -----------------------------------------------------
  void FormCreate();
  QString CommandLinePort;    // --port NAME: the port for this run
  // --history N: how many records the history keeps (10..1000; ScopeError
  // for any other number).
  void SetHistoryCapacity(int records);

  // ---- The subsystems' handlers and state; each one's methods are
  // defined in its folder. ------------------------------------------------
  // ==== Connection (methods defined in connection/) ====
 public:
  void BuildConnection();
  // The link's connection signals, bound once (Form1ConnectionWatch.cpp).
  void ConnectWatch();

  // ---- Port discovery ---------------------------------------------------
  // Refills the list with the ports present now: plain names (what
  // SerialPort.Open accepts) or display texts "<description> (<name>)".
  // Throws ScopeError when the system will not list its ports.
  void EnumerateComPorts(bool displayForm, QStringList& list);
  void UpdateComboBox1();
  void ComboBox1KeyDown(int& Key);

  // ---- The connection watch (the link's; the window shows it) -----------
  // One tick of the watch now: the link opens the chosen port and asks the
  // instrument who it is; the answer comes in asynchronously.
  void Timer1Timer();
  void Button1Click();
  void ComboBox1Change();
  void COMSettings1Click();
  void SettingButtonClick();
  void SettingButtonMouseDown(Qt::MouseButton button, int x, int y);
  void SettingButtonMouseUp(Qt::MouseButton button, int x, int y);
  void Button4Click();
  // Puts the --port name into Label3 unless the port has been settled since
  // (see the connection README).
  void ApplyCommandLinePort();
  // Tells, once for each port, how to get permission to open it.
  void TellPortAccess(const QString& port);
  QString PortAccessToldFor;  // the port the permission advice was shown for
  // Set once the --port name has been applied after the first show, or the
  // user has chosen a port in the panel: from then on the name is theirs.
  bool CommandLinePortSettled = false;

  // The connected state: the instrument answered, indicator USBCON.
  void ShowConnected();
  // The disconnected state: no device, port closed, indicator USBCON#.
  void ShowDisconnected();
  // Closes the instrument's port; a run in progress ends as if the device went.
  void ClosePort();

 private:
  ComSettingsPanel* comSettings_ = nullptr;
 public:
  // ==== Acquisition (methods defined in acquisition/) ====
 public:
  void BuildAcquisition();

  // ---- The run/stop cycle (acquisition/Form1RunStop.cpp) ----------------
  void RunStopClick();
  void ContinuousClick();
  void SingleClick();
  void AnoucerTimer();
  void StatStopResetTimerTimer();

  // What the next capture command asks for, from the panel as it is now
  // (Form1CaptureExchange.cpp): its bytes, its reply's layout and the
  // description (time base and rate, so its layout, the scales, the ranges,
  // the calibration counts, the time per column, the channel of a
  // 3000-sample record) its record will carry.
  core::CaptureRequest RequestNow();


  // The time base of the last command sent, which its reply will be
  // described by.
  std::int32_t CommandTimeBase = 0;

 private:
  // The link's signals, bound once.
  void ConnectLink();
  // A record came: it is held, plotted and measured.
  void TakeRecord(const core::Record& record);
  // The link has stopped: the keys and pictures say so, a vanished device is
  // shown at once, a calibration goes on or ends.
  void AcquisitionStopped(core::ScopeLink::StopReason reason);
  void EndAcquisition();  // acquisition has stopped: the keys and pictures say so
  // Starts the link on the panel as it is (RUN, a calibration capture).
  void StartAcquisition();
  // The hourglass turns while the link waits for the instrument.
  void ShowHourglass();
  void ShowReplyNotice();
  void HideReplyNotice();
  void ShowReplyProgress(int queued);
  void HideReplyProgress();

  QElapsedTimer LinkClock;  // times the reply's progress bar
  qint64 ProgressShownAt = -1;
  // When the first bytes of the reply being awaited were seen (-1: none yet).
  qint64 ReplyArrivingSince = -1;
  // ==== Display (methods defined in display/) ====
 public:
  void BuildDisplay();
  void PlotWaveform();
  void CheckForWaveUpdateNeed();
  // Copies the part of PlotBitmap in `region` to the plot.
  void PaintBox2Paint(QPainter& canvas, const QRegion& region);
  // Clears the persistence memory.
  void ResetPres();
  // Fills RainbowColors, and the two per-channel ramps; both run when the
  // window is first shown, with ResetPres.
  void InitRainbow();
  void InitPersistColors();
  // Shows the empty graticule: GridBitmap onto PlotBitmap, then to the screen.
  void ShowGraticule();

  // The "Display Properties" dialog (display/Form1DisplayProperties.cpp):
  // created hidden with the window; Properties1Click shows it without
  // waiting for it. RefreshDisplayProperties shows the state again in the
  // dialog when it is open, after a command rewrote the display state.
  void BuildDisplayProperties();
  void Properties1Click();
  void RefreshDisplayProperties();

  // Save View as BMP and Print View (display/Form1SaveView.cpp); its key is
  // the save button in the status strip.
  void BuildSaveView();
  void SaveViewasBMP1Click();
  void PrintView1Click();
  // The client area's rectangle `area` as the widgets draw it, one pixel per
  // window pixel.
  QImage RenderClientArea(const QRect& area) const;

  // The steps of a frame (display/Form1Plot.cpp, display/Form1Persistence.cpp).
  // CopyGridToPlot puts the whole graticule in PlotBitmap. A line frame
  // puts it back only under what the last one drew while PlotDrawnRows
  // still holds (RestoreGridUnderLastFrame: false when it copied it whole);
  // the traces and the reference report the rows they drew.
  void CopyGridToPlot();
  bool RestoreGridUnderLastFrame();
  screen_model::RowBands DrawLineTraces();
  void DrawPersistenceDots();
  screen_model::RowSpan DrawReference();
  void BuildOverviewStrip();
  // The strip from `record`'s `channel`.
  void BuildOverviewStrip(const core::Record& record, int channel);
  // Which traces the frame shows of the held record and which channel the
  // strip, snap and the voltage cursors read (FrameChannelSource).
  core::FrameChannels ChannelsOnScreen() const;

  // A reply drawn while it arrives (display/Form1Plot.cpp): each channel's
  // samples in so far over the held record's trace, dimmed where the new
  // one has not reached, and a thin marker where it has got to. Only the
  // picture sees the partial record. DrawArrivingReply draws a frame only
  // once screen_model::ArrivingFrameIntervalMs have passed since the plot
  // last showed a new picture (a record's or an arriving one);
  // DrawArrivingFrame draws one at once. PutBackHeldRecord redraws the held
  // record (or the empty graticule) when a reply ends without a record.
  void DrawArrivingReply(const core::Record& partial, const core::ReplyArrival& arrival);
  void DrawArrivingFrame(const core::Record& partial, const core::ReplyArrival& arrival);
  void PutBackHeldRecord();
  // The plot shows a reply on its way, not the held record.
  bool ArrivingShown = false;
  // Started when the plot last showed a new picture.
  QElapsedTimer SincePlotShown;

  // What an arriving frame is drawn from besides the reply's progress.
  struct ArrivingScene {
    screen_model::RecordLayout layout = screen_model::RecordLayout::Standard;
    screen_model::ViewWindow view{1, 497};
    screen_model::RecordLayout heldLayout = screen_model::RecordLayout::Standard;
    screen_model::ViewWindow heldView{1, 497};
    std::uint64_t heldSequence = 0;
    bool previousShown = false;
    struct Trace {
      bool on = false;
      std::int32_t zeroRow = 0;
      std::int32_t heldCalOffset = 0;
      std::int32_t calOffset = 0;
      friend bool operator==(const Trace&, const Trace&) = default;
    };
    std::array<Trace, 2> traces{};  // CH1, CH2
    friend bool operator==(const ArrivingScene&, const ArrivingScene&) = default;
  };
  // The last arriving frame: the progress it showed, its picture and scene,
  // and the keys of PlotBitmap and PreviewBitmap after its last write and of
  // GridBitmap. While the keys hold and the scene is the same, the next one
  // redraws only the columns where a trace or the marker moved, and the
  // strip only when its channel has more samples in.
  struct ArrivingFrame {
    core::ReplyArrival arrival;
    screen_model::ArrivingPicture picture;
    ArrivingScene scene;
    qint64 plotKey = 0;
    qint64 gridKey = 0;
    int stripChannel = 0;
    int stripSamples = -1;
    qint64 stripKey = 0;
  };
  ArrivingFrame LastArrivingFrame;
  // The steps of an arriving frame: what it is drawn from, the traces over
  // the columns it redraws, and the strip (its channel and samples shown).
  ArrivingScene SceneOfArrival(const core::Record& partial, screen_model::ViewWindow view,
                               screen_model::ViewWindow heldView, bool previousShown);
  void StrokeArrivingTraces(const core::Record& partial, const screen_model::ArrivingPicture& picture,
                            const ArrivingScene& scene, screen_model::ColumnSpan columns);
  std::pair<int, int> DrawArrivingStrip(const core::Record& partial, const core::ReplyArrival& arrival,
                                        bool sameSource, bool previousShown);

  // What the last line frame drew over the graticule in PlotBitmap, with the
  // keys of both bitmaps taken after its last write. Any other write to
  // either bitmap (a persistence frame, a new graticule, a test, a saved
  // view) changes its key, and the next frame copies the whole graticule
  // again: only the frame that drew the rows may trust them.
  struct PlotOverdraw {
    bool known = false;
    screen_model::RowBands rows;
    qint64 plotKey = 0;
    qint64 gridKey = 0;
  };
  PlotOverdraw PlotDrawnRows;

  // Pen width the canvas of PlotBitmap was left with: the reference waveform
  // is drawn with it (2 after a line frame, 1 before any).
  int PlotPenWidth = 1;

 private:
  ScreenPanel* screen_ = nullptr;      // Panel4: the plot, its trigger marker and lines
  OverviewStrip* overview_ = nullptr;  // h: the record in small and its markers
 public:
  // ==== Cursor (methods defined in display/) ====
 public:
  // Creates the lines, handles, readouts and buttons and binds the mouse
  // handlers of the plot and of the overview strip's markers.
  void BuildCursors();
  // Once every panel is built: lays the plot's panel over the strips beside
  // it, seen through where they overlap it except where a cursor line
  // stands, so the lines show over the whole of Panel4.
  void LayLinesOverBorderStrips();

  // ---- The lines on the plot (display/Form1Cursors.cpp) ----------------
  // Bound to PaintBox2, the four lines, and (press and release) the bezel;
  // `Sender` is the one the mouse is over.
  void PaintBox2MouseDown(ScreenPart Sender, Qt::MouseButton Button, int X, int Y);
  void PaintBox2MouseMove(ScreenPart Sender, int X, int Y);
  void PaintBox2MouseUp(ScreenPart Sender, Qt::MouseButton Button, int X, int Y);
  // The line of one time cursor from its handle over the view the view
  // window selects (MarkerViewStart); then the time readouts.
  void VertCursorPos(TimeCursor Handle);
  // Both lines from both handles, over the same view.
  void VertCursorPos2();
  // The four time readouts (every frame, every cursor move, knob releases).
  void CursorCalculation();
  // The three voltage readouts (every move over the plot, the volts/div
  // knob, every snap).
  void HorizontalCalualtions();
  void AllOff1Click();
  void VerticalON1Click();
  void HorizontalON1Click();
  void BothOn1Click();

  // ---- The overview strip's markers and snap (display/Form1CursorOverview.cpp)
  // Bound to Image3 (the view window), HorTrigPos and the handles CursorX
  // and CursorO; each branch is chosen by the pressed marker.
  void Image3MouseDown(OverviewMarker Sender, Qt::MouseButton Button, int X, int Y);
  void Image3MouseMove(OverviewMarker Sender, int X, int Y);
  void Image3MouseUp(OverviewMarker Sender, Qt::MouseButton Button, int X, int Y);
  void ResetHorizontalView1Click();
  void SnaptoPlotON1Click();
  // The voltage lines onto the focused channel's trace at the time lines.
  void SnapToPlot();

 private:
  // The first sample of the view the view window marker selects now: the
  // view of the last frame, or after a pan while running the view the next
  // frame shows. Lines and handles are mapped into each other over this one
  // view, so a line dragged between a pan and the next frame keeps its
  // handle over it.
  std::int32_t MarkerViewStart() const;
  // Both lines from both handles over a view starting at viewStart.
  void PlaceTimeLines(std::int32_t viewStart);
  void ShowTimeCursors();
  void ShowVoltageCursors();
  // Snap off, and the item's caption offers it again.
  void SwitchSnapOff();
 public:
  // ==== Vertical (methods defined in controls/) ====
 public:
  // The two knobs the knob handlers serve.
  enum class Knob { VoltsPerDiv, TimePerDiv };
  // The keys over the channel selector; None for a sender that is no key.
  enum class SelectorKey { None, Channel1, Channel2, ChannelOff };
  void BuildControls();  // the whole front panel, in controls/Form1Controls.cpp
  void BuildVerticalControls();
  void BuildTimeBase();
  // A channel key or the off key as the sender (CH1Button, CH2Button,
  // ChannelOff); forwards to SelectorKeyClick.
  void CHButtonClick(QObject* Sender);
  void SelectorKeyClick(SelectorKey key);
  void UpdatedvoltageButtons();
  void UpdatedKnob();
  void UpdatedTimeKnob();

  // Marker clicks: select the clicked channel without turning anything on.
  void Image1Click();
  void Image2Click();
  void MarkerClick(int channel);
  // The channel that has the volts/div knob (CH1Focus), 1 or 2.
  int FocusedChannel() const;
  // The strip left of the plot. The trigger arrows (TriggerArrowCH1/2) share
  // the mouse-down and the first steps of the mouse-up; their move branch and
  // the rest of their release belong to the trigger controls.
  void Image1MouseDown(QWidget* Sender, Qt::MouseButton Button, int X, int Y);
  void VerticalSliderMouseMove(QWidget* Sender, int X, int Y);
  void Image1MouseUp(QWidget* Sender, Qt::MouseButton Button, int X, int Y);
  // Puts the channel's 0 V marker on `row`; its trigger arrow keeps the
  // channel's level on the new row.
  void PlaceZeroRow(int channel, std::int32_t row);
  // Both knobs: Image7 (volts/div) and Image9 (time/div).
  void Image7MouseDown(Knob knob, Qt::MouseButton Button, int X, int Y);
  void Image7MouseMove(Knob knob, int X, int Y);
  void Image7MouseUp(Knob knob, Qt::MouseButton Button, int X, int Y);
  void Button6Click();
  // The 1 MS/s mode of the 50 us/div row after a change of channels.
  void Checkfor1Ms();
  void Checkfor1Ms2();
  // The panel's 1 MS/s mode and rate caption as the knob and the keys settle
  // them; set aside while a calibration runs (Form1TimeBase.cpp).
  void SettlePanelRate(bool rate1MS, const QString& caption);
  bool PanelRate1MS() const;

 private:
  VerticalControls* verticalControls_ = nullptr;  // HorVerPanel: volts/div knob, channel keys
  TimeBaseKnob* timeBaseKnob_ = nullptr;          // Panel7: the time/div knob
  PositionStrip* positionStrip_ = nullptr;        // Panel3: the 0 V markers
  NextRunNotice* nextRunNotice_ = nullptr;        // after a knob release while stopped
  // Steps shared by SelectorKeyClick and UpdatedvoltageButtons: the selector
  // picture, markers and readouts of the current code, keys in front.
  void ApplyChannelSelector();
  // Shows a channel's dot and hands the knob that channel's angle.
  void GiveKnobTo(int channel);
  void SetDesignVerticalPanel();
  void SetDesignTimeBase();
 public:
  // ==== Trigger (methods defined in controls/) ====
 public:
  void BuildTrigger();

  // ---- Source, edge, mode and position (controls/Form1Trigger.cpp) -----
  void TriggerPosCalc();
  void CHChangeStuff();
  void CH11Click();
  void CH21Click();
  void SelectTriggerChannel(int channel);
  void EXT1Click();
  void TrigSourceButtonClick();
  void Rising1Click();
  void Falling2Click();
  void TriggerEdgeButtonClick();
  // Auto re-requests a capture at once (a waiting one in auto mode).
  void Auto1Click();
  void Normal1Click();
  void POS10Click();
  void POS50Click();
  void POS90Click();

  // For the settings restore: the looks of stored settings without the side
  // effects of the handlers (no restart, no capture request).
  // TriggerCH's source picture, radio items and line colour; other values
  // change nothing.
  void ShowTriggerSourceSetting();
  // Auto1/Normal1 from AutoTrigger.
  void ShowTriggerModeSetting();
  // The level of the source's channel again from its arrow, into Label23
  // ("TTL" stays for EXT).
  void ShowTriggerLevelFromArrow();

  // ---- Level (controls/Form1TriggerLevel.cpp) ----------------------------
  // The channel's arrow follows its 0 V marker by VertDragDelta, keeping
  // its height above the line; the level is read back from the new place.
  void MovTriggerWithCH1Vertial();
  void MovTriggerWithCH2Vertial();
  void MovTriggerWithVertical(int channel);
  // The channel's arrow placed from its stored level.
  void ResetCH1TriggerVoltage();
  void ResetCH2TriggerVoltage();
  void ResetTriggerVoltage(int channel);
  // The channel whose level and arrow the trigger uses: CH1 for CH1, CH2
  // for CH2 and for EXT (a level typed while on EXT goes to CH2).
  int TriggerLevelChannel() const;
  void TriggerArrowOffScreen();
  void ResetTriggerOffScreenIndicators();
  // The drag of a channel's arrow: the press and the release begin and end
  // it as a 0 V marker's do; the move places the arrow and reads the level.
  void TriggerArrowMouseDown(int channel, int Y);
  void TriggerArrowMouseMove(int channel, int X, int Y);
  void TriggerArrowMouseUp();
  void TrigUPClick();
  void TrigUP2DblClick();
  void ResetTriggerToZero(int channel);
  void Label23DblClick();
  // Takes a typed level on Enter; other keys do nothing.
  void TriggerVEditKeyDown(int Key);
  void TrigVoltLineTimerTimer();
  // Label23 := the level readout of a channel.
  void ShowTriggerLevel(int channel);

 private:
  // TriggerSlider: the level arrows and the off-strip indicators.
  TriggerStrip* triggerStrip_ = nullptr;
  void BuildTriggerStrip();
  void BuildTriggerButtons();
  void SetDesignTrigger();
  // The source change's common end: a running acquisition stops and comes
  // back 80 ms later with the new source.
  void RestartForNewSource();
  void CheckPositionItems(int left);
  // The level line at the source's arrow.
  void PlaceTriggerLineAtArrow();
 public:
  // ==== Calibration (methods defined in controls/) ====
 public:
  void BuildCalibration();
  void Calibrate1Click();  // shows Panel11
  void Button3Click();     // "Cancel": hides Panel11
  void Button2Click();     // "START CALIBRATION": the two captures and the offsets

  // The settings in force before a calibration, put back at its end.
  Flag SavedCH1HighRange = 0;
  Flag SavedCH2HighRange = 0;
  Flag SavedConSample = 0;
  // The panel's rate while the captures are forced to two channels: what the
  // knob and the keys settle during the run (SettlePanelRate), put back at
  // its end.
  Flag SavedRate1MS = 0;
  QString SavedSampleRateText;

 private:
  // Starts one calibration capture on the given range (a single capture
  // through the link, the panel as the calibration set it).
  void StartCalibrationCapture(bool highRange);
  // The capture has ended (acquisition stopped): with a record the offsets
  // are read and the next capture starts or the calibration completes;
  // without one the calibration is given up, saying why.
  void CalibrationCaptureEnded();
  // The end: the panel put back, then the offsets stored or the reason told.
  void FinishCalibration(bool complete, int why);
  // Puts back the ranges, the sample rate and the acquisition mode.
  void RestoreAfterCalibration();
  void CalibrationWatchTimer();

  Flag Calibrating = 0;
  // The capture under way: on the high range (the first) or the low range.
  bool CalibratingHighRange = false;
  std::uint64_t CalibrationRecordsBefore = 0;
  std::int32_t CalibrationHigh1 = 0;
  std::int32_t CalibrationHigh2 = 0;
  Flag CalibrationTimedOut = 0;
  int CalibrationLimitMs = 0;
  QTimer* CalibrationWatch = nullptr;  // ends a capture that never completes
  CalibrationPanel* calibrationPanel_ = nullptr;
  QElapsedTimer CalibrationClock;
 public:
  // ==== Measure (methods defined in measure/) ====
 public:
  // The measurement panel: ten value labels and ten captions per channel
  // and the two tab pictures.
  void BuildMeasure();
  // The twenty readings over the samples on the plot; called by the capture
  // cycle after each frame while AutoMeasOn, with the readings it has taken
  // of the held record over that view (read here when not given).
  void AutoMeasuremtns(const std::array<core::ChannelReadings, 2>* readings = nullptr);
  // View > Auto Measurements ON/OFF: the panel shown or cut off.
  void AutoMeasurementsON1Click();

 private:
  MeasurementPanel* measurementPanel_ = nullptr;
 public:
  // ==== Storage (methods defined in storage/) ====
 public:
  void BuildStorage();
  // The restore: rebuilds the whole front panel from the store. Also run by
  // the commands that rewrite the store (Load Default Settings, a settings
  // file, a reference). A value that is missing or of the wrong type takes
  // its default; the user is told each one after the command.
  void FormShow();
  // Running := 0, then the panel state into the store.
  void FormClose();
  // The panel state as the close writes it, in its order (a reference load
  // writes the same list).
  std::vector<SettingsStore::NamedValue> PanelStateWrites();
  void LoadDefultSettings1Click();
  // The port a store without one starts on: the first USB serial port
  // present, else the built-in simulated instrument.
  static QString DefaultComPort();
  // Settings files (Form1SettingsFile.cpp).
  void BuildSettingsFile();
  void SaveSettingsToFile1Click();
  // Checks the whole file first: a bad one changes neither store nor panel.
  void LoadSettings1Click();
  void AboutTimerTimer();
  // The About panel: also the splash shown at start.
  void BuildAboutPanel();
  void About1Click();
  void Button5Click();

 private:
  // The restore's steps, in their order.
  void RestoreMarkers(RestoreReader& read);
  void RestoreTriggerSource(RestoreReader& read);
  void RestoreCalibration(RestoreReader& read);
  void RestoreTriggerArrows(RestoreReader& read);
  void RestoreRecordView();
  void RestoreKnobs(RestoreReader& read);
  void RestoreChannels(RestoreReader& read);
  void RestoreDisplay(RestoreReader& read);
  void RestoreWindow(RestoreReader& read);
  void RestoreTriggerSettings(RestoreReader& read);
  void RestoreLevelAndTimeBase(RestoreReader& read);
  // Keeps a copy of the store as it is beside it, then puts the values the
  // restore held to the panel's ranges in place of the stored ones. The
  // copy's path, or empty when there was no file.
  QString KeepStoreAsItWas(const RestoreReader& read);
  // Set by a restore that gave a missing or mistyped value its default: the
  // close then writes the defaults of such values it does not write itself.
  bool RestoreReplacedValues = false;
  // A new user's store gets the defaults and a port before the first restore.
  void FillStoreForNewUser();
  // The window's outer top-left corner from the store, kept on a screen.
  void PlaceWindow(int left, int top);
  // GridBitmap from GridFile in the program's folder.
  void LoadGraticule();
 public:
  // ==== Reference (methods defined in storage/) ====
 public:
  void BuildReference();
  void SaveCH1Ref1Click();
  void SaveCH2Ref1Click();
  // One channel's held record as plot rows into a file; refused before the
  // first record has arrived.
  void SaveReference(int channel);
  // Checks the whole file first: a bad one changes nothing. A good one
  // holds the time base at the file's and locks the time base knob.
  void LoadReferance1Click();
  // Unlocks the knob and stops drawing the reference; the time base stays.
  void ReferanceOFF1Click();
  // The view that was on the plot when the loaded reference was saved.
  std::int32_t ReferenceViewStart = 0;
  std::int32_t ReferenceViewEnd = 0;
  // ==== Help (methods defined in storage/) ====
 public:
  void BuildHelp();
  // Opens the help page in the desktop's browser; a page that is not there,
  // or no program to show it, is reported with the path looked for.
  void Help2Click();
  // ==== Export (methods defined in storage/) ====
 public:
  void BuildExport();
  // The held record as a table of time and voltage, with the ranges and
  // time base it was captured with; nothing is written before the first
  // record or when the dialog is cancelled.
  void ExportData1Click();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // ---- The window's own widgets: the client area, the menu, the timers and
  // the regions no panel owns. Tests and tools find them by object name.
  QWidget* Client = nullptr;  // the client area below the menu bar

  QMenuBar* MainMenu1 = nullptr;
  QMenu* View1 = nullptr;
  QAction* ResetHorizontalView1 = nullptr;
  QAction* SaveViewasBMP1 = nullptr;
  QAction* AutoMeasurementsON1 = nullptr;
  QAction* ExportData1 = nullptr;
  QAction* PrintView1 = nullptr;
  QMenu* Trigger1 = nullptr;
  QMenu* Source1 = nullptr;
  QAction* CH11 = nullptr;
  QAction* CH21 = nullptr;
  QAction* EXT1 = nullptr;
  QMenu* Edge1 = nullptr;
  QAction* Rising1 = nullptr;
  QAction* Falling2 = nullptr;
  QMenu* Mode1 = nullptr;
  QAction* Auto1 = nullptr;
  QAction* Normal1 = nullptr;
  QMenu* TriggerPosition1 = nullptr;
  QAction* POS10 = nullptr;
  QAction* POS50 = nullptr;
  QAction* POS90 = nullptr;
  QMenu* Acquisition1 = nullptr;
  QAction* Continuous = nullptr;
  QAction* Single = nullptr;
  QAction* RUNSTOP = nullptr;
  QMenu* Cursors1 = nullptr;
  QAction* AllOff1 = nullptr;
  QAction* VerticalON1 = nullptr;
  QAction* HorizontalON1 = nullptr;
  QAction* BothOn1 = nullptr;
  QAction* SnaptoPlotON1 = nullptr;
  QMenu* Display1 = nullptr;
  QAction* Properties1 = nullptr;
  QAction* COMSettings1 = nullptr;
  QAction* Calibrate1 = nullptr;
  QAction* LoadDefultSettings1 = nullptr;
  QAction* SaveSettingsToFile1 = nullptr;
  QAction* LoadSettings1 = nullptr;
  QMenu* ReferanceWaveform1 = nullptr;
  QAction* SaveCH1Ref1 = nullptr;
  QAction* SaveCH2Ref1 = nullptr;
  QAction* LoadReferance1 = nullptr;
  QAction* ReferanceOFF1 = nullptr;
  QMenu* Records1 = nullptr;
  QAction* PreviousRecord1 = nullptr;
  QAction* NextRecord1 = nullptr;
  QAction* LatestRecord1 = nullptr;
  QAction* SaveRecord1 = nullptr;
  QAction* SaveHistory1 = nullptr;
  QAction* OpenRecord1 = nullptr;
  QAction* ClearHistory1 = nullptr;
  QMenu* Analysis1 = nullptr;
  QAction* MeasurementStatistics1 = nullptr;
  QMenu* Average1 = nullptr;
  QList<QAction*> AverageItems;  // Off, 2 .. 64, each with its depth as data
  QAction* LogMeasurements1 = nullptr;
  QAction* StopLogging1 = nullptr;
  QAction* TrendPlot1 = nullptr;
  QMenu* Help1 = nullptr;
  QAction* About1 = nullptr;
  QAction* Help2 = nullptr;

  QTimer* Timer1 = nullptr;              // 1000 ms, enabled: the connection watch
  QTimer* Anoucer = nullptr;             // 300 ms: the hourglass while waiting
  QTimer* StatStopResetTimer = nullptr;  // 80 ms one-shot: the delayed restart
  QTimer* TrigVoltLineTimer = nullptr;   // 3000 ms one-shot: hides the level line
  QTimer* AboutTimer = nullptr;          // 3000 ms one-shot: hides the about panel

  // Window regions and pop-up panels; each subsystem fills its own.
  TPanel* Panel2 = nullptr;       // the screen bezel
  TImage* RunStopButton = nullptr;
  TDisPropertiesForm* DisPropertiesForm = nullptr;

  // ---- Records kept (storage/Form1Records.cpp): the last complete records,
  // stepped through while stopped, saved to and opened from record files.
  void BuildRecords();
  void PreviousRecordClick();
  void NextRecordClick();
  void LatestRecordClick();
  void SaveRecordClick();
  void SaveHistoryClick();
  void OpenRecordClick();
  void ClearHistoryClick();
  // A new record joins the history; the position readout goes.
  void KeepRecord(const core::Record& record);
  // Shows the history's shown record as the held record, as it was captured.
  void ShowHistoryRecord();
  core::RecordHistory History;

  // ---- Analysis (measure/Form1Analysis.cpp): statistics of the readings,
  // the averaged trace, the measurement log and the trend plot.
  void BuildAnalysis();
  void MeasurementStatisticsClick();
  void AverageClick(int depth);
  void LogMeasurementsClick();
  void StopLoggingClick();
  void TrendPlotClick();
  // The record to hold for one received: itself, or the average of the last
  // ones taken with the same settings while averaging.
  const core::Record& Averaged(const core::Record& received);
  // The held record's samples of `channel` at sub-count resolution while it
  // is the mean of more than one record; none otherwise (averaging off, or a
  // record stepped back to or opened), when its counts are the trace.
  const core::TraceAverage::MeanSamples* HeldMeans(int channel) const;
  // The held record counted by the statistics, the log and the trend, with
  // its readings over the view the frame has drawn.
  void CountRecord(const std::array<core::ChannelReadings, 2>& readings);
  core::MeasurementStatistics Statistics;
  core::TraceAverage Average;
  core::MeasurementLog* measurementLog_ = nullptr;
  analysis::StatisticsWindow* statisticsWindow_ = nullptr;
  // Brings the open statistics window and the log's line count up to date
  // a few times a second, not at every record: a continuous run brings up to
  // 45 a second, and the 120 texts of the statistics cost many times what
  // the panel's 20 do.
  QTimer* analysisRefresh_ = nullptr;
  void RefreshAnalysisReadouts();
  analysis::TrendPlot* trendPlot_ = nullptr;
  std::deque<analysis::TrendRow> trendRows_;  // until the trend plot is first opened

  enum class MenuKind { BarMenu, SubMenu, EndSubMenu, Item };
  struct MenuEntry {
    MenuKind kind;
    const char* name;
    const char* caption;
    QMenu* TForm1::*menu = nullptr;
    QAction* TForm1::*item = nullptr;
    int radioGroup = 0;
    Qt::Key plainKey = Qt::Key_unknown;
    // Items made from one entry each, told apart by their data.
    QList<QAction*> TForm1::*family = nullptr;
    int data = 0;
  };
  static const MenuEntry MenuEntries[];
  void CreateMenu();
  void CreateTimers();
  void CreateRegions();
  bool shownOnce_ = false;
  AboutPanel* aboutPanel_ = nullptr;
  StatusStrip* statusStrip_ = nullptr;
};
