#pragma once
// Whether a label shows the whole of a text in the type it really got: the
// family the font database resolved (a missing font would fall back to a
// wider one and the check would mean nothing), upright, and the text's width
// as drawn (its advance and its ink) against the room inside the label.

#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QString>

#include <algorithm>
#include <ostream>

struct TextFit {
  QString family;
  bool bold = false;
  bool italic = false;
  int drawnWidth = 0;  // the wider of advance and ink
  int room = 0;        // the label's contents width
  int lineHeight = 0;
  int height = 0;
  bool Fits() const { return drawnWidth <= room && lineHeight <= height; }
};

inline void PrintTo(const TextFit& fit, std::ostream* os) {
  *os << fit.family.toStdString() << (fit.bold ? " bold" : "") << (fit.italic ? " italic" : "") << ", "
      << fit.drawnWidth << " px wide in " << fit.room << ", line " << fit.lineHeight << " px in " << fit.height;
}

inline TextFit FitOf(const QLabel& label, const QString& text) {
  const QFontInfo info(label.font());
  const QFontMetrics metrics(label.font());
  TextFit fit;
  fit.family = info.family();
  fit.bold = info.bold();
  fit.italic = info.italic();
  fit.drawnWidth = std::max(metrics.horizontalAdvance(text), metrics.boundingRect(text).width());
  fit.room = label.contentsRect().width();
  fit.lineHeight = metrics.height();
  fit.height = label.contentsRect().height();
  return fit;
}
