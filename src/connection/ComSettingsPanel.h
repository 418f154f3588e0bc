#pragma once
// The COM settings panel: the port the scope uses (the one place the chosen
// name is held), the chooser of the ports present, "Detect Hardware
// Revision" with the identity it read (revision, version, date) and "Close".
// The panel shows and reports; the window's connection watch decides.

#include "app/Widgets.h"

#include <QStringList>

#include <functional>

class PanelKit;
class PortComboBox;
class QLineEdit;
class QPushButton;

class ComSettingsPanel : public TPanel {
  Q_OBJECT
 public:
  ComSettingsPanel(QWidget* client, PanelKit& kit);
  void ShowOnTop();

  // The chosen port: what the watch opens and the close stores.
  QString PortName() const;
  void SetPortName(const QString& name);
  // Its hint shows the whole name, which may be wider than its place.
  void ShowPortNameHint();

  // The chooser: the ports present, none selected; and the item the user
  // picked.
  void FillPortChoices(const QStringList& items);
  QString PickedItem() const;

  // The identity the instrument gave; the version also stands on the
  // indicator in the status strip.
  void ShowIdentity(const QString& revision, const QString& version, const QString& date);
  QString VersionText() const;
  void SetDetectEnabled(bool enabled);
  void SetDetectCaption(const QString& caption);

  // What the user does, bound by the window to its handlers (through its
  // error wrapper).
  std::function<void()> OnChooserOpening;      // dropped down or entered
  std::function<void(int& key)> OnChooserKey;  // every key that reaches it
  std::function<void()> OnPortPicked;          // a choice the user made
  std::function<void()> OnDetect;              // "Detect Hardware Revision"

 private:
  TLabel* selectedCaption_ = nullptr;   // "Currently Selected COM Port:"
  TLabel* portName_ = nullptr;          // the chosen port name
  TLabel* availableCaption_ = nullptr;  // "Available COM Ports:"
  PortComboBox* chooser_ = nullptr;
  QPushButton* detectButton_ = nullptr;
  QLineEdit* revisionText_ = nullptr;
  QLineEdit* versionText_ = nullptr;
  QLineEdit* dateText_ = nullptr;
  QPushButton* closeButton_ = nullptr;
};
