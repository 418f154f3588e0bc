// The main window's side of the "Display Properties" dialog: it is made with
// the window, hidden, and shown from Settings > Display Properties... without
// blocking the window.
#include "window/TForm1.h"

#include "display/DisProperties.h"

#include <QAction>

void TForm1::BuildDisplayProperties() {
  DisPropertiesForm = new TDisPropertiesForm(*this, Kit, GridBitmap, SettingsRegistry, this);
  Bind(Properties1, &TForm1::Properties1Click);
  BuildSaveView();
}

void TForm1::Properties1Click() {
  DisPropertiesForm->show();
  DisPropertiesForm->raise();
  DisPropertiesForm->activateWindow();
}

void TForm1::RefreshDisplayProperties() {
  // A closed dialog shows the state anew when it is next opened.
  if (DisPropertiesForm != nullptr && DisPropertiesForm->isVisible()) DisPropertiesForm->FormShow();
}
