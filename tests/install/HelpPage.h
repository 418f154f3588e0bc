#pragma once
// Walks the help page: every link and picture it names must resolve, either
// to an id in the page itself ("#dialout") or to a file beside it. A page that
// names a place on the network is refused: it must read the same offline.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QString>
#include <QStringList>

struct HelpPageWalk {
  QStringList problems;  // one line per reference that does not resolve
  int links = 0;         // href references seen
  int pictures = 0;      // img src references seen
};

inline HelpPageWalk WalkHelpPage(const QString& pagePath) {
  HelpPageWalk walk;
  QFile file(pagePath);
  if (!file.open(QIODevice::ReadOnly)) {
    walk.problems << QStringLiteral("cannot read %1").arg(pagePath);
    return walk;
  }
  const QString html = QString::fromUtf8(file.readAll());
  QSet<QString> ids;
  static const QRegularExpression idPattern(QStringLiteral(R"re(\sid\s*=\s*"([^"]*)")re"));
  for (auto it = idPattern.globalMatch(html); it.hasNext();) ids.insert(it.next().captured(1));

  static const QRegularExpression refPattern(
      QStringLiteral(R"re(<(a|img|link|script)\b[^>]*\s(href|src)\s*=\s*"([^"]*)")re"),
      QRegularExpression::CaseInsensitiveOption);
  const QDir folder = QFileInfo(pagePath).dir();
  for (auto it = refPattern.globalMatch(html); it.hasNext();) {
    const auto match = it.next();
    const QString target = match.captured(3);
    (match.captured(1).compare(QLatin1String("img"), Qt::CaseInsensitive) == 0 ? walk.pictures
                                                                               : walk.links)++;
    if (target.isEmpty()) {
      walk.problems << QStringLiteral("empty reference");
    } else if (target.startsWith(u'#')) {
      if (!ids.contains(target.mid(1))) walk.problems << QStringLiteral("no id for %1").arg(target);
    } else if (target.contains(QLatin1String("://")) || target.startsWith(QLatin1String("//"))) {
      walk.problems << QStringLiteral("network reference %1").arg(target);
    } else {
      const QString linked = target.section(u'#', 0, 0);
      const QFileInfo info(folder.filePath(linked));
      if (!info.isFile() || info.size() == 0)
        walk.problems << QStringLiteral("no file %1").arg(info.filePath());
    }
  }
  return walk;
}
