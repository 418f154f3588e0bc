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

bool DialogUi::PrintImage(const QImage& image) {
  QPrinter printer;
  QPrintDialog dialog(&printer, parent_);
  if (dialog.exec() != QDialog::Accepted) return false;
  QPainter painter(&printer);
  const QRect page = painter.viewport();
  QSize size = image.size();
  size.scale(page.size(), Qt::KeepAspectRatio);
  painter.setViewport(page.x(), page.y(), size.width(), size.height());
  painter.setWindow(image.rect());
  painter.drawImage(0, 0, image);
  return true;
}

void DialogUi::Beep(int, int) { QApplication::beep(); }

bool DialogUi::OpenDocument(const QString& path) {
  // On Linux this hands the file to xdg-open, which picks the user's browser.
  return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
