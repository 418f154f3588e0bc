// The "Help" item: the help page generated beside the pictures at build time
// and installed with them, opened in the user's browser.
#include "window/TForm1.h"

#include "app/Errors.h"
#include "app/Paths.h"

#include <QAction>
#include <QFileInfo>

void TForm1::BuildHelp() { Bind(Help2, &TForm1::Help2Click); }

void TForm1::Help2Click() {
  const QString page = HelpPagePath();
  // The desktop's opener would fail somewhere the user cannot see it (or
  // show a browser error page), so a missing page is told here, with the
  // place it should be.
  if (!QFileInfo(page).isFile())
    throw ScopeError(QStringLiteral("Cannot find the help page %1").arg(page));
  if (!Ui.OpenDocument(page))
    throw ScopeError(QStringLiteral("No program could be started to show the help page %1 "
                                    "(xdg-open, from the package xdg-utils, opens it in the browser)")
                         .arg(page));
}
