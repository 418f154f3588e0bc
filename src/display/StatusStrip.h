#pragma once
// The status strip under the plot: the volts/div, time/div and sample-rate
// readouts, the trigger's source and edge keys and its level (with the box
// a level is typed into), the cursor readouts and keys, the run status
// picture with the reply's progress and the mid-reply notice, the connection
// indicator with the firmware version on it, the settings key and the Save
// View key. It owns these widgets; the window tells it what to show and
// binds the callbacks to its handlers.

#include "app/Widgets.h"

#include <functional>

class PanelKit;
class QLineEdit;
class QProgressBar;

class StatusStrip : public TPanel {
  Q_OBJECT
 public:
  // Builds the strip in the screen bezel.
  StatusStrip(QWidget* bezel, PanelKit& kit);

  // ---- The panel's readouts ------------------------------------------
  void ShowVoltsPerDiv(int channel, const QString& text);  // "CH1 1V/DIV"
  void SetVoltsPerDivShown(int channel, bool shown);
  void ShowTimeBase(const QString& timePerDiv, const QString& sampleRate);

  // ---- The trigger ----------------------------------------------------
  void ShowTriggerLevel(const QString& text);  // "2.49 V", "TTL"
  // The hidden readout of CH1's level in counts.
  void ShowTriggerCounts(const QString& text);
  // The box a level is typed into, over the level readout.
  void OpenLevelEntry();
  QString LevelEntryText() const;
  void CloseLevelEntry();
  // The pictures of the source key (it shows the source a click goes to)
  // and of the edge key; throw when the file cannot be read.
  void ShowTriggerSourceKey(const QString& picture);
  void ShowTriggerEdgeKey(const QString& picture);

  // ---- The cursors ----------------------------------------------------
  void ShowTimeCursorReadouts(const QString& x, const QString& o, const QString& between, const QString& frequency);
  void ShowVoltageCursorReadouts(const QString& a, const QString& b, const QString& difference);
  void SetTimeCursorReadoutsShown(bool shown);
  void SetVoltageCursorReadoutsShown(bool shown);

  // ---- Acquisition ----------------------------------------------------
  // The run, stop or hourglass picture; the file shown now.
  void ShowRunStatus(const QString& picture);
  QString RunStatusFile() const;
  void ShowReplyProgress(int bytes);  // of the whole reply
  void HideReplyProgress();
  bool ReplyProgressShown() const;
  void SetReplyNoticeShown(bool shown);

  // ---- The connection -------------------------------------------------
  // The indicator (USBCON / USBCON#) with the firmware version on its face
  // while connected.
  void ShowConnection(const QString& indicatorPicture, bool versionShown);
  void ShowFirmwareVersion(const QString& version);
  void ShowSettingsKey(const QString& picture);

  // ---- Records kept --------------------------------------------------
  // "Record 37 of 100  14:02:31" while the user steps through the history;
  // an empty text hides it.
  void ShowRecordPosition(const QString& text);
  QString RecordPositionText() const;
  // "LOG 123" while a measurement log runs; an empty text hides it.
  void ShowLogging(const QString& text);
  QString LoggingText() const;

  // ---- What the user does: bound by the window ----------------------
  std::function<void()> OnTriggerSourceKey;
  std::function<void()> OnTriggerEdgeKey;
  std::function<void()> OnLevelDoubleClick;
  std::function<void(int key)> OnLevelEntryKey;  // Return in the typed-level box
  std::function<void()> OnHorizontalCursorsKey;
  std::function<void()> OnVerticalCursorsKey;
  std::function<void()> OnCursorsOffKey;
  std::function<void()> OnSettingsKey;  // the key or the indicator clicked
  std::function<void()> OnSettingsKeyDown;
  std::function<void()> OnSettingsKeyUp;
  std::function<void()> OnSaveViewKey;

  // Save View's key is made last of all, after the window's other parts,
  // as the strip has always been stacked.
  void AddSaveViewKey();

 private:
  // A picture key and the callback its click calls.
  struct KeyDesign {
    const char* name;
    QRect place;
    const char* hint;
    std::function<void()> StatusStrip::*callback;
  };
  TImage* MakeKey(const KeyDesign& design);
  void BuildCursorItems();
  void BuildPanelReadouts();
  void BuildTriggerItems();
  void BuildAcquisitionItems();
  void BuildConnectionItems();
  void BuildRecordItems();

  PanelKit& kit_;
  // Cursors
  TLabel* xTimeReadout_ = nullptr;
  TLabel* oTimeReadout_ = nullptr;
  TLabel* betweenTimeReadout_ = nullptr;
  TLabel* frequencyReadout_ = nullptr;
  TLabel* aVoltsReadout_ = nullptr;
  TLabel* bVoltsReadout_ = nullptr;
  TLabel* differenceVoltsReadout_ = nullptr;
  TImage* cursorKeys_[3] = {};  // horizontal on, vertical on, all off
  // Panel readouts
  TLabel* voltsReadouts_[2] = {};
  TLabel* timeBaseReadout_ = nullptr;
  TLabel* sampleRateReadout_ = nullptr;
  // Trigger
  TLabel* levelReadout_ = nullptr;
  QLineEdit* levelEntry_ = nullptr;
  TLabel* levelCounts_ = nullptr;
  TImage* sourceKey_ = nullptr;
  TImage* edgeKey_ = nullptr;
  // Acquisition
  TImage* runStatus_ = nullptr;
  QProgressBar* replyProgress_ = nullptr;
  TLabel* replyNotice_ = nullptr;
  // Connection
  TImage* indicator_ = nullptr;
  TLabel* versionOnIndicator_ = nullptr;
  TImage* settingsKey_ = nullptr;
  TImage* saveViewKey_ = nullptr;
  TLabel* recordPosition_ = nullptr;
  TLabel* logging_ = nullptr;
};
