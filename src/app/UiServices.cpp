#include "app/UiServices.h"

#include "app/Errors.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QUrl>

#include <cstdio>

namespace {
void Box(QWidget* parent, QMessageBox::Icon icon, const QString& text) {
  QMessageBox box(icon, QApplication::applicationDisplayName(), text, QMessageBox::Ok, parent);
  box.exec();
}
}  // namespace

void DialogUi::ShowError(const QString& text) {
  // Also on standard error: a program started from the desktop's menu has
  // its output in the session journal, where a support request can find it.
  std::fprintf(stderr, "tessaron-scope: %s\n", qPrintable(ErrorBoxText(text)));
  Box(parent_, QMessageBox::Critical, ErrorBoxText(text));
}

void DialogUi::ShowMessage(const QString& text) { Box(parent_, QMessageBox::NoIcon, text); }

QString DialogNameFilter(const QString& filter) {
  if (!filter.contains(u'|')) return filter;
  const QStringList parts = filter.split(u'|');
  QStringList filters;
  for (qsizetype i = 0; i < parts.size(); i += 2) {
    QString caption = parts[i].trimmed();
    if (i + 1 >= parts.size()) {
      filters << caption;
      break;
    }
    // The caption's own "(...)" only shows the patterns; the pair's second
    // half is what matches.
    if (caption.endsWith(u')') && caption.contains(u'(')) caption = caption.left(caption.lastIndexOf(u'(')).trimmed();
    QStringList patterns = parts[i + 1].split(u';', Qt::SkipEmptyParts);
    for (QString& pattern : patterns) {
      pattern = pattern.trimmed();
      if (pattern == QLatin1String("*.*")) pattern = QStringLiteral("*");
    }
    filters << caption + QStringLiteral(" (") + patterns.join(u' ') + u')';
  }
  return filters.join(QStringLiteral(";;"));
}

QString DialogUi::OpenFileName(const QString& filter, const QString& defaultExt) {
  QFileDialog dialog(parent_);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilter(DialogNameFilter(filter));
  dialog.setDefaultSuffix(defaultExt);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}

QString DialogUi::SaveFileName(const QString& filter, const QString& defaultExt) {
  QFileDialog dialog(parent_);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilter(DialogNameFilter(filter));
  dialog.setDefaultSuffix(defaultExt);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}

QRect PrintPlacement(QRect page, QSize image) {
  if (image.isEmpty() || page.isEmpty()) return {page.topLeft(), QSize(0, 0)};
  // The width for the full page height; too wide, and the width is fitted.
  int height = page.height();
  int width = static_cast<int>(static_cast<qint64>(image.width()) * height / image.height());
  if (width > page.width()) {
    width = page.width();
    height = static_cast<int>(static_cast<qint64>(image.height()) * width / image.width());
  }
  return {page.topLeft(), QSize(width, height)};
}

void PrintOnPage(QPrinter& printer, const QImage& image) {
  QPainter painter(&printer);
  const QRect placed = PrintPlacement(painter.viewport(), image.size());
  painter.setViewport(placed);
  painter.setWindow(image.rect());
  painter.drawImage(0, 0, image);
}

bool DialogUi::PrintImage(const QImage& image) {
  QPrinter printer;
  QPrintDialog dialog(&printer, parent_);
  if (dialog.exec() != QDialog::Accepted) return false;
  PrintOnPage(printer, image);
  return true;
}

void ScriptedUi::PrintToPdf(const QString& path, const QImage& image) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(path);
  PrintOnPage(printer, image);
}

void DialogUi::Beep(int, int) { QApplication::beep(); }

bool DialogUi::OpenDocument(const QString& path) {
  // On Linux this hands the file to xdg-open, which picks the user's browser.
  return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
