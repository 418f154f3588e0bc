#include "app/Paths.h"

#include <QCoreApplication>

QString ProgramFolder() {
  QString folder = QCoreApplication::applicationDirPath();
  if (!folder.endsWith(u'/')) folder += u'/';
  return folder;
}

QString ProgramPath(const QString& relativePath) {
  QString path = relativePath;
  path.replace(u'\\', u'/');
  return ProgramFolder() + path;
}
