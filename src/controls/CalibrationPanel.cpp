#include "controls/CalibrationPanel.h"

#include "app/PanelKit.h"

#include <QPushButton>

namespace {

// In the client area: 56 and 48 pixels into the plot (which is at 27, 51 in
// the bezel at 0, 2).
constexpr QRect PanelPlace{0 + 27 + 56, 2 + 51 + 48, 369, 225};
// In the panel: Left, Top, Width, Height.
constexpr QPoint InstructionAt{48, 8};
constexpr QRect ProbesPlace{8, 32, 353, 153};
constexpr QRect StartPlace{8, 192, 129, 25};
constexpr QRect CancelPlace{280, 192, 75, 25};
constexpr int InstructionPixels = 16;

}  // namespace

CalibrationPanel::CalibrationPanel(QWidget* client, PanelKit& kit) : TPanel(client, QStringLiteral("Panel11")) {
  setGeometry(PanelPlace);
  SetColor(PanelGrey);
  SetBevel(2);
  hide();

  instruction_ = new TLabel(this, QStringLiteral("Label14"), QStringLiteral("Ground Both CH1 and CH2 Probes.  "));
  QFont bold(QStringLiteral("Arial"));
  bold.setPixelSize(InstructionPixels);
  bold.setBold(true);
  instruction_->setFont(bold);
  instruction_->adjustSize();
  instruction_->move(InstructionAt);

  probesPicture_ = new TImage(this, QStringLiteral("Image24"));
  probesPicture_->setGeometry(ProbesPlace);
  probesPicture_->SetTransparent(true);
  // A picture of the window design: missing, it is reported and left blank.
  kit.Guard([&] { kit.ShowBitmap(probesPicture_, QStringLiteral("Grafics\\Panel\\CalibrationProbes.bmp")); });

  startButton_ = new QPushButton(QStringLiteral("START CALIBRATION"), this);
  startButton_->setObjectName(QStringLiteral("Button2"));
  startButton_->setGeometry(StartPlace);
  cancelButton_ = new QPushButton(QStringLiteral("Cancel"), this);
  cancelButton_->setObjectName(QStringLiteral("Button3"));
  cancelButton_->setGeometry(CancelPlace);
  connect(startButton_, &QPushButton::clicked, this, &CalibrationPanel::startRequested);
  connect(cancelButton_, &QPushButton::clicked, this, &QWidget::hide);
}

void CalibrationPanel::ShowOnTop() {
  show();
  raise();
}
