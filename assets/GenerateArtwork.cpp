// Writes every bitmap of ArtworkList.h into <folder>/Grafics/... as Windows
// bitmaps. Run by the build (see CMakeLists.txt); it stops with a message
// and a non-zero exit when a picture of the list was not drawn, was drawn at
// another size, or was drawn without being listed.
//
//   grafics_gen <folder>                       write the pictures
//   grafics_gen <folder> --preview sheet.png   also lay them all out on one
//       [--scale N] [--match TEXT]             sheet (N times enlarged, only paths
//                                              holding TEXT, a,b,c for several) to look at

#include "ArtworkList.h"
#include "Painters.h"

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <set>
#include <stdexcept>
#include <string>

namespace {

using artwork::ArtworkFiles;
using artwork::ArtworkSet;

ArtworkSet PaintAll() {
  ArtworkSet set;
  artwork::PaintGraticules(set);
  artwork::PaintKnobs(set);
  artwork::PaintKeys(set);
  artwork::PaintStatus(set);
  artwork::PaintMarkers(set);
  artwork::PaintPanels(set);
  return set;
}

void CheckAgainstList(const ArtworkSet& set) {
  std::set<std::string> listed;
  for (const auto& file : ArtworkFiles) {
    const std::string path(file.path);
    if (!listed.insert(path).second) throw std::runtime_error("listed twice: " + path);
    const auto it = set.Images().find(path);
    if (it == set.Images().end()) throw std::runtime_error("listed but not drawn: " + path);
    if (it->second.width() != file.width || it->second.height() != file.height)
      throw std::runtime_error("drawn at the wrong size: " + path);
    // The widgets find the key colour in the bottom-left pixel; a keyed
    // picture with another colour there, or in a corner, would keep a box
    // or lose its artwork.
    if (artwork::IsKeyed(file.backdrop)) {
      const QImage& image = it->second;
      const QRgb key = 0xff000000u | artwork::KeyColour(file.backdrop);
      if (image.pixel(0, image.height() - 1) != key || image.pixel(0, 0) != key ||
          image.pixel(image.width() - 1, 0) != key ||
          image.pixel(image.width() - 1, image.height() - 1) != key)
        throw std::runtime_error("keyed picture without its key colour in every corner: " + path);
    }
  }
  for (const auto& [path, image] : set.Images())
    if (!listed.count(path)) throw std::runtime_error("drawn but not listed: " + path);
}

void Write(const ArtworkSet& set, const QString& folder) {
  for (const auto& [path, image] : set.Images()) {
    const QString file = QDir(folder).filePath(QString::fromStdString(path));
    if (!QDir().mkpath(QFileInfo(file).absolutePath()))
      throw std::runtime_error("cannot create the folder of " + file.toStdString());
    if (!image.save(file, "BMP")) throw std::runtime_error("cannot write " + file.toStdString());
  }
}

// All pictures (or those whose path holds one of the comma-separated
// parts of `match`) in rows on a grey sheet,
// each under its name, enlarged `scale` times without smoothing.
void Preview(const ArtworkSet& set, const QString& sheetFile, int scale, const QString& match) {
  constexpr int sheetWidth = 1500;
  constexpr int gap = 12;
  constexpr int nameHeight = 14;
  struct Placed {
    QString name;
    QImage image;
    QPoint at;
  };
  std::vector<Placed> placed;
  int x = gap, y = gap, rowHeight = 0;
  for (const auto& [path, image] : set.Images()) {
    const QString name = QString::fromStdString(path);
    const QStringList wanted = match.split(u',', Qt::SkipEmptyParts);
    if (!wanted.isEmpty() &&
        std::none_of(wanted.begin(), wanted.end(), [&](const QString& w) { return name.contains(w); }))
      continue;
    const QImage big = image.scaled(image.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    const int width = std::max(big.width(), 90);
    if (x + width > sheetWidth - gap && x > gap) {
      x = gap;
      y += rowHeight + nameHeight + gap;
      rowHeight = 0;
    }
    placed.push_back({name.section('/', -1), big, {x, y + nameHeight}});
    x += width + gap;
    rowHeight = std::max(rowHeight, big.height());
  }
  QImage sheet(sheetWidth, y + rowHeight + nameHeight + gap, QImage::Format_RGB32);
  sheet.fill(QColor(128, 128, 132));
  QPainter p(&sheet);
  p.setFont(artwork::DejaVu(10));
  for (const auto& item : placed) {
    p.setPen(Qt::white);
    p.drawText(item.at + QPoint(0, -3), item.name);
    p.drawImage(item.at, item.image);
  }
  p.end();
  if (!sheet.save(sheetFile)) throw std::runtime_error("cannot write " + sheetFile.toStdString());
}

}  // namespace

int main(int argc, char** argv) {
  // Drawing needs no screen; the offscreen platform also gives the build
  // the same fonts on every machine.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() < 2) {
    std::fprintf(stderr, "usage: grafics_gen <folder> [--preview sheet.png [--scale N] [--match TEXT]]\n");
    return 2;
  }
  try {
    if (!QFontDatabase::families().contains(QStringLiteral("DejaVu Sans")))
      throw std::runtime_error("the DejaVu fonts are missing (Debian package fonts-dejavu-core)");
    const ArtworkSet set = PaintAll();
    CheckAgainstList(set);
    Write(set, args[1]);
    const qsizetype preview = args.indexOf(QStringLiteral("--preview"));
    if (preview > 0 && preview + 1 < args.size()) {
      const qsizetype scale = args.indexOf(QStringLiteral("--scale"));
      const qsizetype match = args.indexOf(QStringLiteral("--match"));
      Preview(set, args[preview + 1],
              scale > 0 && scale + 1 < args.size() ? std::max(1, args[scale + 1].toInt()) : 1,
              match > 0 && match + 1 < args.size() ? args[match + 1] : QString());
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "grafics_gen: %s\n", e.what());
    return 1;
  }
  return 0;
}
