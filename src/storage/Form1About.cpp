// The About panel, which is also the splash of the start: visible in the
// window design, hidden by AboutTimer three seconds after the restore, shown
// again by Help > About until "Close" or the next armed timer tick.
#include "app/TForm1.h"

#include <QAction>
#include <QTimer>

namespace {
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

// Places in AboutPanel: the picture inside the bevel, the key at lower right.
constexpr QRect Image27Place{3, 3, 501, 314};
constexpr QRect Button5Place{424, 288, 75, 25};
}  // namespace

void TForm1::BuildAboutPanel() {
  Image27 = new TImage(AboutPanel, QStringLiteral("Image27"));
  Image27->setGeometry(Image27Place);
  // A missing picture leaves the panel plain; the texts and "Close" still work.
  Guard([this] { ShowBitmap(Image27, QStringLiteral("Grafics\\Panel\\AboutBackground.bmp")); });
  for (const AboutLine& line : kAboutLines) {
    auto* label = new TLabel(AboutPanel, QString(), QString::fromLatin1(line.text));
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(line.fontHeight * 3 / 4);
    label->setFont(font);
    label->SetFontColor(line.colour);
    label->move(line.left, line.top);
    label->adjustSize();
  }
  Button5 = new QPushButton(QStringLiteral("Close"), AboutPanel);
  Button5->setObjectName(QStringLiteral("Button5"));
  Button5->setGeometry(Button5Place);
  connect(Button5, &QPushButton::clicked, this, Handler([this] { Button5Click(); }));
  Bind(About1, &TForm1::About1Click);
}

void TForm1::About1Click() {
  AboutPanel->show();
  AboutPanel->raise();
}

void TForm1::Button5Click() { AboutPanel->hide(); }

void TForm1::AboutTimerTimer() {
  AboutPanel->hide();
  SetEnabled(AboutTimer, false);
}
