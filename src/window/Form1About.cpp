// The About panel's timing, which is also the splash of the start: visible in
// the window design, hidden by AboutTimer three seconds after the restore,
// shown again by Help > About until "Close" or the next armed timer tick.
#include "window/TForm1.h"

#include "app/AboutPanel.h"

#include <QAction>
#include <QTimer>

void TForm1::BuildAboutPanel() { Bind(About1, &TForm1::About1Click); }

void TForm1::About1Click() { aboutPanel_->ShowOnTop(); }

void TForm1::Button5Click() { aboutPanel_->hide(); }

void TForm1::AboutTimerTimer() {
  aboutPanel_->hide();
  SetEnabled(AboutTimer, false);
}
