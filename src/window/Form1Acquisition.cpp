// The acquisition widgets and their bindings: the run/stop key, the status
// picture in the strip under the screen, the Acquisition menu and the two
// acquisition timers.
#include "window/TForm1.h"
#include "display/StatusStrip.h"

#include "acquisition/CaptureProtocol.h"
#include "acquisition/RunStopPictures.h"
#include "app/Errors.h"

#include <QAction>
#include <QProgressBar>
#include <QTimer>


void TForm1::BuildAcquisition() {
  // The pictures the window is designed with: RUN on the key, stopped in the
  // strip. Without the artwork they stay blank; the first RUN reports the
  // missing file.
  try {
    ShowBitmap(RunStopButton, run_stop::PicturePath(run_stop::RunButtonBitmap));
    statusStrip_->ShowRunStatus(run_stop::PicturePath(run_stop::StopStatusBitmap));
  } catch (const ScopeError&) {
  }

  RunStopButton->setCursor(Qt::PointingHandCursor);
  RunStopButton->mouse.OnClick = Handler([this] { RunStopClick(); });
  Bind(RUNSTOP, &TForm1::RunStopClick);
  Bind(Continuous, &TForm1::ContinuousClick);
  Bind(Single, &TForm1::SingleClick);

  connect(Anoucer, &QTimer::timeout, this, Handler([this] { AnoucerTimer(); }));
  connect(StatStopResetTimer, &QTimer::timeout, this,
          Handler([this] { StatStopResetTimerTimer(); }));

  ConnectLink();
}
