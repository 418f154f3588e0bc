#pragma once
// Test fixtures for the real main window: build it in three lines and wait
// for conditions instead of sleeping.
//
//   ScopeWindow w;                       // unit, scripted dialogs, window shown
//   w.scope.PressRun();
//   ASSERT_TRUE(WaitFor([&] { return w.scope.State().Running == 0; }));

#include "window/TForm1.h"
#include "support/QtPrint.h"
#include "support/ScopeDriver.h"
#include "app/UiServices.h"
#include "window/UnitInit.h"
#include "support/WaitFor.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <functional>
#include <memory>

struct ScopeWindow {
  // The settings store the window restores from and saves to at close. By
  // default a folder of its own, so a window never starts with the panel an
  // earlier test closed; FromEnvironment takes the store under the
  // XDG_CONFIG_HOME the test has set (tests of the restore and the save).
  enum class Store { Fresh, FromEnvironment };

  QTemporaryDir freshConfig;
  ScriptedUi ui;
  std::unique_ptr<ScopeUnit> unit;
  std::unique_ptr<TForm1> form;
  // The window as a user works it; tests reach the window through it.
  ScopeDriver scope;

  // With stopWatch set, the connection watch (Timer1) is stopped right after
  // the window is built, so a test drives the port alone.
  explicit ScopeWindow(bool show = true, bool stopWatch = false, Store store = Store::Fresh) {
    if (store == Store::Fresh) {
      // The store finds its folder when it is opened, in InitializeUnit.
      const QByteArray previous = qgetenv("XDG_CONFIG_HOME");
      qputenv("XDG_CONFIG_HOME", QFile::encodeName(freshConfig.path()));
      unit = InitializeUnit();
      qputenv("XDG_CONFIG_HOME", previous);
    } else {
      unit = InitializeUnit();
    }
    form = std::make_unique<TForm1>(*unit, ui);
    scope = ScopeDriver(*form);
    if (stopWatch) TForm1::SetEnabled(ScopeDriver(*form).Timer(QStringLiteral("Timer1")), false);
    if (show) {
      form->show();
      QCoreApplication::processEvents();
    }
  }
  ~ScopeWindow() {
    if (form) {
      form->State().Running = 0;
      form->close();
      form.reset();
    }
  }
  TForm1* operator->() const { return form.get(); }
};

// One tick of the connection watch, waited for to its end: the link asks the
// instrument who it is and reads the answer as it comes. False when the
// exchange had not ended after `timeoutMs`.
inline bool WatchTick(TForm1& form, int timeoutMs = 5000) {
  form.Timer1Timer();
  return WaitFor([&] { return !form.Link.Exchanging(); }, timeoutMs);
}

// What a script's time-out does: a run still going is stopped as STOP does,
// so a failing test ends instead of hanging.
inline void StopIfRunning(TForm1& form) {
  if (form.State().Running == 1) form.Guard([&] { form.RunStopClick(); });
}

