#include "controls/VerticalControls.h"

#include "app/PanelKit.h"

namespace {

// Places, in the parent's pixels.
constexpr QRect ColumnPlace{559, 0, 225, 505};    // in the client area
constexpr QRect Panel6Place{9, 227, 200, 200};   // the volts/div knob
constexpr QRect Image7Place{0, 0, 200, 200};     // in Panel6: the face
constexpr QRect Image5Place{92, 92, 16, 16};     // in Panel6: the dot, moved with the angle
constexpr QRect Image6Place{0, 425, 225, 80};    // the channel selector
constexpr QRect KeyPlaces[] = {{18, 434, 63, 63}, {142, 434, 61, 63}};  // CH1Button, CH2Button
constexpr QRect ChannelOffPlace{92, 431, 45, 25};

// Calls a callback the window may not have bound.
template <class F, class... A>
void Tell(const F& callback, A&&... args) {
  if (callback) callback(std::forward<A>(args)...);
}

}  // namespace

VerticalControls::VerticalControls(QWidget* client, PanelKit& kit)
    : TPanel(client, QStringLiteral("HorVerPanel")), kit_(kit) {
  setGeometry(ColumnPlace);
  SetColor(PanelGrey);
  SetBevel(0);

  // The order they are made in is the order they are stacked in.
  voltsKnobPanel_ = MakePanel(this, QStringLiteral("Panel6"), Panel6Place);
  voltsKnob_ = new TImage(voltsKnobPanel_, QStringLiteral("Image7"));
  voltsKnob_->setGeometry(Image7Place);
  voltsKnob_->setEnabled(false);
  voltsKnob_->setCursor(Qt::PointingHandCursor);
  voltsKnob_->mouse.OnMouseDown =
      kit.Handler([this](Qt::MouseButton b, int x, int y) { Tell(OnVoltsKnobPressed, b, x, y); });
  voltsKnob_->mouse.OnMouseMove = kit.Handler([this](int x, int y) { Tell(OnVoltsKnobMoved, x, y); });
  voltsKnob_->mouse.OnMouseUp =
      kit.Handler([this](Qt::MouseButton b, int x, int y) { Tell(OnVoltsKnobReleased, b, x, y); });
  // The dot rides on the face and never takes the pointer, so a press on it
  // still turns the knob.
  voltsDot_ = new TImage(voltsKnobPanel_, QStringLiteral("Image5"));
  voltsDot_->SetTransparent(true);
  voltsDot_->setGeometry(Image5Place);
  voltsDot_->setEnabled(false);
  voltsDot_->setAttribute(Qt::WA_TransparentForMouseEvents);
  voltsDot_->hide();

  // The channel selector and the click areas over its three keys.
  selector_ = new TImage(this, QStringLiteral("Image6"));
  selector_->setGeometry(Image6Place);
  for (int n : {1, 2}) {
    TPaintBox* key = new TPaintBox(this, QStringLiteral("CH%1Button").arg(n));
    key->setAttribute(Qt::WA_OpaquePaintEvent, false);  // draws nothing: the picture shows through
    key->setCursor(Qt::PointingHandCursor);
    key->setGeometry(KeyPlaces[n - 1]);
    key->setToolTip(QStringLiteral("Turn on and/or select CH%1.").arg(n));
    key->mouse.OnClick = kit.Handler([this, n] { Tell(OnChannelKey, n); });
    channelKeys_[n - 1] = key;
  }
  channelOffKey_ = MakeImageButton(this, QStringLiteral("ChannelOff"), ChannelOffPlace,
                                   QStringLiteral("Turn off selected channel."));
  channelOffKey_->mouse.OnClick = kit.Handler([this] { Tell(OnChannelOffKey); });
}

void VerticalControls::ShowVoltsKnobFace(const QString& absolutePath) { voltsKnob_->LoadFromFile(absolutePath); }

void VerticalControls::ShowVoltsKnobPicture(const QString& relativePath) {
  kit_.ShowBitmap(voltsKnob_, relativePath);
}

void VerticalControls::SetVoltsKnobEnabled(bool enabled) { voltsKnob_->setEnabled(enabled); }

bool VerticalControls::VoltsKnobEnabled() const { return voltsKnob_->isEnabledTo(voltsKnobPanel_); }

void VerticalControls::SetVoltsKnobPanelEnabled(bool enabled) { voltsKnobPanel_->setEnabled(enabled); }

QSize VerticalControls::VoltsKnobSize() const { return voltsKnob_->size(); }

void VerticalControls::ShowVoltsDot(const QString& relativePath) { kit_.ShowBitmap(voltsDot_, relativePath); }

void VerticalControls::PlaceVoltsDot(int left, int top) { voltsDot_->move(left, top); }

void VerticalControls::SetVoltsDotShown(bool shown) { voltsDot_->setVisible(shown); }

void VerticalControls::ShowSelector(const QString& relativePath) { kit_.ShowBitmap(selector_, relativePath); }

void VerticalControls::RaiseKeys() {
  channelOffKey_->raise();
  channelKeys_[0]->raise();
  channelKeys_[1]->raise();
}

int VerticalControls::ChannelOfKey(const QObject* widget) const {
  for (int n : {1, 2})
    if (widget == channelKeys_[n - 1]) return n;
  return 0;
}

bool VerticalControls::IsChannelOffKey(const QObject* widget) const { return widget == channelOffKey_; }
