#include "app/TForm1.h"

#include "app/UnitInit.h"

#include <QPainter>
#include <QTimer>

void TForm1::BuildStorage() {}

void TForm1::FormShow() {
  // The empty graticule is on the screen until the first capture.
  {
    QPainter painter(&PlotBitmap);
    painter.drawImage(0, 0, GridBitmap);
  }
  PlotValid = 0;
  SetEnabled(AboutTimer, true);
}

void TForm1::FormClose() {
  // Ends a capture that may be pending in a nested wait.
  Running = 0;
}

void TForm1::AboutTimerTimer() {
  AboutPanel->hide();
  SetEnabled(AboutTimer, false);
}
