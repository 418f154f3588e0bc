#pragma once
// The "Display Properties" dialog: persistence mode and level, the graticule
// behind the traces and the background of saved views. Modeless: it is
// created hidden with the main window, shown by Settings > Display
// Properties... and closed by its "Close" button; its choices act on the main
// window's state at once and are seen at the next frame.
//
// Its handlers run through the window's error wrapper (PanelKit), so a graticule
// that cannot be read is reported like any other failure.

#include <QDialog>

#include <array>

class QFrame;
class QLabel;
class QPushButton;
class QRadioButton;
class QSlider;
class QWidget;
class PanelKit;
class QImage;
class SettingsStore;
struct ScopeState;

class TDisPropertiesForm : public QDialog {
  Q_OBJECT
 public:
  TDisPropertiesForm(ScopeState& state, PanelKit& kit, QImage& gridBitmap, SettingsStore& store, QWidget* parent);

  // PersistenceMode := Off. Run once, when the dialog is created.
  void FormCreate();
  // Selects the radios that match the main window's present state; a radio
  // that was not selected runs its click action. Run each time the dialog
  // is shown, and again when a command rewrites the state while it is open.
  void FormShow();

  void RadioButton1Click();  // "Off"
  void RadioButton2Click();  // "Normal"
  void RadioButton3Click();  // "Rainbow"
  void PersitanceTrackBarChange();
  // The graticules: "Full Grid" (4) .. "Blank" (8).
  void RadioButton4Click();
  void RadioButton5Click();
  void RadioButton6Click();
  void RadioButton7Click();
  void RadioButton8Click();
  void ColorAClick();         // "White Background"
  void RadioButton10Click();  // "Black Background"
  void Button1Click();        // "Close"

  QLabel* Label3 = nullptr;
  QRadioButton* RadioButton1 = nullptr;
  QRadioButton* RadioButton2 = nullptr;
  QRadioButton* RadioButton3 = nullptr;
  QSlider* PersitanceTrackBar = nullptr;
  QLabel* Label4 = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* Label1 = nullptr;
  QFrame* Bevel1 = nullptr;
  QFrame* Bevel2 = nullptr;
  QFrame* Bevel3 = nullptr;
  QWidget* Panel1 = nullptr;
  QLabel* Label5 = nullptr;
  QRadioButton* RadioButton4 = nullptr;
  QRadioButton* RadioButton5 = nullptr;
  QRadioButton* RadioButton6 = nullptr;
  QRadioButton* RadioButton7 = nullptr;
  QRadioButton* RadioButton8 = nullptr;
  QLabel* Label6 = nullptr;
  QLabel* Label7 = nullptr;
  QLabel* Label8 = nullptr;
  QWidget* Panel2 = nullptr;
  QRadioButton* ColorA = nullptr;
  QRadioButton* RadioButton10 = nullptr;
  QPushButton* Button1 = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // One body for the three persistence radios and for the five graticules.
  void ChoosePersistence(int choice);
  void ChooseGraticule(int choice);
  void ChooseSaveBackground(bool white);
  // Selects `radio` from code: runs its action only when it was not selected.
  void Select(QRadioButton* radio, void (TDisPropertiesForm::*action)());
  // Shows the graticule of GridFile selected, without running any action.
  void ShowGraticuleInUse();
  // Leaves every radio of one group unselected.
  static void SelectNone(const std::array<QRadioButton*, 5>& group);
  // The dialog's three groups, built in the order they are stacked, and
  // their handlers bound.
  void BuildPersistence();
  void BuildGraticule();
  void BuildSaveBackground();
  void BindHandlers();
  void Bind(QRadioButton* radio, void (TDisPropertiesForm::*action)());

  ScopeState& state_;
  PanelKit& kit_;
  QImage& gridBitmap_;
  SettingsStore& store_;
  std::array<QRadioButton*, 5> graticuleRadios_{};
};
