#pragma once
// The About panel, which is also the splash of the start: the background
// picture, the program's name, revision and where to get help, and "Close".
// Shown in the window design; the window hides it after the start and shows
// it again for Help > About.

#include "app/Widgets.h"

class PanelKit;
class QPushButton;

class AboutPanel : public TPanel {
  Q_OBJECT
 public:
  AboutPanel(QWidget* client, PanelKit& kit);
  // Shown over everything else.
  void ShowOnTop();

 private:
  TImage* background_ = nullptr;
  QPushButton* closeButton_ = nullptr;
};
