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
    return [this, f](auto&&... args) {
      Guard([&] {
        if constexpr (std::is_invocable_v<const F&, decltype(args)...>)
          f(args...);
        else
          f();
      });
    };
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

  // ---- The subsystems' members, each kept in its own folder ----------
#include "connection/Form1ConnectionMembers.h"
#include "acquisition/Form1AcquisitionMembers.h"
#include "display/Form1DisplayMembers.h"
#include "display/Form1CursorMembers.h"
#include "controls/Form1VerticalMembers.h"
#include "controls/Form1TriggerMembers.h"
#include "controls/Form1CalibrationMembers.h"
#include "measure/Form1MeasureMembers.h"
#include "storage/Form1StorageMembers.h"
#include "storage/Form1ReferenceMembers.h"
#include "storage/Form1HelpMembers.h"
#include "storage/Form1ExportMembers.h"

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
  // The held record counted by the statistics, the log and the trend, over
  // the view the frame has drawn.
  void CountRecord();
  core::MeasurementStatistics Statistics;
  core::TraceAverage Average;
  core::MeasurementLog* measurementLog_ = nullptr;
  analysis::StatisticsWindow* statisticsWindow_ = nullptr;
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
