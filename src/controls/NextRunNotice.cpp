#include "controls/NextRunNotice.h"

#include <QCheckBox>
#include <QPushButton>

namespace {

constexpr QRect PanelPlace{248, 208, 337, 65};  // in the client area
constexpr QRect TextPlace{8, 6, 321, 20};
constexpr QRect CheckBoxPlace{8, 36, 230, 20};
constexpr QRect OkPlace{254, 33, 75, 25};
constexpr int TextPixels = 11;

}  // namespace

NextRunNotice::NextRunNotice(QWidget* client) : TPanel(client, QStringLiteral("Panel12")) {
  setGeometry(PanelPlace);
  SetColor(PanelGrey);
  SetBevel(2);
  hide();
  text_ = new TLabel(this, QStringLiteral("Panel12Notice"),
                     QStringLiteral("New setting will take effect the next time you click Run."));
  text_->setGeometry(TextPlace);
  QFont small = text_->font();
  small.setPixelSize(TextPixels);
  text_->setFont(small);
  doNotShowAgain_ = new QCheckBox(QStringLiteral("Do not show this message again."), this);
  doNotShowAgain_->setObjectName(QStringLiteral("CheckBox1"));
  doNotShowAgain_->setGeometry(CheckBoxPlace);
  doNotShowAgain_->setFont(small);
  okButton_ = new QPushButton(QStringLiteral("OK"), this);
  okButton_->setObjectName(QStringLiteral("Button6"));
  okButton_->setGeometry(OkPlace);
  okButton_->setFont(small);
  connect(okButton_, &QPushButton::clicked, this, &QWidget::hide);
}

void NextRunNotice::Offer() {
  if (!doNotShowAgain_->isChecked()) show();
}
