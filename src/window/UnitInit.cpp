#include "window/UnitInit.h"

#include "app/Paths.h"
#include "app/Widgets.h"
#include "storage/SettingsStore.h"
#include "storage/StartupReads.h"
#include "storage/StoredValues.h"

#include <QPainter>

namespace {
QImage BlackBitmap(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::black);
  return image;
}
}  // namespace

ScopeUnit::ScopeUnit() = default;
ScopeUnit::~ScopeUnit() = default;

std::unique_ptr<ScopeUnit> InitializeUnit() {
  auto unit = std::make_unique<ScopeUnit>();
  unit->PlotBitmap = BlackBitmap(500, 400);
  unit->SaveBitmap = QImage(556, 545, QImage::Format_RGB32);
  unit->SaveBitmap.fill(Qt::white);
  unit->SettingsRegistry_ = std::make_unique<SettingsStore>();
  unit->GridBitmap = BlackBitmap(500, 400);
  // The graticule is taken from the program's folder: started from another
  // folder, a path relative to the current directory would find nothing.
  unit->GridFile = GridFileFromStored(unit->SettingsRegistry_->ReadString(stored::Name(stored::Id::DISPLAYBACKGROUND)));
  const QImage grid = LoadBitmapFile(ProgramPath(unit->GridFile));
  {
    QPainter painter(&unit->GridBitmap);
    painter.drawImage(0, 0, grid);
  }
  unit->ScreenSave = ReadScreenSave(*unit->SettingsRegistry_);
  unit->PreviewBitmap = BlackBitmap(500, 26);
  return unit;
}
