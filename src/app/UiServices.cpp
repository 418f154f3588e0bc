#include "app/UiServices.h"

#include "app/Errors.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

namespace {
void Box(QWidget* parent, QMessageBox::Icon icon, const QString& text) {
  QMessageBox box(icon, QApplication::applicationDisplayName(), text, QMessageBox::Ok, parent);
  box.exec();
}
}  // namespace

void DialogUi::ShowError(const QString& text) {
  Box(parent_, QMessageBox::Critical, ErrorBoxText(text));
}

void DialogUi::ShowMessage(const QString& text) { Box(parent_, QMessageBox::NoIcon, text); }

QString DialogUi::OpenFileName(const QString& filter, const QString& defaultExt) {
  QFileDialog dialog(parent_);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilter(filter);
  dialog.setDefaultSuffix(defaultExt);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}

QString DialogUi::SaveFileName(const QString& filter, const QString& defaultExt) {
  QFileDialog dialog(parent_);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilter(filter);
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
