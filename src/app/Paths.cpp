#include "app/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#ifndef SCOPE_DATA_FROM_BIN
#define SCOPE_DATA_FROM_BIN "../share/tessaron-scope"
#endif

namespace {

QString WithSlash(QString folder) {
  if (!folder.endsWith(u'/')) folder += u'/';
  return folder;
}

bool HoldsPictures(const QString& folder) { return QFileInfo(folder + QStringLiteral("Grafics")).isDir(); }

}  // namespace

QString ProgramFolder() { return WithSlash(QCoreApplication::applicationDirPath()); }

QString DataFolderFor(const QString& programFolder) {
  const QString beside = WithSlash(programFolder);
  if (HoldsPictures(beside)) return beside;
  const QString installed =
      WithSlash(QDir::cleanPath(beside + QStringLiteral(SCOPE_DATA_FROM_BIN)));
  if (HoldsPictures(installed)) return installed;
  // The share/ folder of the prefix: the parent of the installed data folder.
  if (QFileInfo(QFileInfo(QDir::cleanPath(installed)).path()).isDir()) return installed;
  return beside;
}

QString DataFolder() {
  // The layout does not change while the program runs, and the pictures are
  // looked up at every frame.
  static const QString folder = DataFolderFor(ProgramFolder());
  return folder;
}

QString ProgramPath(const QString& relativePath) {
  QString path = relativePath;
  path.replace(u'\\', u'/');
  return DataFolder() + path;
}

QString HelpPagePath() { return ProgramPath(QLatin1String(HelpPageFile)); }
