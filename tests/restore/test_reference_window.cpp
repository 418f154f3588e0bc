// Reference waveforms on the real window: a captured trace saved and loaded
// lies on the same screen rows whatever the knobs and markers did since; a
// load at another time base switches it and locks the knob until Reference
// OFF; a bad file, a cancelled dialog or a save before any capture changes
// nothing; the settings loads switch a reference off.

#include "RestoreFixture.h"

#include "display/SampleRows.h"
#include "sim/SimServer.h"
#include "storage/HeldRecord.h"
#include "storage/ReferenceFile.h"
#include "storage/TextLines.h"
#include "support/Mouse.h"
#include "support/ScopeWindow.h"

#include <QAction>
#include <QFile>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

using namespace reference_file;

constexpr int Angle100us = 138;
constexpr int Angle1ms = 210;
constexpr int Angle2ms = 234;

// A dialog that hands back its answer and then loses the file, as when
// another program removes it between the choice and the read.
struct VanishingUi : ScriptedUi {
  QString vanishing;
  QString OpenFileName(const QString& filter, const QString& extension) override {
    const QString path = ScriptedUi::OpenFileName(filter, extension);
    if (!vanishing.isEmpty() && path == vanishing) QFile::remove(path);
    return path;
  }
};

// The window on the test's own store, the connection watch stopped.
struct ReferenceWindow {
  VanishingUi ui;
  std::unique_ptr<ScopeUnit> unit = InitializeUnit();
  std::unique_ptr<TForm1> form = std::make_unique<TForm1>(*unit, ui);
  ScopeDriver scope{*form};
  ReferenceWindow() {
    TForm1::SetEnabled(ScopeDriver(*form).Timer(QStringLiteral("Timer1")), false);
    form->show();
    QCoreApplication::processEvents();
  }
  ~ReferenceWindow() {
    form->State().Running = 0;
    form->close();
  }
  std::string Errors() const { return ui.errors.join(QStringLiteral(" | ")).toStdString(); }
};

class ReferenceOnWindow : public RestoreFixture {
 protected:
  QString Path(const char* name) const { return ConfigHome() + u'/' + QLatin1String(name); }

  static void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
  }

  // A reference file as the program writes it, with rows of its own.
  static QByteArray ReferenceBytes(int angle, std::int32_t firstRow) {
    Reference r;
    r.timeKnobAngle = angle;
    r.viewStart = 503;
    r.viewEnd = 999;
    for (int k = 0; k < RowCount; ++k) r.rows[std::size_t(k)] = firstRow + k % 50;
    return text_lines::JoinLines(Lines(r)).toUtf8();
  }
};

// What a load may change, as the panel shows it.
QStringList Panel(const ScopeDriver& scope) {
  return scope.Snapshot().Lines({"CH1 marker top", "CH2 marker top", "TimeKnobAngle", "TimeBaseIndex", "CH1KnobAngle",
                           "CH2KnobAngle", "CH1On", "CH2On", "TriggerCH", "HorTrigPos left", "ReferenceOn",
                           "time knob enabled", "reference sign shown"});
}

// One single capture of the simulator, held once it has been drawn.
void CaptureOnce(TForm1& f) {
  ScopeDriver scope(f);
  ScopeDriver(f).MenuItem(QStringLiteral("Single"))->trigger();
  ScopeDriver(f).MenuItem(QStringLiteral("RUNSTOP"))->trigger();
  ASSERT_TRUE(WaitFor([&] { return scope.State().Running == 0 && scope.State().AwaitingData == 0 && scope.State().PlotValid == 1; }, 20000));
}

// A turn of the time base knob as a hand does it, to the pointer angle.
void TurnTimeKnobTo(TForm1& f, int degrees) {
  ScopeDriver scope(f);
  const double t = degrees * std::numbers::pi / 180;
  const QPoint at(112 + int(std::lround(80 * std::cos(t))), 112 + int(std::lround(80 * std::sin(t))));
  SendMouse(scope.TimeKnob(), QEvent::MouseButtonPress, at);
  SendMouse(scope.TimeKnob(), QEvent::MouseMove, at);
  SendMouse(scope.TimeKnob(), QEvent::MouseButtonRelease, at);
}

QRgb PixelRgb(const QImage& image, int column, int row) { return image.pixel(column, row) & 0xFFFFFF; }
QRgb Rgb(screen_model::TColor c) {
  const screen_model::Rgb rgb = screen_model::RgbOf(c);
  return QRgb(rgb.red << 16 | rgb.green << 8 | rgb.blue);
}

TEST_F(ReferenceOnWindow, ASavedTraceComesBackOnTheSameRowsAfterTheMarkerAndVoltsDivMoved) {
  sim::SimServer server{sim::SimConfig{}};
  ReferenceWindow w;
  TForm1& f = *w.form;
  ScopeDriver& scope = w.scope;
  ASSERT_TRUE(f.SerialPort.Open(server.SlavePath(), "9600", "NONE", "8", false));
  scope.State().KnobAngle = 315;  // CH1 at 2 V/div: the 8 V sine spans half the screen
  scope.SettleVoltsKnob();
  CaptureOnce(f);
  ASSERT_TRUE(w.ui.errors.isEmpty()) << w.Errors();

  // The volts/div and time/div turn while stopped: the trace stays drawn at
  // the scale and time base of its capture, and the reference must follow
  // the trace, not the knobs.
  scope.State().KnobAngle = 270;
  scope.SettleVoltsKnob();
  TurnTimeKnobTo(f, Angle1ms);
  ASSERT_EQ(scope.State().TimeKnobAngle, Angle1ms);
  ASSERT_NE(scope.State().CH1Scale, scope.State().HeldRecord.channels[0].scale);
  scope.DrawHeldRecord();
  struct Point {
    int column, row;
  };
  std::vector<Point> onTrace;
  for (std::int32_t i = scope.State().ViewStart; i <= scope.State().ViewEnd; i += 7) {
    const int row =
        screen_model::SampleRow(scope.State().HeldRecord.ch1[std::size_t(i)], scope.State().CH1VertPos, scope.State().HeldRecord.channels[0].scale, scope.State().CH1CalOffset);
    if (row < 0 || row > 399) continue;
    const int column = 2 + (i - scope.State().ViewStart);
    ASSERT_EQ(PixelRgb(f.PlotBitmap, column, row), Rgb(screen_model::CH1Color)) << column << ", " << row;
    onTrace.push_back({column, row});
  }
  ASSERT_GT(onTrace.size(), 60u);

  // Cancelled, nothing is written; confirmed, the rows of the trace.
  const QString file = Path("ch1.txt");
  ScopeDriver(f).MenuItem(QStringLiteral("SaveCH1Ref1"))->trigger();
  EXPECT_FALSE(QFile::exists(file));
  w.ui.saveAnswers.push_back(file);
  ScopeDriver(f).MenuItem(QStringLiteral("SaveCH1Ref1"))->trigger();
  ASSERT_TRUE(w.ui.errors.isEmpty()) << w.Errors();
  const QByteArray bytes = FileBytes(file);
  EXPECT_EQ(bytes.count("\r\n"), LineCount);
  EXPECT_EQ(bytes.count('\n'), LineCount);
  const std::optional<Reference> saved = Parse(text_lines::SplitLines(QString::fromUtf8(bytes)));
  ASSERT_TRUE(saved);
  EXPECT_EQ(saved->timeKnobAngle, Angle100us);
  EXPECT_EQ(saved->viewStart, scope.State().ViewStart);
  EXPECT_EQ(saved->viewEnd, scope.State().ViewEnd);
  // The knob's present scale would have put the rows elsewhere.
  EXPECT_NE(saved->rows, RowsOf({scope.State().HeldRecord.ch1, scope.State().CH1VertPos, scope.State().CH1Scale, scope.State().CH1CalOffset}));

  // The marker moves, the knob turns again; the reference stays put.
  SetTop(scope.Marker(1), scope.State().CH1VertPos + 60);
  scope.State().CH1VertPos = Top(scope.Marker(1));
  scope.State().KnobAngle = 225;
  scope.SettleVoltsKnob();
  w.ui.openAnswers.push_back(file);
  ScopeDriver(f).MenuItem(QStringLiteral("LoadReferance1"))->trigger();
  ASSERT_TRUE(w.ui.errors.isEmpty()) << w.Errors();
  ASSERT_EQ(scope.State().ReferenceOn, 1);
  CaptureOnce(f);
  ASSERT_TRUE(w.ui.errors.isEmpty()) << w.Errors();
  for (const Point& p : onTrace)
    EXPECT_EQ(PixelRgb(f.PlotBitmap, p.column, p.row), Rgb(screen_model::ReferenceColor)) << p.column << ", " << p.row;

  // Switched off, the held record is shown again without it.
  ScopeDriver(f).MenuItem(QStringLiteral("ReferanceOFF1"))->trigger();
  int green = 0;
  for (int row = 0; row < 400; ++row)
    for (int column = 0; column < 500; ++column)
      green += PixelRgb(f.PlotBitmap, column, row) == Rgb(screen_model::ReferenceColor);
  EXPECT_EQ(green, 0);
  EXPECT_TRUE(w.ui.errors.isEmpty()) << w.Errors();
}

TEST_F(ReferenceOnWindow, AReferenceSavedAtOneMillisecondLocksTheKnobThereUntilReferenceOff) {
  ReferenceWindow w;
  TForm1& f = *w.form;
  ScopeDriver& scope = w.scope;
  ASSERT_EQ(scope.State().TimeKnobAngle, Angle100us);
  const int storedTrigPos = f.SettingsRegistry.ReadInteger(QStringLiteral("TrigPos"));
  SetLeft(ScopeDriver(f).Find<TImage>(QStringLiteral("HorTrigPos")), storedTrigPos + 100);
  SetTop(scope.Marker(2), 333);  // the panel as it stands goes into the store
  const QString file = Path("1ms.txt");
  WriteBytes(file, ReferenceBytes(Angle1ms, -30));

  w.ui.openAnswers.push_back(file);
  ScopeDriver(f).MenuItem(QStringLiteral("LoadReferance1"))->trigger();
  ASSERT_TRUE(w.ui.errors.isEmpty()) << w.Errors();
  EXPECT_EQ(w.ui.messages, QStringList{QLatin1String(TimeBaseLockedMessage)});
  EXPECT_EQ(scope.State().TimeBaseIndex, 6);
  EXPECT_EQ(scope.State().TimeDivText, QStringLiteral("1ms/DIV"));
  EXPECT_EQ(f.SettingsRegistry.ReadInteger(QStringLiteral("Angle")), Angle1ms);
  EXPECT_EQ(f.SettingsRegistry.ReadInteger(QStringLiteral("CH2VertPos")), 333);
  EXPECT_EQ(f.SettingsRegistry.ReadInteger(QStringLiteral("TrigPos")), storedTrigPos);
  EXPECT_EQ(Left(ScopeDriver(f).Find<TImage>(QStringLiteral("HorTrigPos"))), storedTrigPos);
  EXPECT_EQ(Top(scope.Marker(2)), 333);
  EXPECT_EQ(scope.State().ReferenceOn, 1);
  EXPECT_EQ(scope.State().ReferenceRows[0], -30);
  EXPECT_EQ(scope.State().ReferenceRows[3000], -30);
  EXPECT_EQ(scope.State().ReferenceRows[49], 19);
  EXPECT_EQ(f.ReferenceViewStart, 503);
  EXPECT_EQ(f.ReferenceViewEnd, 999);
  EXPECT_FALSE(scope.TimeKnob()->isEnabled());
  EXPECT_TRUE(scope.ReferenceLockSign()->isVisible());
  EXPECT_EQ(scope.ReferenceLockSign()->geometry(), QRect(100, 100, 22, 22));
  EXPECT_EQ(scope.ReferenceLockSign()->parentWidget(), scope.TimeKnobPanel());
  EXPECT_FALSE(scope.ReferenceLockSign()->Picture().isNull());

  // The knob takes no turn while locked.
  TurnTimeKnobTo(f, Angle2ms);
  EXPECT_EQ(scope.State().TimeKnobAngle, Angle1ms);
  EXPECT_EQ(scope.State().TimeBaseIndex, 6);

  // A second reference replaces the rows and keeps the knob locked.
  WriteBytes(file, ReferenceBytes(Angle1ms, 200));
  w.ui.openAnswers.push_back(file);
  ScopeDriver(f).MenuItem(QStringLiteral("LoadReferance1"))->trigger();
  EXPECT_EQ(scope.State().ReferenceRows[0], 200);
  EXPECT_FALSE(scope.TimeKnob()->isEnabled());

  ScopeDriver(f).MenuItem(QStringLiteral("ReferanceOFF1"))->trigger();
  EXPECT_EQ(scope.State().ReferenceOn, 0);
  EXPECT_TRUE(scope.TimeKnob()->isEnabled());
  EXPECT_FALSE(scope.ReferenceLockSign()->isVisibleTo(scope.TimeKnobPanel()));
  EXPECT_EQ(scope.State().TimeBaseIndex, 6);
  EXPECT_EQ(scope.State().ReferenceRows[0], 200);
  // A second Reference OFF finds nothing to do.
  ScopeDriver(f).MenuItem(QStringLiteral("ReferanceOFF1"))->trigger();
  EXPECT_EQ(scope.State().ReferenceOn, 0);
  // Free again, the same turn moves it.
  TurnTimeKnobTo(f, Angle2ms);
  EXPECT_EQ(scope.State().TimeKnobAngle, Angle2ms);
  EXPECT_TRUE(w.ui.errors.isEmpty()) << w.Errors();
}

TEST_F(ReferenceOnWindow, NothingIsSavedBeforeTheFirstRecordAndACancelledLoadChangesNothing) {
  ReferenceWindow w;
  TForm1& f = *w.form;
  ScopeDriver& scope = w.scope;
  const QString file = Path("early.txt");
  for (QAction* save : {ScopeDriver(f).MenuItem(QStringLiteral("SaveCH1Ref1")), ScopeDriver(f).MenuItem(QStringLiteral("SaveCH2Ref1"))}) {
    w.ui.errors.clear();
    w.ui.saveAnswers = {file};
    save->trigger();
    EXPECT_EQ(w.ui.errors, QStringList{QLatin1String(held_record::NothingToSaveYet)});
    EXPECT_EQ(w.ui.saveAnswers.size(), 1u) << "no dialog is shown";
    EXPECT_FALSE(QFile::exists(file));
  }

  const QStringList panel = Panel(scope);
  const QByteArray store = FileBytes(f.SettingsRegistry.FilePath());
  w.ui.errors.clear();
  ScopeDriver(f).MenuItem(QStringLiteral("LoadReferance1"))->trigger();  // no answer queued: cancelled
  EXPECT_TRUE(w.ui.errors.isEmpty()) << w.Errors();
  EXPECT_TRUE(w.ui.messages.isEmpty());
  EXPECT_EQ(Panel(scope), panel);
  EXPECT_EQ(FileBytes(f.SettingsRegistry.FilePath()), store);
}

TEST_F(ReferenceOnWindow, ABadFileChangesNeitherStoreNorPanelNorReference) {
  ReferenceWindow w;
  TForm1& f = *w.form;
  ScopeDriver& scope = w.scope;
  const QByteArray good = ReferenceBytes(Angle1ms, 10);
  const QByteArray other = ReferenceBytes(Angle2ms, 300);
  QList<QByteArray> lines = good.split('\n');
  auto withLine = [&lines](int line, const QByteArray& text) {
    QList<QByteArray> l = lines;
    l[line - 1] = text + '\r';
    return l.join('\n');
  };
  const QString bad = Path("bad.txt");
  const QString wrongFile = QLatin1String(WrongFileMessage);
  struct Case {
    const char* what;
    QByteArray content;
    QString error;    // the error box, or
    QString message;  // the program's own message
  };
  const Case cases[] = {
      {"a short file", lines.mid(0, 3000).join('\n'), QStringLiteral("List index out of bounds (3000)"), {}},
      {"a word in the last row", withLine(LineCount, "end"), QStringLiteral("'end' is not a valid integer value"), {}},
      {"a word for the angle", withLine(2, "slow"), QStringLiteral("'slow' is not a valid integer value"), {}},
      {"an angle past the knob", withLine(2, "720"),
       QStringLiteral("Line 2 of the reference file holds 720, which the time base knob cannot show; nothing was "
                      "loaded"),
       {}},
      {"a header in other case", withLine(1, "TESSARON USB OSCILLOSCOPE REFERANCE FILE"), {}, wrongFile},
      {"garbage text", QByteArray("hello\r\nworld\r\n"), {}, wrongFile},
      {"binary garbage", QByteArray("\x00\x01\xff\xfe\r\n\x7f", 7), {}, wrongFile},
      {"an empty file", QByteArray(), {}, wrongFile},
  };

  // From no reference and from one already on: neither the store, the
  // panel, the reference's rows nor the lock move.
  const QString on = Path("on.txt");
  WriteBytes(on, other);
  for (const bool referenceOn : {false, true}) {
    SCOPED_TRACE(referenceOn ? "with a reference on" : "with no reference");
    if (referenceOn) {
      w.ui.openAnswers.push_back(on);
      ScopeDriver(f).MenuItem(QStringLiteral("LoadReferance1"))->trigger();
      ASSERT_EQ(scope.State().ReferenceOn, 1);
    }
    w.ui.errors.clear();
    w.ui.messages.clear();
    const QStringList panel = Panel(scope);
    const auto rows = scope.State().ReferenceRows;
    const QByteArray store = FileBytes(f.SettingsRegistry.FilePath());
    auto expectNothingChanged = [&] {
      EXPECT_EQ(FileBytes(f.SettingsRegistry.FilePath()), store);
      EXPECT_EQ(Panel(scope), panel);
      EXPECT_EQ(scope.State().ReferenceRows, rows);
    };
    for (const Case& c : cases) {
      SCOPED_TRACE(c.what);
      WriteBytes(bad, c.content);
      w.ui.errors.clear();
      w.ui.messages.clear();
      w.ui.openAnswers.push_back(bad);
      ScopeDriver(f).MenuItem(QStringLiteral("LoadReferance1"))->trigger();
      EXPECT_EQ(w.ui.errors, c.error.isEmpty() ? QStringList{} : QStringList{c.error});
      EXPECT_EQ(w.ui.messages, c.message.isEmpty() ? QStringList{} : QStringList{c.message});
      expectNothingChanged();
    }
    // Too large to be a reference: not read at all.
    {
      SCOPED_TRACE("a 50 MB file");
      QFile huge(bad);
      ASSERT_TRUE(huge.open(QIODevice::WriteOnly | QIODevice::Truncate));
      ASSERT_TRUE(huge.write(good));
      ASSERT_TRUE(huge.resize(50 * 1024 * 1024));
      huge.close();
      w.ui.errors.clear();
      w.ui.openAnswers.push_back(bad);
      ScopeDriver(f).MenuItem(QStringLiteral("LoadReferance1"))->trigger();
      EXPECT_EQ(w.ui.errors, QStringList{QStringLiteral("Cannot open file %1").arg(bad)});
      expectNothingChanged();
    }
    {
      SCOPED_TRACE("a file gone between the dialog and the read");
      WriteBytes(bad, good);
      w.ui.vanishing = bad;
      w.ui.errors.clear();
      w.ui.openAnswers.push_back(bad);
      ScopeDriver(f).MenuItem(QStringLiteral("LoadReferance1"))->trigger();
      w.ui.vanishing.clear();
      EXPECT_FALSE(QFile::exists(bad));
      EXPECT_EQ(w.ui.errors, QStringList{QStringLiteral("Cannot open file %1").arg(bad)});
      expectNothingChanged();
    }
  }
}

TEST_F(ReferenceOnWindow, LoadingSettingsSwitchesTheReferenceOffBeforeTheTimeBaseChanges) {
  ReferenceWindow w;
  TForm1& f = *w.form;
  ScopeDriver& scope = w.scope;
  // A settings file at 2 ms/div.
  scope.State().KnobAngle = Angle2ms;
  scope.SettleTimeKnob();
  const QString settings = Path("settings.txt");
  w.ui.saveAnswers.push_back(settings);
  ScopeDriver(f).MenuItem(QStringLiteral("SaveSettingsToFile1"))->trigger();
  const QString reference = Path("1ms.txt");
  WriteBytes(reference, ReferenceBytes(Angle1ms, 50));
  auto loadReference = [&] {
    w.ui.openAnswers.push_back(reference);
    ScopeDriver(f).MenuItem(QStringLiteral("LoadReferance1"))->trigger();
    ASSERT_EQ(scope.State().ReferenceOn, 1);
    ASSERT_EQ(scope.State().TimeBaseIndex, 6);
  };
  auto expectOff = [&] {
    EXPECT_EQ(scope.State().ReferenceOn, 0);
    EXPECT_TRUE(scope.TimeKnob()->isEnabled());
    EXPECT_FALSE(scope.ReferenceLockSign()->isVisibleTo(scope.TimeKnobPanel()));
  };

  loadReference();
  // A settings file that does not load leaves the reference as it was.
  const QString bad = Path("bad-settings.txt");
  WriteBytes(bad, "COM1\r\nnot a number\r\n");
  w.ui.openAnswers.push_back(bad);
  ScopeDriver(f).MenuItem(QStringLiteral("LoadSettings1"))->trigger();
  EXPECT_EQ(w.ui.errors, QStringList{QStringLiteral("List index out of bounds (3)")});
  EXPECT_EQ(scope.State().ReferenceOn, 1);
  EXPECT_FALSE(scope.TimeKnob()->isEnabled());
  w.ui.errors.clear();

  w.ui.openAnswers.push_back(settings);
  ScopeDriver(f).MenuItem(QStringLiteral("LoadSettings1"))->trigger();
  expectOff();
  EXPECT_EQ(scope.State().TimeKnobAngle, Angle2ms);

  loadReference();
  ScopeDriver(f).MenuItem(QStringLiteral("LoadDefultSettings1"))->trigger();
  expectOff();
  EXPECT_EQ(scope.State().TimeKnobAngle, Angle100us);
  EXPECT_TRUE(w.ui.errors.isEmpty()) << w.Errors();
}

}  // namespace
