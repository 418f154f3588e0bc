#pragma once
// What exists before any window: the off-screen bitmaps, the settings store
// and the two values read from it at start (the graticule and the background
// of saved views). Created once by main(), handed to the main window.

#include <QImage>
#include <QString>

#include <memory>

class SettingsStore;

struct ScopeUnit {
  QImage PlotBitmap;     // 500 x 400, filled black
  QImage SaveBitmap;     // 556 x 545
  std::unique_ptr<SettingsStore> SettingsRegistry_;
  QImage GridBitmap;     // 500 x 400, the graticule
  QImage PreviewBitmap;  // 500 x 26, filled black
  QString GridFile;
  bool ScreenSave = false;

  ScopeUnit();
  ~ScopeUnit();
};

// Builds the unit in its start-up order. Throws ScopeError when the stored
// graticule cannot be loaded: the program then ends before any window.
std::unique_ptr<ScopeUnit> InitializeUnit();
