#include "app/AboutPanel.h"

#include "app/PanelKit.h"

#include <QPushButton>

namespace {

constexpr QRect PanelPlace{136, 96, 508, 321};  // in the client area
// Places in the panel: the picture inside the bevel, the key at lower right.
constexpr QRect BackgroundPlace{3, 3, 501, 314};
constexpr QRect ClosePlace{424, 288, 75, 25};

// Font heights as the design gives them: the height of the whole character
// cell, of which the letters take about three quarters.
struct AboutLine {
  int left;
  int top;
  int fontHeight;
  QColor colour;
  const char* text;
};

// Texts on the white part of the background picture (right of x = 205).
const AboutLine kAboutLines[] = {
    {216, 32, 25, QColor(0, 0, 0), "Tessaron USB Oscilloscope"},
    {308, 64, 25, QColor(128, 128, 128), "Rev 5.1.1"},
    {256, 88, 25, QColor(128, 128, 128), "Linux, Qt 6"},
    {328, 224, 20, QColor(128, 128, 128), "For Support:"},
    {256, 240, 25, QColor(166, 202, 240), "README.md"},
    {216, 280, 15, QColor(128, 128, 128), "No instrument attached? Choose the built-in"},
    {245, 296, 15, QColor(128, 128, 128), "simulator SIM1 in COM Settings"},
};

}  // namespace

AboutPanel::AboutPanel(QWidget* client, PanelKit& kit) : TPanel(client, QStringLiteral("AboutPanel")) {
  setGeometry(PanelPlace);
  SetColor(PanelGrey);
  SetBevel(2);
  background_ = new TImage(this, QStringLiteral("Image27"));
  background_->setGeometry(BackgroundPlace);
  // A missing picture leaves the panel plain; the texts and "Close" still work.
  kit.Guard([&] { kit.ShowBitmap(background_, QStringLiteral("Grafics\\Panel\\AboutBackground.bmp")); });
  for (const AboutLine& line : kAboutLines) {
    auto* label = new TLabel(this, QString(), QString::fromLatin1(line.text));
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(line.fontHeight * 3 / 4);
    label->setFont(font);
    label->SetFontColor(line.colour);
    label->move(line.left, line.top);
    label->adjustSize();
  }
  closeButton_ = new QPushButton(QStringLiteral("Close"), this);
  closeButton_->setObjectName(QStringLiteral("Button5"));
  closeButton_->setGeometry(ClosePlace);
  connect(closeButton_, &QPushButton::clicked, this, &QWidget::hide);
}

void AboutPanel::ShowOnTop() {
  show();
  raise();
}
