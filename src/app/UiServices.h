#pragma once
// Everything that would block on the user: message boxes, file dialogs and the
// print dialog. The window talks to this small interface only, so tests hand
// it a ScriptedUi that records what was shown and answers from a script.

#include <QImage>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>

class QPrinter;
class QWidget;

// Where an image of `image` pixels goes on a page of `page`: scaled to fit
// with its aspect ratio kept (the width from the page height, or fitted to the
// page width when that is too wide), at the page's top left.
QRect PrintPlacement(QRect page, QSize image);
// Prints the picture on one page of the printer, placed as above.
void PrintOnPage(QPrinter& printer, const QImage& image);

// A file dialog's filter written as caption|patterns pairs ("Text Files
// (*.TXT)|*.TXT|All Files (*.*)|*.*") in the form the dialog reads ("Text
// Files (*.TXT);;All Files (*)"): each caption with its own patterns, "*.*"
// meaning every file as the pair says. A filter without "|" is left as it is.
QString DialogNameFilter(const QString& filter);

class UiServices {
 public:
  virtual ~UiServices() = default;
  // The error box: application title, error icon, one OK.
  virtual void ShowError(const QString& text) = 0;
  // The program's own messages: application title, no icon, one OK.
  virtual void ShowMessage(const QString& text) = 0;
  // Empty result when the user cancels.
  virtual QString OpenFileName(const QString& filter, const QString& defaultExt) = 0;
  virtual QString SaveFileName(const QString& filter, const QString& defaultExt) = 0;
  // Prints the picture scaled to the page; false when the user cancels.
  virtual bool PrintImage(const QImage& image) = 0;
  virtual void Beep(int frequencyHz, int durationMs) = 0;
  // Opens a local file with the desktop's program for its type (the help page
  // in the browser) and returns at once; false when no program could be
  // started for it.
  virtual bool OpenDocument(const QString& path) = 0;
};

// The real dialogs, parented to the main window.
class DialogUi : public UiServices {
 public:
  explicit DialogUi(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }
  void ShowError(const QString& text) override;
  void ShowMessage(const QString& text) override;
  QString OpenFileName(const QString& filter, const QString& defaultExt) override;
  QString SaveFileName(const QString& filter, const QString& defaultExt) override;
  bool PrintImage(const QImage& image) override;
  void Beep(int frequencyHz, int durationMs) override;
  bool OpenDocument(const QString& path) override;

 private:
  QWidget* parent_;
};

// For tests: records every box and answers file and print dialogs in order
// from the queued answers (an empty queue answers "cancel"); documents are
// recorded, never opened.
class ScriptedUi : public UiServices {
 public:
  void ShowError(const QString& text) override { errors.push_back(text); }
  void ShowMessage(const QString& text) override { messages.push_back(text); }
  QString OpenFileName(const QString&, const QString&) override { return Answered(Next(openAnswers)); }
  QString SaveFileName(const QString&, const QString&) override { return Answered(Next(saveAnswers)); }
  bool PrintImage(const QImage& image) override {
    printed.push_back(image);
    if (printAnswer && !printToPdf.isEmpty()) PrintToPdf(printToPdf, image);
    return printAnswer;
  }
  // Prints through the real page layout into a PDF file, as the print dialog
  // does when the user picks "Print to File".
  static void PrintToPdf(const QString& path, const QImage& image);
  void Beep(int, int) override { ++beeps; }
  bool OpenDocument(const QString& path) override {
    opened.push_back(path);
    return openDocumentAnswer;
  }

  QStringList errors;
  QStringList messages;
  std::deque<QString> openAnswers;
  std::deque<QString> saveAnswers;
  std::vector<QImage> printed;
  bool printAnswer = true;
  QString printToPdf;  // set: an accepted print is written to this PDF file
  int beeps = 0;
  QStringList opened;  // documents handed to the desktop, in order
  bool openDocumentAnswer = true;
  // Runs once a file dialog has answered, before the command goes on with the
  // answer: what the desktop may do while a dialog is open (a file removed,
  // the window closed).
  std::function<void(const QString& answer)> afterFileDialog;

 private:
  QString Answered(const QString& answer) {
    if (afterFileDialog) afterFileDialog(answer);
    return answer;
  }
  static QString Next(std::deque<QString>& answers) {
    if (answers.empty()) return {};
    QString a = answers.front();
    answers.pop_front();
    return a;
  }
};
