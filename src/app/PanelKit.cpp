#include "app/PanelKit.h"

#include "app/Errors.h"
#include "app/Paths.h"

#include <QFileInfo>

void PanelKit::Guard(const std::function<void()>& handler) const {
  try {
    handler();
  } catch (const ScopeError& e) {
    ui_.ShowError(e.Message());
  } catch (const std::exception& e) {
    ui_.ShowError(QString::fromLocal8Bit(e.what()));
  }
}

void PanelKit::ShowBitmap(TImage* image, const QString& relativePath) {
  const QString path = ProgramPath(relativePath);
  const QFileInfo file(path);
  auto cached = decodedBitmaps_.constFind(path);
  if (cached == decodedBitmaps_.constEnd() || !file.exists() || cached->modified != file.lastModified() ||
      cached->size != file.size()) {
    // A missing or unreadable file throws here, as every picture change does.
    cached = decodedBitmaps_.insert(path, {file.lastModified(), file.size(), LoadBitmapFile(path)});
  }
  image->ShowPicture(cached->image, path);
}
