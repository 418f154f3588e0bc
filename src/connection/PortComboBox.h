#pragma once
// The port chooser: a drop-down list that refreshes its items whenever it is
// about to be used (dropped down, or entered by mouse or keyboard) and lets
// no key change the selection. What a refresh does is up to the window,
// which binds the callbacks to its handlers.

#include <QComboBox>

#include <functional>

class PortComboBox : public QComboBox {
  Q_OBJECT
 public:
  PortComboBox(QWidget* parent, const QString& name);

  std::function<void()> OnDropDown;
  std::function<void()> OnEnter;
  // Receives every key that reaches the list; the key is never passed on.
  std::function<void(int& key)> OnKeyDown;

  void showPopup() override;

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  // Every key is the list's own, even one the window has a shortcut for.
  bool event(QEvent* event) override;
};

// Calls back once, right after the first time the watched widget has been
// shown and its own show handling (the restore of the settings) has run.
class AfterFirstShow : public QObject {
  Q_OBJECT
 public:
  AfterFirstShow(QWidget* watched, std::function<void()> callback);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::function<void()> callback_;
};
