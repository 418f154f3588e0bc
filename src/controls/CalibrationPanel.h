#pragma once
// The calibration panel over the plot: "Ground Both CH1 and CH2 Probes.",
// the picture of the probes on the ground lug, "START CALIBRATION" and
// "Cancel". The panel only asks; the window runs the calibration when
// startRequested comes.

#include "app/Widgets.h"

class PanelKit;
class QPushButton;

class CalibrationPanel : public TPanel {
  Q_OBJECT
 public:
  CalibrationPanel(QWidget* client, PanelKit& kit);
  void ShowOnTop();

 Q_SIGNALS:
  // "START CALIBRATION": the window hides the panel unless a calibration
  // is already running.
  void startRequested();

 private:
  TLabel* instruction_ = nullptr;
  TImage* probesPicture_ = nullptr;
  QPushButton* startButton_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
};
