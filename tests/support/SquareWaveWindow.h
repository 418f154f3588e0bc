#pragma once
// The real window on the in-process simulated instrument with the signals
// a test names on its two inputs, auto trigger, single capture, the
// connection watch stopped. For tests of what is read from a captured record.
// SquareWaveWindow: both inputs square waves each well inside the range it
// is captured on (CH1 2 kHz +-2.5 V, CH2 1 kHz +-0.5 V).
//
//   class MyTest : public SquareWaveWindow {};
//   Knob(1, angle); TimeKnob(angle); ASSERT_NO_FATAL_FAILURE(Capture());

#include "sim/SimServer.h"
#include "support/ScopeWindow.h"

#include <gtest/gtest.h>

#include <QAction>

#include <memory>
#include <string>

class SimulatedInputsWindow : public ::testing::Test {
 protected:
  SimulatedInputsWindow(const sim::SignalSource& ch1, const sim::SignalSource& ch2) {
    config_.inputs.ch1 = ch1;
    config_.inputs.ch2 = ch2;
    server_ = std::make_unique<sim::SimServer>(config_);
    if (!f.SerialPort.Open(server_->SlavePath(), "9600", "NONE", "8", false)) ADD_FAILURE() << "no simulator";
    // Auto mode, so each capture is answered at once.
    scope.ChooseAutoTrigger();
    scope.ChooseSingle();
  }

  // The volts knob of a channel, or the time knob, turned to a detent.
  void Knob(int channel, int angle) {
    scope.PressChannelKey(channel);
    scope.State().KnobAngle = angle;
    scope.SettleVoltsKnob();
  }
  void TimeKnob(int angle) {
    scope.State().KnobAngle = angle;
    scope.SettleTimeKnob();
  }
  // One capture, waited for to its end.
  void Capture() {
    const std::uint64_t before = scope.State().HeldRecord.sequence;
    ScopeDriver(f).MenuItem(QStringLiteral("RUNSTOP"))->trigger();
    ASSERT_TRUE(WaitFor([&] { return scope.State().Running == 0 && scope.State().AwaitingData == 0 && scope.State().HeldRecord.sequence > before; }, 20000))
        << Errors();
  }
  std::string Errors() const { return w.ui.errors.join('\n').toStdString(); }

  sim::SimConfig config_;
  std::unique_ptr<sim::SimServer> server_;
  ScopeWindow w{true, /*stopWatch=*/true};
  TForm1& f = *w.form;
  ScopeDriver& scope = w.scope;
};

class SquareWaveWindow : public SimulatedInputsWindow {
 protected:
  SquareWaveWindow()
      : SimulatedInputsWindow({sim::Shape::Square, 2000.0, 2.5, 0.0}, {sim::Shape::Square, 1000.0, 0.5, 0.0}) {}
};
