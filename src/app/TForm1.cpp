#include "app/TForm1.h"

#include "app/Errors.h"
#include "app/Paths.h"
#include "app/UnitInit.h"
#include "app/AboutPanel.h"
#include "connection/ComSettingsPanel.h"
#include "controls/CalibrationPanel.h"
#include "controls/NextRunNotice.h"
#include "display/StatusStrip.h"
#include "measure/MeasurementPanel.h"
#include "storage/SettingsStore.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

namespace {

// Which members make up each channel, in ChannelParts' order; Channel() reads
// this table, so a channel's parts are named once.
template <class T>
using Member = T TForm1::*;
struct ChannelMembers {
  QColor colour;
  Member<std::int32_t> vertPos, knobAngle, scale, voltsDiv;
  Member<QString> voltsDivText;
  Member<ScopeState::Flag> highRange;
  Member<std::int32_t> triggerV, calLow, calHigh, calOffset;
  Member<std::vector<std::int32_t>> persistence;
  Member<std::array<QColor, 256>> persistColors;
  Member<TImage*> marker, markerUnselected;
  Member<TPaintBox*> key;
  Member<QAction*> sourceItem;
};

constexpr ChannelMembers ChannelTable[] = {
    {QColor(0, 126, 255), &TForm1::CH1VertPos, &TForm1::CH1KnobAngle, &TForm1::CH1Scale,
     &TForm1::CH1VoltsDiv, &TForm1::CH1VoltsDivText, &TForm1::CH1HighRange,
     &TForm1::CH1TriggerV, &TForm1::CalCH1L, &TForm1::CalCH1H, &TForm1::CH1CalOffset,
     &TForm1::CH1Persistence, &TForm1::CH1PersistColors, &TForm1::Image1, &TForm1::CH1NS,
     &TForm1::CH1Button, &TForm1::CH11},
    {QColor(255, 0, 0), &TForm1::CH2VertPos, &TForm1::CH2KnobAngle, &TForm1::CH2Scale,
     &TForm1::CH2VoltsDiv, &TForm1::CH2VoltsDivText, &TForm1::CH2HighRange,
     &TForm1::CH2TriggerV, &TForm1::CalCH2L, &TForm1::CalCH2H, &TForm1::CH2CalOffset,
     &TForm1::CH2Persistence, &TForm1::CH2PersistColors, &TForm1::Image2, &TForm1::CH2NS,
     &TForm1::CH2Button, &TForm1::CH21},
};

// The window's regions, in the client area's pixels.
constexpr QSize ClientSize{976, 608};
constexpr QPoint DesignWindowPlace{261, 100};
constexpr QRect Panel2Place{0, 2, 558, 545};         // the screen bezel
constexpr QRect HorVerPanelPlace{559, 0, 225, 505};  // the control column
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
  return {number,
          m.colour,
          ChannelOn[static_cast<std::size_t>(number)],
          this->*m.vertPos,
          this->*m.knobAngle,
          this->*m.scale,
          this->*m.voltsDiv,
          this->*m.voltsDivText,
          this->*m.highRange,
          this->*m.triggerV,
          this->*m.calLow,
          this->*m.calHigh,
          this->*m.calOffset,
          this->*m.persistence,
          this->*m.persistColors,
          this->*m.marker,
          this->*m.markerUnselected,
          this->*m.key,
          this->*m.sourceItem};
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

void TForm1::CreateMenu() {
  MainMenu1 = menuBar();
  MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
  // Items exist from the start, disabled until their subsystem binds them.
  auto item = [this](QMenu* menu, const char* name, const QString& caption) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    a->setEnabled(false);
    return a;
  };
  auto menu = [](QMenu* parent, const char* name, const QString& caption) {
    QMenu* m = parent->addMenu(caption);
    m->setObjectName(QString::fromLatin1(name));
    return m;
  };
  auto radioGroup = [this](std::initializer_list<QAction*> items) {
    auto* group = new QActionGroup(this);
    group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (QAction* a : items) {
      a->setCheckable(true);
      a->setChecked(false);
      group->addAction(a);
    }
  };

  View1 = MainMenu1->addMenu(QStringLiteral("View"));
  View1->setObjectName(QStringLiteral("View1"));
  ResetHorizontalView1 = item(View1, "ResetHorizontalView1", QStringLiteral("Reset Horizontal View"));
  SaveViewasBMP1 = item(View1, "SaveViewasBMP1", QStringLiteral("Save View as BMP"));
  AutoMeasurementsON1 = item(View1, "AutoMeasurementsON1", QStringLiteral("Auto Measurements ON"));
  ExportData1 = item(View1, "ExportData1", QStringLiteral("Export Data To File"));
  PrintView1 = item(View1, "PrintView1", QStringLiteral("Print View"));

  Trigger1 = MainMenu1->addMenu(QStringLiteral("Trigger"));
  Trigger1->setObjectName(QStringLiteral("Trigger1"));
  Source1 = menu(Trigger1, "Source1", QStringLiteral("Source"));
  CH11 = item(Source1, "CH11", QStringLiteral("CH1"));
  CH21 = item(Source1, "CH21", QStringLiteral("CH2"));
  EXT1 = item(Source1, "EXT1", QStringLiteral("EXT"));
  radioGroup({CH11, CH21, EXT1});
  Edge1 = menu(Trigger1, "Edge1", QStringLiteral("Edge"));
  Rising1 = item(Edge1, "Rising1", QStringLiteral("Rising"));
  Falling2 = item(Edge1, "Falling2", QStringLiteral("Falling"));
  radioGroup({Rising1, Falling2});
  Mode1 = menu(Trigger1, "Mode1", QStringLiteral("Mode"));
  Auto1 = item(Mode1, "Auto1", QStringLiteral("Auto"));
  Normal1 = item(Mode1, "Normal1", QStringLiteral("Normal"));
  radioGroup({Auto1, Normal1});
  TriggerPosition1 = menu(Trigger1, "TriggerPosition1", QStringLiteral("Trigger Position"));
  POS10 = item(TriggerPosition1, "POS10", QStringLiteral("10%"));
  POS50 = item(TriggerPosition1, "POS50", QStringLiteral("50%"));
  POS90 = item(TriggerPosition1, "POS90", QStringLiteral("90%"));
  radioGroup({POS10, POS50, POS90});

  Acquisition1 = MainMenu1->addMenu(QStringLiteral("Acquisition"));
  Acquisition1->setObjectName(QStringLiteral("Acquisition1"));
  Continuous = item(Acquisition1, "Continuous", QStringLiteral("Continuous"));
  Single = item(Acquisition1, "Single", QStringLiteral("Single"));
  radioGroup({Continuous, Single});
  RUNSTOP = item(Acquisition1, "RUNSTOP", QStringLiteral("RUN/STOP"));

  Cursors1 = MainMenu1->addMenu(QStringLiteral("Cursors"));
  Cursors1->setObjectName(QStringLiteral("Cursors1"));
  AllOff1 = item(Cursors1, "AllOff1", QStringLiteral("All Off"));
  VerticalON1 = item(Cursors1, "VerticalON1", QStringLiteral("Vertical ON"));
  HorizontalON1 = item(Cursors1, "HorizontalON1", QStringLiteral("Horizontal ON"));
  BothOn1 = item(Cursors1, "BothOn1", QStringLiteral("Both ON"));
  SnaptoPlotON1 = item(Cursors1, "SnaptoPlotON1", QStringLiteral("Snap to Plot ON"));

  Display1 = MainMenu1->addMenu(QStringLiteral("Settings"));
  Display1->setObjectName(QStringLiteral("Display1"));
  Properties1 = item(Display1, "Properties1", QStringLiteral("Display Properties..."));
  COMSettings1 = item(Display1, "COMSettings1", QStringLiteral("COM Settings..."));
  Calibrate1 = item(Display1, "Calibrate1", QStringLiteral("Calibrate Channels..."));
  LoadDefultSettings1 = item(Display1, "LoadDefultSettings1", QStringLiteral("Load Default Settings"));
  SaveSettingsToFile1 = item(Display1, "SaveSettingsToFile1", QStringLiteral("Save Settings To File"));
  LoadSettings1 = item(Display1, "LoadSettings1", QStringLiteral("Load Settings From File"));

  ReferanceWaveform1 = MainMenu1->addMenu(QStringLiteral("Reference Waveform"));
  ReferanceWaveform1->setObjectName(QStringLiteral("ReferanceWaveform1"));
  SaveCH1Ref1 = item(ReferanceWaveform1, "SaveCH1Ref1", QStringLiteral("Save CH1 Ref "));
  SaveCH2Ref1 = item(ReferanceWaveform1, "SaveCH2Ref1", QStringLiteral("Save CH2 Ref"));
  LoadReferance1 = item(ReferanceWaveform1, "LoadReferance1", QStringLiteral("Load Reference"));
  ReferanceOFF1 = item(ReferanceWaveform1, "ReferanceOFF1", QStringLiteral("Reference OFF"));

  Help1 = MainMenu1->addMenu(QStringLiteral("Help"));
  Help1->setObjectName(QStringLiteral("Help1"));
  About1 = item(Help1, "About1", QStringLiteral("About"));
  Help2 = item(Help1, "Help2", QStringLiteral("Help"));
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
  HorVerPanel = MakePanel(Client, QStringLiteral("HorVerPanel"), HorVerPanelPlace);

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
