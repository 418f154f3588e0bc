#pragma once
// What the window benchmarks share: the panel they capture with, a window
// holding a record to draw, and a main that gives each run a settings folder
// of its own so no benchmark touches the user's settings.

#include "app/TForm1.h"
#include "app/UiServices.h"
#include "app/UnitInit.h"
#include "support/CapturePanel.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QAction>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

// The capture tests' panel, continuous. In Normal mode the level is 4 V,
// which held inputs never reach.
inline void SetContinuousPanel(TForm1& f, bool autoTrigger) {
  ScopeDriver scope(f);
  SetCapturePanel(f);
  if (!autoTrigger) {
    scope.State().AutoTrigger = 0;
    scope.State().CH1TriggerV = 50;
  }
  ScopeDriver(f).MenuItem(QStringLiteral("Continuous"))->trigger();
}

// A stopped window holding a record: a sine on CH1 and a faster cosine on
// CH2, both channels on, 100 pixels per 100 counts at capture, the two-channel
// layout of time base row 5. The connection watch is off.
struct HeldRecordWindow {
  ScriptedUi ui;
  std::unique_ptr<ScopeUnit> unit = InitializeUnit();
  std::unique_ptr<TForm1> form = std::make_unique<TForm1>(*unit, ui);
  ScopeDriver scope{*form};

  HeldRecordWindow() {
    TForm1::SetEnabled(ScopeDriver(*form).Timer(QStringLiteral("Timer1")), false);
    for (int i = 1; i <= 3000; ++i) {
      scope.State().HeldRecord.ch1[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(128 + 100 * std::sin(i / 23.0));
      scope.State().HeldRecord.ch2[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(128 + 90 * std::cos(i / 7.0));
    }
    scope.State().ChannelOn[1] = scope.State().ChannelOn[2] = 1;
    scope.State().CH1Focus = 1;
    scope.State().CH1VertPos = 150;
    scope.State().CH2VertPos = 250;
    scope.State().HeldRecord.channels[0].scale = scope.State().HeldRecord.channels[1].scale = 100;
    scope.State().HeldRecord.SetTimeBase(5, false);
    scope.State().Running = 0;
  }
};

// Runs the benchmarks named on the command line; atEnd runs before the
// application goes (a window kept across benchmarks is closed there).
inline int RunWindowBenchmarks(int argc, char** argv, const std::function<void()>& atEnd = {}) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir config;
  qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (atEnd) atEnd();
  return 0;
}
