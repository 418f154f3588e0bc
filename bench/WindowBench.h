#pragma once
// What the window benchmarks against a simulated instrument share: the panel
// they capture with, and a main that gives each run a settings folder of its
// own so no benchmark touches the user's settings.

#include "app/TForm1.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QAction>

#include <benchmark/benchmark.h>

// Both channels on the 5 V/div row at 1 ms/div, CH1 rising edge, continuous.
// In Normal mode the level is 4 V, which held inputs never reach.
inline void SetContinuousPanel(TForm1& f, bool autoTrigger) {
  f.TimeBaseIndex = 3;
  f.Rate1MS = 0;
  f.ChannelOn[1] = f.ChannelOn[2] = 1;
  f.CH1HighRange = f.CH2HighRange = 1;
  f.CH1Scale = f.CH2Scale = 78;
  f.CH1VertPos = 150;
  f.CH2VertPos = 300;
  f.TriggerCH = 1;
  f.RisingTrigger = 1;
  f.AutoTrigger = autoTrigger ? 1 : 0;
  f.CH1TriggerV = autoTrigger ? 0 : 50;
  f.Continuous->trigger();
}

inline int RunWindowBenchmarks(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir config;
  qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
