#include "window/TForm1.h"

#include "app/Errors.h"
#include "app/Paths.h"
#include "window/UnitInit.h"
#include "app/AboutPanel.h"
#include "connection/ComSettingsPanel.h"
#include "controls/CalibrationPanel.h"
#include "controls/NextRunNotice.h"
#include "controls/VerticalControls.h"
#include "display/StatusStrip.h"
#include "measure/MeasurementPanel.h"
#include "storage/SettingsStore.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QFileInfo>
#include <QHash>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

namespace {

// Which members make up each channel, in ChannelParts' order; Channel() reads
// this table, so a channel's parts are named once.
template <class T>
using Member = T ScopeState::*;
struct ChannelMembers {
  QColor colour;
  Member<std::int32_t> vertPos, knobAngle, scale, voltsDiv;
  Member<QString> voltsDivText;
  Member<ScopeState::Flag> highRange;
  Member<std::int32_t> triggerV, calLow, calHigh, calOffset;
  Member<std::vector<std::int32_t>> persistence;
  Member<std::array<QColor, 256>> persistColors;
};

constexpr ChannelMembers ChannelTable[] = {
    {QColor(0, 126, 255), &ScopeState::CH1VertPos, &ScopeState::CH1KnobAngle, &ScopeState::CH1Scale,
     &ScopeState::CH1VoltsDiv, &ScopeState::CH1VoltsDivText, &ScopeState::CH1HighRange,
     &ScopeState::CH1TriggerV, &ScopeState::CalCH1L, &ScopeState::CalCH1H, &ScopeState::CH1CalOffset,
     &ScopeState::CH1Persistence, &ScopeState::CH1PersistColors},
    {QColor(255, 0, 0), &ScopeState::CH2VertPos, &ScopeState::CH2KnobAngle, &ScopeState::CH2Scale,
     &ScopeState::CH2VoltsDiv, &ScopeState::CH2VoltsDivText, &ScopeState::CH2HighRange,
     &ScopeState::CH2TriggerV, &ScopeState::CalCH2L, &ScopeState::CalCH2H, &ScopeState::CH2CalOffset,
     &ScopeState::CH2Persistence, &ScopeState::CH2PersistColors},
};

// The window's regions, in the client area's pixels.
constexpr QSize ClientSize{976, 608};
constexpr QPoint DesignWindowPlace{261, 100};
constexpr QRect Panel2Place{0, 2, 558, 545};         // the screen bezel
constexpr QRect RunStopButtonPlace{619, 506, 100, 35};

}  // namespace

TForm1::TForm1(ScopeUnit& unit, UiServices& ui, QWidget* parent)
    : QMainWindow(parent),
      Ui(ui),
      Kit(ui),
      Unit(unit),
      PlotBitmap(unit.PlotBitmap),
      SaveBitmap(unit.SaveBitmap),
      GridBitmap(unit.GridBitmap),
      PreviewBitmap(unit.PreviewBitmap),
      SettingsRegistry(*unit.SettingsRegistry_) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Tessaron USB Oscilloscope"));
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  GridFile = unit.GridFile;
  ScreenSave = unit.ScreenSave ? 1 : 0;

  Client = new QWidget(this);
  Client->setObjectName(QStringLiteral("ClientArea"));
  Client->setAutoFillBackground(true);
  QPalette silver = Client->palette();
  silver.setColor(QPalette::Window, PanelGrey);
  Client->setPalette(silver);
  setPalette(silver);
  Client->setFixedSize(ClientSize);
  setCentralWidget(Client);

  CreateMenu();
  CreateTimers();
  CreateRegions();
  BuildDisplay();
  BuildControls();
  BuildAcquisition();
  BuildConnection();
  BuildMeasure();
  BuildStorage();
  BuildHelp();
  BuildExport();
  BuildRecords();
  BuildAnalysis();
  LayLinesOverBorderStrips();
  // The pop-up panels lie over everything the subsystems placed.
  for (TPanel* popup : {static_cast<TPanel*>(comSettings_), static_cast<TPanel*>(calibrationPanel_), static_cast<TPanel*>(nextRunNotice_),
                        static_cast<TPanel*>(aboutPanel_)})
    popup->raise();

  SetFormWidth(ClientSize.width() + FrameWidth);
  SetFormHeight(ClientSize.height() + FrameHeight);
  move(DesignWindowPlace);
  BuildDisplayProperties();
  FormCreate();
}

TForm1::~TForm1() {
  // The link outlives the widgets' destruction by nothing: it tells no one
  // anything from here on, and its own end sends the stop byte should a
  // capture still be pending.
  QObject::disconnect(&Link, nullptr, this, nullptr);
  Running = 0;
}

void TForm1::FormCreate() {
  // SerialPort exists from here; its open-failure box goes through the
  // window's message interface.
  SerialPort.ShowErrorBox = [this](const std::string& text) {
    Ui.ShowError(QString::fromStdString(text));
  };
  SerialPort.Beep = [this](int hz, int ms) { Ui.Beep(hz, ms); };
  SetEnabled(Timer1, true);
}

ChannelParts TForm1::Channel(int number) {
  CheckListIndex(number - 1, std::size(ChannelTable));
  const ChannelMembers& m = ChannelTable[number - 1];
  ScopeState& state = *this;
  return {number,
          m.colour,
          state.ChannelOn[static_cast<std::size_t>(number)],
          state.*m.vertPos,
          state.*m.knobAngle,
          state.*m.scale,
          state.*m.voltsDiv,
          state.*m.voltsDivText,
          state.*m.highRange,
          state.*m.triggerV,
          state.*m.calLow,
          state.*m.calHigh,
          state.*m.calOffset,
          state.*m.persistence,
          state.*m.persistColors,
          number == 1 ? CH11 : CH21};
}

void TForm1::Guard(const std::function<void()>& handler) { Kit.Guard(handler); }

void TForm1::Bind(QAction* item, void (TForm1::*handler)()) {
  connect(item, &QAction::triggered, this, Handler([this, handler] { (this->*handler)(); }));
  item->setEnabled(true);
}

void TForm1::SetEnabled(QTimer* timer, bool enabled) {
  if (!enabled)
    timer->stop();
  else if (!timer->isActive())
    timer->start();
}

bool TForm1::Enabled(const QTimer* timer) { return timer->isActive(); }

void TForm1::SetFormWidth(int outerWidth) {
  const int client = std::max(0, outerWidth - FrameWidth);
  Client->setFixedWidth(client);
  setFixedWidth(client);
}

void TForm1::SetFormHeight(int outerHeight) {
  const int client = std::max(0, outerHeight - FrameHeight);
  Client->setFixedHeight(client);
  setFixedHeight(client + menuBar()->sizeHint().height());
}

int TForm1::FormWidth() const { return Client->width() + FrameWidth; }
int TForm1::FormHeight() const { return Client->height() + FrameHeight; }

void TForm1::ShowBitmap(TImage* image, const QString& relativePath) { Kit.ShowBitmap(image, relativePath); }

// The menu bar as data: each line a menu (on the bar, or inside the menu
// above it) or an item of the menu above it. Items exist from the start,
// disabled until their subsystem binds them; the items of one radio group
// exclude each other, and none is checked until the restore says which.
const TForm1::MenuEntry TForm1::MenuEntries[] = {
    {MenuKind::BarMenu, "View1", "View", &TForm1::View1},
    {MenuKind::Item, "ResetHorizontalView1", "Reset Horizontal View", nullptr, &TForm1::ResetHorizontalView1},
    {MenuKind::Item, "SaveViewasBMP1", "Save View as BMP", nullptr, &TForm1::SaveViewasBMP1},
    {MenuKind::Item, "AutoMeasurementsON1", "Auto Measurements ON", nullptr, &TForm1::AutoMeasurementsON1},
    {MenuKind::Item, "ExportData1", "Export Data To File", nullptr, &TForm1::ExportData1},
    {MenuKind::Item, "PrintView1", "Print View", nullptr, &TForm1::PrintView1},
    {MenuKind::BarMenu, "Trigger1", "Trigger", &TForm1::Trigger1},
    {MenuKind::SubMenu, "Source1", "Source", &TForm1::Source1},
    {MenuKind::Item, "CH11", "CH1", nullptr, &TForm1::CH11, 1},
    {MenuKind::Item, "CH21", "CH2", nullptr, &TForm1::CH21, 1},
    {MenuKind::Item, "EXT1", "EXT", nullptr, &TForm1::EXT1, 1},
    {MenuKind::SubMenu, "Edge1", "Edge", &TForm1::Edge1},
    {MenuKind::Item, "Rising1", "Rising", nullptr, &TForm1::Rising1, 2},
    {MenuKind::Item, "Falling2", "Falling", nullptr, &TForm1::Falling2, 2},
    {MenuKind::SubMenu, "Mode1", "Mode", &TForm1::Mode1},
    {MenuKind::Item, "Auto1", "Auto", nullptr, &TForm1::Auto1, 3},
    {MenuKind::Item, "Normal1", "Normal", nullptr, &TForm1::Normal1, 3},
    {MenuKind::SubMenu, "TriggerPosition1", "Trigger Position", &TForm1::TriggerPosition1},
    {MenuKind::Item, "POS10", "10%", nullptr, &TForm1::POS10, 4},
    {MenuKind::Item, "POS50", "50%", nullptr, &TForm1::POS50, 4},
    {MenuKind::Item, "POS90", "90%", nullptr, &TForm1::POS90, 4},
    {MenuKind::BarMenu, "Acquisition1", "Acquisition", &TForm1::Acquisition1},
    {MenuKind::Item, "Continuous", "Continuous", nullptr, &TForm1::Continuous, 5},
    {MenuKind::Item, "Single", "Single", nullptr, &TForm1::Single, 5},
    {MenuKind::Item, "RUNSTOP", "RUN/STOP", nullptr, &TForm1::RUNSTOP},
    {MenuKind::BarMenu, "Cursors1", "Cursors", &TForm1::Cursors1},
    {MenuKind::Item, "AllOff1", "All Off", nullptr, &TForm1::AllOff1},
    {MenuKind::Item, "VerticalON1", "Vertical ON", nullptr, &TForm1::VerticalON1},
    {MenuKind::Item, "HorizontalON1", "Horizontal ON", nullptr, &TForm1::HorizontalON1},
    {MenuKind::Item, "BothOn1", "Both ON", nullptr, &TForm1::BothOn1},
    {MenuKind::Item, "SnaptoPlotON1", "Snap to Plot ON", nullptr, &TForm1::SnaptoPlotON1},
    {MenuKind::BarMenu, "Display1", "Settings", &TForm1::Display1},
    {MenuKind::Item, "Properties1", "Display Properties...", nullptr, &TForm1::Properties1},
    {MenuKind::Item, "COMSettings1", "COM Settings...", nullptr, &TForm1::COMSettings1},
    {MenuKind::Item, "Calibrate1", "Calibrate Channels...", nullptr, &TForm1::Calibrate1},
    {MenuKind::Item, "LoadDefultSettings1", "Load Default Settings", nullptr, &TForm1::LoadDefultSettings1},
    {MenuKind::Item, "SaveSettingsToFile1", "Save Settings To File", nullptr, &TForm1::SaveSettingsToFile1},
    {MenuKind::Item, "LoadSettings1", "Load Settings From File", nullptr, &TForm1::LoadSettings1},
    {MenuKind::BarMenu, "ReferanceWaveform1", "Reference Waveform", &TForm1::ReferanceWaveform1},
    {MenuKind::Item, "SaveCH1Ref1", "Save CH1 Ref ", nullptr, &TForm1::SaveCH1Ref1},
    {MenuKind::Item, "SaveCH2Ref1", "Save CH2 Ref", nullptr, &TForm1::SaveCH2Ref1},
    {MenuKind::Item, "LoadReferance1", "Load Reference", nullptr, &TForm1::LoadReferance1},
    {MenuKind::Item, "ReferanceOFF1", "Reference OFF", nullptr, &TForm1::ReferanceOFF1},
    {MenuKind::BarMenu, "Records1", "Records", &TForm1::Records1},
    {MenuKind::Item, "PreviousRecord1", "Previous Record", nullptr, &TForm1::PreviousRecord1, 0, Qt::Key_PageUp},
    {MenuKind::Item, "NextRecord1", "Next Record", nullptr, &TForm1::NextRecord1, 0, Qt::Key_PageDown},
    {MenuKind::Item, "LatestRecord1", "Latest Record", nullptr, &TForm1::LatestRecord1, 0, Qt::Key_End},
    {MenuKind::Item, "SaveRecord1", "Save Record...", nullptr, &TForm1::SaveRecord1},
    {MenuKind::Item, "SaveHistory1", "Save History...", nullptr, &TForm1::SaveHistory1},
    {MenuKind::Item, "OpenRecord1", "Open Record...", nullptr, &TForm1::OpenRecord1},
    {MenuKind::Item, "ClearHistory1", "Clear History", nullptr, &TForm1::ClearHistory1},
    {MenuKind::BarMenu, "Analysis1", "Analysis", &TForm1::Analysis1},
    {MenuKind::Item, "MeasurementStatistics1", "Measurement Statistics", nullptr, &TForm1::MeasurementStatistics1},
    {MenuKind::SubMenu, "Average1", "Average", &TForm1::Average1},
    {MenuKind::Item, "AverageOff1", "Off", nullptr, nullptr, 6, Qt::Key_unknown, &TForm1::AverageItems, 1},
    {MenuKind::Item, "Average2", "2", nullptr, nullptr, 6, Qt::Key_unknown, &TForm1::AverageItems, 2},
    {MenuKind::Item, "Average4", "4", nullptr, nullptr, 6, Qt::Key_unknown, &TForm1::AverageItems, 4},
    {MenuKind::Item, "Average8", "8", nullptr, nullptr, 6, Qt::Key_unknown, &TForm1::AverageItems, 8},
    {MenuKind::Item, "Average16", "16", nullptr, nullptr, 6, Qt::Key_unknown, &TForm1::AverageItems, 16},
    {MenuKind::Item, "Average32", "32", nullptr, nullptr, 6, Qt::Key_unknown, &TForm1::AverageItems, 32},
    {MenuKind::Item, "Average64", "64", nullptr, nullptr, 6, Qt::Key_unknown, &TForm1::AverageItems, 64},
    {MenuKind::EndSubMenu, "", ""},
    {MenuKind::Item, "LogMeasurements1", "Log Measurements...", nullptr, &TForm1::LogMeasurements1},
    {MenuKind::Item, "StopLogging1", "Stop Logging", nullptr, &TForm1::StopLogging1},
    {MenuKind::Item, "TrendPlot1", "Trend Plot", nullptr, &TForm1::TrendPlot1},
    {MenuKind::BarMenu, "Help1", "Help", &TForm1::Help1},
    {MenuKind::Item, "About1", "About", nullptr, &TForm1::About1},
    {MenuKind::Item, "Help2", "Help", nullptr, &TForm1::Help2},
};

void TForm1::CreateMenu() {
  MainMenu1 = menuBar();
  MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
  QMenu* barMenu = nullptr;  // the menu on the bar being filled
  QMenu* current = nullptr;  // the menu items go into
  QHash<int, QActionGroup*> groups;
  for (const MenuEntry& e : MenuEntries) {
    const QString caption = QString::fromLatin1(e.caption);
    switch (e.kind) {
      case MenuKind::BarMenu:
        barMenu = current = MainMenu1->addMenu(caption);
        current->setObjectName(QString::fromLatin1(e.name));
        this->*e.menu = current;
        break;
      case MenuKind::SubMenu:
        current = barMenu->addMenu(caption);
        current->setObjectName(QString::fromLatin1(e.name));
        this->*e.menu = current;
        break;
      case MenuKind::EndSubMenu:
        current = barMenu;
        break;
      case MenuKind::Item: {
        QAction* a = current->addAction(caption);
        a->setObjectName(QString::fromLatin1(e.name));
        a->setEnabled(false);
        if (e.plainKey != Qt::Key_unknown) a->setShortcut(QKeySequence(e.plainKey));
        if (e.radioGroup != 0) {
          QActionGroup*& group = groups[e.radioGroup];
          if (group == nullptr) {
            group = new QActionGroup(this);
            group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
          }
          a->setCheckable(true);
          a->setChecked(false);
          group->addAction(a);
        }
        if (e.item != nullptr) this->*e.item = a;
        if (e.family != nullptr) {
          a->setData(e.data);
          (this->*e.family).append(a);
        }
        break;
      }
    }
  }
}

void TForm1::CreateTimers() {
  auto timer = [this](const char* name, int intervalMs) {
    auto* t = new QTimer(this);
    t->setObjectName(QString::fromLatin1(name));
    t->setInterval(intervalMs);
    t->setTimerType(Qt::PreciseTimer);
    return t;
  };
  Timer1 = timer("Timer1", 1000);
  Anoucer = timer("Anoucer", 300);
  StatStopResetTimer = timer("StatStopResetTimer", 80);
  TrigVoltLineTimer = timer("TrigVoltLineTimer", 3000);
  AboutTimer = timer("AboutTimer", 3000);
  connect(AboutTimer, &QTimer::timeout, this, Handler([this] { AboutTimerTimer(); }));
}

void TForm1::CreateRegions() {
  Panel2 = MakePanel(Client, QStringLiteral("Panel2"), Panel2Place, Qt::black, -3);
  // The status strip along the bottom of the bezel, under the trigger and
  // position strips (which end 463 pixels down the bezel).
  statusStrip_ = new StatusStrip(Panel2, Kit);
  // The control column: both knobs and the channel keys.
  verticalControls_ = new VerticalControls(Client, Kit);

  RunStopButton = new TImage(Client, QStringLiteral("RunStopButton"));
  RunStopButton->setGeometry(RunStopButtonPlace);

  measurementPanel_ = new MeasurementPanel(Client, Kit);

  comSettings_ = new ComSettingsPanel(Client, Kit);
  calibrationPanel_ = new CalibrationPanel(Client, Kit);
  nextRunNotice_ = new NextRunNotice(Client);
  aboutPanel_ = new AboutPanel(Client, Kit);
}

void TForm1::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (shownOnce_) return;
  shownOnce_ = true;
  Guard([this] { FormShow(); });
  const QString notice = SettingsRegistry.TakeDamageNotice();
  if (!notice.isEmpty()) Ui.ShowMessage(notice);
}

void TForm1::closeEvent(QCloseEvent* event) {
  Guard([this] { FormClose(); });
  event->accept();
}
