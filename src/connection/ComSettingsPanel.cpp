#include "connection/ComSettingsPanel.h"

#include "app/PanelKit.h"
#include "connection/PortComboBox.h"

#include <QAbstractItemView>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr QRect PanelPlace{56, 352, 444, 113};  // in the client area
// The panel's own layout.
constexpr QRect SelectedCaptionPlace{8, 12, 144, 13};
constexpr QRect PortNamePlace{152, 12, 92, 13};  // wider names slip under the detect key
constexpr QRect AvailableCaptionPlace{64, 34, 120, 13};
constexpr QRect ChooserPlace{32, 52, 177, 21};
constexpr QRect DetectPlace{248, 8, 185, 17};
constexpr QRect RevisionPlace{248, 28, 185, 21};
constexpr QRect VersionPlace{248, 52, 185, 21};
constexpr QRect DatePlace{248, 76, 185, 21};
constexpr QRect ClosePlace{8, 80, 75, 25};

// Shrinks a label's font until its caption fits its width: the panel's
// places were laid out for a narrower typeface than most systems have.
void FitCaptionToWidth(QLabel* label) {
  QFont f = label->font();
  while (f.pixelSize() > 8 && QFontMetrics(f).horizontalAdvance(label->text()) > label->width()) {
    f.setPixelSize(f.pixelSize() - 1);
  }
  label->setFont(f);
}

QLineEdit* MakeEdit(QWidget* parent, const char* name, const QRect& place) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromLatin1(name));
  edit->setGeometry(place);
  edit->setReadOnly(true);
  return edit;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, const QRect& place) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setGeometry(place);
  button->setFocusPolicy(Qt::TabFocus);
  return button;
}

}  // namespace

ComSettingsPanel::ComSettingsPanel(QWidget* client, PanelKit& kit) : TPanel(client, QStringLiteral("SettingPanel")) {
  setGeometry(PanelPlace);
  SetColor(PanelGrey);
  SetBevel(2);
  hide();
  QFont small = font();
  small.setPixelSize(10);
  setFont(small);

  selectedCaption_ = new TLabel(this, QStringLiteral("Label2"), QStringLiteral("Currently Selected COM Port:"));
  selectedCaption_->setGeometry(SelectedCaptionPlace);
  FitCaptionToWidth(selectedCaption_);
  portName_ = new TLabel(this, QStringLiteral("Label3"), QStringLiteral("COM4"));
  portName_->setGeometry(PortNamePlace);
  portName_->SetFontColor(Qt::blue);
  availableCaption_ = new TLabel(this, QStringLiteral("Label1"), QStringLiteral("Available COM Ports:"));
  availableCaption_->setGeometry(AvailableCaptionPlace);

  chooser_ = new PortComboBox(this, QStringLiteral("ComboBox1"));
  chooser_->setGeometry(ChooserPlace);
  chooser_->OnDropDown = kit.Handler([this] {
    if (OnChooserOpening) OnChooserOpening();
  });
  chooser_->OnEnter = chooser_->OnDropDown;
  chooser_->OnKeyDown = [this, &kit](int& key) {
    kit.Guard([this, &key] {
      if (OnChooserKey) OnChooserKey(key);
    });
  };
  // Only a choice the user makes counts; refilling the items does not.
  connect(chooser_, &QComboBox::activated, this, kit.Handler([this] {
    if (OnPortPicked) OnPortPicked();
  }));

  detectButton_ = MakeButton(this, "Button1", QStringLiteral("Detect Hardware Revision"), DetectPlace);
  detectButton_->setEnabled(false);
  connect(detectButton_, &QPushButton::clicked, this, kit.Handler([this] {
    if (OnDetect) OnDetect();
  }));
  revisionText_ = MakeEdit(this, "Edit2", RevisionPlace);
  versionText_ = MakeEdit(this, "Edit3", VersionPlace);
  dateText_ = MakeEdit(this, "Edit4", DatePlace);
  closeButton_ = MakeButton(this, "Button4", QStringLiteral("Close"), ClosePlace);
  connect(closeButton_, &QPushButton::clicked, this, &QWidget::hide);
}

void ComSettingsPanel::ShowOnTop() {
  show();
  raise();
}

QString ComSettingsPanel::PortName() const { return portName_->text(); }
void ComSettingsPanel::SetPortName(const QString& name) { portName_->setText(name); }
void ComSettingsPanel::ShowPortNameHint() { portName_->setToolTip(portName_->text()); }

void ComSettingsPanel::FillPortChoices(const QStringList& items) {
  chooser_->clear();
  chooser_->addItems(items);
  chooser_->setCurrentIndex(-1);
  chooser_->view()->setMinimumWidth(chooser_->view()->sizeHintForColumn(0) + 8);
}

QString ComSettingsPanel::PickedItem() const { return chooser_->currentText(); }

void ComSettingsPanel::ShowIdentity(const QString& revision, const QString& version, const QString& date) {
  revisionText_->setText(revision);
  revisionText_->home(false);  // the start of a long text, not its end
  versionText_->setText(version);
  dateText_->setText(date);
}

QString ComSettingsPanel::VersionText() const { return versionText_->text(); }
void ComSettingsPanel::SetDetectEnabled(bool enabled) { detectButton_->setEnabled(enabled); }
void ComSettingsPanel::SetDetectCaption(const QString& caption) { detectButton_->setText(caption); }
