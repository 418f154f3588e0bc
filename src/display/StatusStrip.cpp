#include "display/StatusStrip.h"

#include "acquisition/CaptureProtocol.h"
#include "app/PanelKit.h"

#include <QLineEdit>
#include <QProgressBar>

namespace {

constexpr QRect StripPlace{3, 463, 552, 79};  // in the bezel, under the trigger and position strips

constexpr QColor Lime(0, 255, 0);
constexpr QColor Yellow(255, 255, 0);
constexpr QColor Grey(128, 128, 128);
constexpr QColor ReadoutOrange(255, 144, 36);
constexpr QColor NoticeOrange(255, 160, 0);
constexpr QColor ChannelColours[2] = {QColor(0, 126, 255), QColor(255, 0, 0)};

// The readouts of the panel, upper left.
constexpr QRect VoltsReadoutPlaces[2] = {{4, 17, 96, 16}, {4, 33, 96, 16}};
constexpr QRect TimeBasePlace{104, 17, 75, 16};
constexpr QRect SampleRatePlace{104, 33, 75, 16};
// The trigger: the keys left of the level readout, the typed-level box over it.
constexpr QRect SourceKeyPlace{192, 26, 25, 18};
constexpr QRect EdgeKeyPlace{222, 26, 18, 18};
constexpr QRect LevelPlace{243, 27, 56, 16};
constexpr QRect LevelEntryPlace{243, 24, 41, 21};
constexpr QRect LevelCountsPlace{228, 59, 60, 16};
// The cursors: readouts at x 300..495, keys above them.
constexpr QRect XTimePlace{364, 27, 60, 17};
constexpr QRect OTimePlace{364, 43, 60, 16};
constexpr QRect BetweenTimePlace{364, 59, 60, 16};
constexpr QRect FrequencyPlace{300, 62, 58, 16};
constexpr QRect AVoltsPlace{430, 28, 65, 16};
constexpr QRect BVoltsPlace{430, 44, 65, 16};
constexpr QRect DifferenceVoltsPlace{430, 60, 65, 16};
constexpr QRect VerticalCursorsKeyPlace{377, 6, 33, 18};
constexpr QRect HorizontalCursorsKeyPlace{446, 6, 33, 18};
constexpr QRect CursorsOffKeyPlace{312, 6, 33, 18};
// The run status at the right end, clear of the cursor readouts; the reply's
// progress under it, and the notice of a reply that stopped half way in the
// lower right corner.
constexpr QRect RunStatusPlace{518, 6, 25, 25};
constexpr QRect ReplyProgressPlace{514, 33, 33, 4};
constexpr QRect ReplyNoticePlace{497, 40, 55, 38};
constexpr int ReplyNoticePixelSize = 9;
// The indicator and the settings key take the lower left, under the
// readouts; the indicator sits two pixels higher than its design place so
// that all of it fits in the 79-pixel strip. The version lies on its face.
constexpr QRect IndicatorPlace{35, 54, 56, 25};
constexpr QPoint VersionOnIndicator{26, 5};
constexpr QSize VersionSize{27, 16};
constexpr QRect SettingsKeyPlace{100, 60, 69, 18};
constexpr QRect SaveViewKeyPlace{178, 60, 33, 18};
// Along the top, over the panel's readouts, while a kept record is shown.
constexpr QRect RecordPositionPlace{4, 0, 236, 16};
constexpr QColor RecordPositionColour(224, 224, 224);
constexpr QRect LoggingPlace{244, 0, 64, 16};

// Calls a callback the window may not have bound.
template <class F, class... A>
void Tell(const F& callback, A&&... args) {
  if (callback) callback(std::forward<A>(args)...);
}

}  // namespace

StatusStrip::StatusStrip(QWidget* bezel, PanelKit& kit) : TPanel(bezel, QStringLiteral("Panel5")), kit_(kit) {
  setGeometry(StripPlace);
  SetColor(Qt::black);
  SetBevel(0);
  // The order they are made in is the order they are stacked in.
  BuildCursorItems();
  BuildPanelReadouts();
  BuildTriggerItems();
  BuildAcquisitionItems();
  BuildConnectionItems();
  BuildRecordItems();
}

TImage* StatusStrip::MakeKey(const KeyDesign& design) {
  TImage* image = MakeImageButton(this, QString::fromLatin1(design.name), design.place, QString::fromLatin1(design.hint));
  image->mouse.OnClick = kit_.Handler([this, callback = design.callback] { Tell(this->*callback); });
  return image;
}

void StatusStrip::BuildCursorItems() {
  struct ReadoutDesign {
    TLabel* StatusStrip::*label;
    const char* name;
    QRect place;
    QColor colour;
  };
  const ReadoutDesign readouts[] = {
      {&StatusStrip::xTimeReadout_, "XTimeCursor", XTimePlace, Lime},
      {&StatusStrip::oTimeReadout_, "OTimeCursor", OTimePlace, Yellow},
      {&StatusStrip::betweenTimeReadout_, "TimeCursor", BetweenTimePlace, Grey},
      {&StatusStrip::frequencyReadout_, "Label13", FrequencyPlace, Grey},
      {&StatusStrip::aVoltsReadout_, "HCusA", AVoltsPlace, Lime},
      {&StatusStrip::bVoltsReadout_, "HCusB", BVoltsPlace, Yellow},
      {&StatusStrip::differenceVoltsReadout_, "CusRes", DifferenceVoltsPlace, Grey},
  };
  for (const ReadoutDesign& r : readouts) {
    TLabel* label = MakeReadout(this, QString::fromLatin1(r.name), r.place, r.colour);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->hide();
    this->*r.label = label;
  }
  const KeyDesign keys[] = {
      {"Image20", HorizontalCursorsKeyPlace, "Turn Horizontal Cursor On", &StatusStrip::OnHorizontalCursorsKey},
      {"Image21", VerticalCursorsKeyPlace, "Turn Vertical Cursors On", &StatusStrip::OnVerticalCursorsKey},
      {"Image22", CursorsOffKeyPlace, "Turn All Cursors Off", &StatusStrip::OnCursorsOffKey},
  };
  const char* pictures[] = {"Grafics\\Panel\\CursorsHorizontalOn.bmp", "Grafics\\Panel\\CursorsVerticalOn.bmp",
                            "Grafics\\Panel\\CursorsOff.bmp"};
  for (std::size_t k = 0; k < std::size(keys); ++k) cursorKeys_[k] = MakeKey(keys[k]);
  // Pictures of the window design; one that cannot be read is reported and
  // leaves its key blank, the window still comes up.
  for (std::size_t k = 0; k < std::size(keys); ++k)
    kit_.Guard([&] { kit_.ShowBitmap(cursorKeys_[k], QString::fromLatin1(pictures[k])); });
}

void StatusStrip::BuildPanelReadouts() {
  for (int n : {1, 2}) {
    voltsReadouts_[n - 1] =
        MakeReadout(this, QStringLiteral("CH%1V").arg(n), VoltsReadoutPlaces[n - 1], ChannelColours[n - 1]);
    voltsReadouts_[n - 1]->hide();
  }
  timeBaseReadout_ = MakeReadout(this, QStringLiteral("TimeBaseL"), TimeBasePlace, Lime);
  sampleRateReadout_ = MakeReadout(this, QStringLiteral("SampleRate"), SampleRatePlace, Lime);
}

void StatusStrip::BuildTriggerItems() {
  levelReadout_ = new TLabel(this, QStringLiteral("Label23"));
  levelReadout_->setGeometry(LevelPlace);
  levelReadout_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  PaintTextOnBlack(levelReadout_, ReadoutOrange);
  levelReadout_->setFont(ReadoutFont());
  levelReadout_->setToolTip(QStringLiteral("Double Click Here to enter Trigger Voltage"));
  levelReadout_->mouse.OnDblClick = kit_.Handler([this] { Tell(OnLevelDoubleClick); });
  levelEntry_ = new QLineEdit(this);
  levelEntry_->setObjectName(QStringLiteral("TriggerVEdit"));
  levelEntry_->setGeometry(LevelEntryPlace);
  PaintTextOnBlack(levelEntry_, ReadoutOrange);
  levelEntry_->hide();
  // Return and the keypad's Enter are the one key that takes the text.
  connect(levelEntry_, &QLineEdit::returnPressed, this,
          kit_.Handler([this] { Tell(OnLevelEntryKey, int(Qt::Key_Return)); }));
  levelCounts_ = new TLabel(this, QStringLiteral("Label12"));
  levelCounts_->setGeometry(LevelCountsPlace);
  levelCounts_->hide();
  sourceKey_ = MakeKey({"TrigSourceButton", SourceKeyPlace, "Click Here To Change Trigger Channel.",
                        &StatusStrip::OnTriggerSourceKey});
  edgeKey_ = MakeKey({"TriggerEdgeButton", EdgeKeyPlace, "Click Here To Change Trigger Edge.",
                      &StatusStrip::OnTriggerEdgeKey});
}

void StatusStrip::BuildAcquisitionItems() {
  runStatus_ = new TImage(this, QStringLiteral("Image12"));
  runStatus_->setGeometry(RunStatusPlace);
  replyProgress_ = new QProgressBar(this);
  replyProgress_->setObjectName(QStringLiteral("ReplyProgress"));
  replyProgress_->setGeometry(ReplyProgressPlace);
  replyProgress_->setRange(0, capture_protocol::CaptureReplyLength);
  replyProgress_->setTextVisible(false);
  replyProgress_->setStyleSheet(QStringLiteral(
      "QProgressBar { border: none; background: #303030; }"
      "QProgressBar::chunk { background: #00c000; }"));
  replyProgress_->hide();
  replyNotice_ = new TLabel(this, QStringLiteral("ReplyNotice"), QStringLiteral("Instrument stopped mid-reply"));
  replyNotice_->setGeometry(ReplyNoticePlace);
  replyNotice_->setWordWrap(true);
  replyNotice_->setAlignment(Qt::AlignCenter);
  PaintTextOnBlack(replyNotice_, NoticeOrange);
  QFont small = replyNotice_->font();
  small.setPixelSize(ReplyNoticePixelSize);
  replyNotice_->setFont(small);
  replyNotice_->setToolTip(
      QStringLiteral("The instrument stopped in the middle of a reply; what had come of it was discarded."));
  replyNotice_->hide();
}

void StatusStrip::BuildConnectionItems() {
  indicator_ = new TImage(this, QStringLiteral("Image11"));
  indicator_->setGeometry(IndicatorPlace);
  indicator_->setCursor(Qt::PointingHandCursor);
  indicator_->mouse.OnClick = kit_.Handler([this] { Tell(OnSettingsKey); });
  versionOnIndicator_ = new TLabel(this, QStringLiteral("HWRevLabel"), QStringLiteral("2.0.7"));
  versionOnIndicator_->setGeometry(QRect(IndicatorPlace.topLeft() + VersionOnIndicator, VersionSize));
  versionOnIndicator_->setAlignment(Qt::AlignCenter);
  QFont tiny = versionOnIndicator_->font();
  tiny.setPixelSize(9);
  versionOnIndicator_->setFont(tiny);
  versionOnIndicator_->SetFontColor(Qt::black);
  versionOnIndicator_->setAutoFillBackground(true);
  QPalette green = versionOnIndicator_->palette();
  green.setColor(QPalette::Window, QColor(0, 255, 0));
  versionOnIndicator_->setPalette(green);
  versionOnIndicator_->hide();
  versionOnIndicator_->raise();
  settingsKey_ = new TImage(this, QStringLiteral("SettingButton"));
  settingsKey_->setGeometry(SettingsKeyPlace);
  settingsKey_->setCursor(Qt::PointingHandCursor);
  settingsKey_->mouse.OnMouseDown = kit_.Handler([this] { Tell(OnSettingsKeyDown); });
  settingsKey_->mouse.OnMouseUp = kit_.Handler([this] { Tell(OnSettingsKeyUp); });
  settingsKey_->mouse.OnClick = kit_.Handler([this] { Tell(OnSettingsKey); });
  // The pictures of the window design, as they stand before the first tick.
  kit_.Guard([this] {
    kit_.ShowBitmap(indicator_, QStringLiteral("Grafics\\USBCON#.bmp"));
    kit_.ShowBitmap(settingsKey_, QStringLiteral("Grafics\\SettingButton1.bmp"));
  });
}

void StatusStrip::AddSaveViewKey() {
  saveViewKey_ = new TImage(this, QStringLiteral("Image23"));
  saveViewKey_->setGeometry(SaveViewKeyPlace);
  saveViewKey_->setToolTip(QStringLiteral("Save Screen Capture As *.BMP."));
  saveViewKey_->setCursor(Qt::PointingHandCursor);
  kit_.Guard([this] { kit_.ShowBitmap(saveViewKey_, QStringLiteral("Grafics\\Panel\\SaveView.bmp")); });
  saveViewKey_->mouse.OnClick = kit_.Handler([this] { Tell(OnSaveViewKey); });
}

void StatusStrip::ShowVoltsPerDiv(int channel, const QString& text) { voltsReadouts_[channel == 1 ? 0 : 1]->setText(text); }
void StatusStrip::SetVoltsPerDivShown(int channel, bool shown) {
  voltsReadouts_[channel == 1 ? 0 : 1]->setVisible(shown);
}
void StatusStrip::ShowTimeBase(const QString& timePerDiv, const QString& sampleRate) {
  timeBaseReadout_->setText(timePerDiv);
  sampleRateReadout_->setText(sampleRate);
}

void StatusStrip::ShowTriggerLevel(const QString& text) { levelReadout_->setText(text); }
void StatusStrip::ShowTriggerCounts(const QString& text) { levelCounts_->setText(text); }
void StatusStrip::OpenLevelEntry() {
  levelEntry_->show();
  levelEntry_->raise();
  levelEntry_->setFocus();
}
QString StatusStrip::LevelEntryText() const { return levelEntry_->text(); }
void StatusStrip::CloseLevelEntry() { levelEntry_->hide(); }
void StatusStrip::ShowTriggerSourceKey(const QString& picture) { kit_.ShowBitmap(sourceKey_, picture); }
void StatusStrip::ShowTriggerEdgeKey(const QString& picture) { kit_.ShowBitmap(edgeKey_, picture); }

void StatusStrip::ShowTimeCursorReadouts(const QString& x, const QString& o, const QString& between,
                                         const QString& frequency) {
  oTimeReadout_->setText(o);
  xTimeReadout_->setText(x);
  betweenTimeReadout_->setText(between);
  frequencyReadout_->setText(frequency);
}
void StatusStrip::ShowVoltageCursorReadouts(const QString& a, const QString& b, const QString& difference) {
  aVoltsReadout_->setText(a);
  bVoltsReadout_->setText(b);
  differenceVoltsReadout_->setText(difference);
}
void StatusStrip::SetTimeCursorReadoutsShown(bool shown) {
  for (QWidget* w : {xTimeReadout_, oTimeReadout_, betweenTimeReadout_, frequencyReadout_}) w->setVisible(shown);
}
void StatusStrip::SetVoltageCursorReadoutsShown(bool shown) {
  for (QWidget* w : {aVoltsReadout_, bVoltsReadout_, differenceVoltsReadout_}) w->setVisible(shown);
}

void StatusStrip::ShowRunStatus(const QString& picture) { kit_.ShowBitmap(runStatus_, picture); }
QString StatusStrip::RunStatusFile() const { return runStatus_->FileName(); }
void StatusStrip::ShowReplyProgress(int bytes) {
  replyProgress_->setValue(std::min(bytes, capture_protocol::CaptureReplyLength));
  replyProgress_->show();
}
void StatusStrip::HideReplyProgress() {
  if (replyProgress_->isVisible()) replyProgress_->hide();
}
bool StatusStrip::ReplyProgressShown() const { return replyProgress_->isVisible(); }
void StatusStrip::SetReplyNoticeShown(bool shown) {
  if (replyNotice_->isHidden() == shown) replyNotice_->setVisible(shown);
}

void StatusStrip::ShowConnection(const QString& indicatorPicture, bool versionShown) {
  // The version's state goes first: it must agree with the instrument even
  // when the picture cannot be shown.
  versionOnIndicator_->setVisible(versionShown);
  kit_.ShowBitmap(indicator_, indicatorPicture);
}
void StatusStrip::ShowFirmwareVersion(const QString& version) { versionOnIndicator_->setText(version); }
void StatusStrip::ShowSettingsKey(const QString& picture) { kit_.ShowBitmap(settingsKey_, picture); }

void StatusStrip::BuildRecordItems() {
  recordPosition_ = MakeReadout(this, QStringLiteral("RecordPosition"), RecordPositionPlace, RecordPositionColour);
  recordPosition_->hide();
  logging_ = MakeReadout(this, QStringLiteral("LoggingReadout"), LoggingPlace, NoticeOrange);
  logging_->hide();
}

void StatusStrip::ShowLogging(const QString& text) {
  logging_->setText(text);
  logging_->setVisible(!text.isEmpty());
}

QString StatusStrip::LoggingText() const { return logging_->isHidden() ? QString() : logging_->text(); }

void StatusStrip::ShowRecordPosition(const QString& text) {
  recordPosition_->setText(text);
  recordPosition_->setVisible(!text.isEmpty());
}

QString StatusStrip::RecordPositionText() const { return recordPosition_->isHidden() ? QString() : recordPosition_->text(); }
