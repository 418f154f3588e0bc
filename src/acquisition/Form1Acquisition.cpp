// The acquisition widgets and their bindings: the run/stop key, the status
// picture in the strip under the screen, the Acquisition menu and the two
// acquisition timers.
#include "app/TForm1.h"

#include "acquisition/CaptureProtocol.h"
#include "acquisition/RunStopPictures.h"
#include "app/Errors.h"

#include <QAction>
#include <QProgressBar>
#include <QTimer>

namespace {

// Image12 sits at the right end of the status strip, clear of the cursor
// readouts (which end 495 pixels in) and of the connection indicator.
constexpr int Image12Left = 518;
constexpr int Image12Top = 6;
constexpr int StatusPictureSize = 25;
// The reply's progress: a thin bar just under the status picture.
constexpr int ReplyProgressLeft = 514;
constexpr int ReplyProgressTop = 33;
constexpr int ReplyProgressWidth = 33;
constexpr int ReplyProgressHeight = 4;
// The notice of a reply that stopped half way: the lower right corner, under
// the reply's progress and right of the voltage cursor readouts.
constexpr QRect ReplyNoticePlace{497, 40, 55, 38};
constexpr int ReplyNoticePixelSize = 9;
constexpr QColor NoticeOrange(255, 160, 0);

}  // namespace

void TForm1::BuildAcquisition() {
  Image12 = new TImage(Panel5, QStringLiteral("Image12"));
  Image12->setGeometry(Image12Left, Image12Top, StatusPictureSize, StatusPictureSize);

  ReplyProgress = new QProgressBar(Panel5);
  ReplyProgress->setObjectName(QStringLiteral("ReplyProgress"));
  ReplyProgress->setGeometry(ReplyProgressLeft, ReplyProgressTop, ReplyProgressWidth,
                             ReplyProgressHeight);
  ReplyProgress->setRange(0, capture_protocol::CaptureReplyLength);
  ReplyProgress->setTextVisible(false);
  ReplyProgress->setStyleSheet(QStringLiteral(
      "QProgressBar { border: none; background: #303030; }"
      "QProgressBar::chunk { background: #00c000; }"));
  ReplyProgress->hide();

  ReplyNotice = new TLabel(Panel5, QStringLiteral("ReplyNotice"), QStringLiteral("Instrument stopped mid-reply"));
  ReplyNotice->setGeometry(ReplyNoticePlace);
  ReplyNotice->setWordWrap(true);
  ReplyNotice->setAlignment(Qt::AlignCenter);
  PaintTextOnBlack(ReplyNotice, NoticeOrange);
  QFont small = ReplyNotice->font();
  small.setPixelSize(ReplyNoticePixelSize);
  ReplyNotice->setFont(small);
  ReplyNotice->setToolTip(QStringLiteral(
      "The instrument stopped in the middle of a reply; what had come of it was discarded."));
  ReplyNotice->hide();

  // The pictures the window is designed with: RUN on the key, stopped in the
  // strip. Without the artwork they stay blank; the first RUN reports the
  // missing file.
  try {
    ShowBitmap(RunStopButton, run_stop::PicturePath(run_stop::RunButtonBitmap));
    ShowBitmap(Image12, run_stop::PicturePath(run_stop::StopStatusBitmap));
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
