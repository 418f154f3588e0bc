#pragma once
// The notice after a knob is let go while acquisition is stopped: "New
// setting will take effect the next time you click Run.", with "Do not show
// this message again." and "OK".

#include "app/Widgets.h"

class QCheckBox;
class QPushButton;

class NextRunNotice : public TPanel {
  Q_OBJECT
 public:
  explicit NextRunNotice(QWidget* client);
  // Shows the notice unless the user has asked not to see it again.
  void Offer();

 private:
  TLabel* text_ = nullptr;
  QCheckBox* doNotShowAgain_ = nullptr;
  QPushButton* okButton_ = nullptr;
};
