#include "controls/TriggerStrip.h"

#include "app/Errors.h"
#include "app/PanelKit.h"

#include <iterator>

namespace {

constexpr QRect StripPlace{529, 46, 22, 417};  // in the bezel: right of the plot
constexpr int IndicatorAboveTop = 0;           // in the strip
constexpr int IndicatorBelowTop = 402;
constexpr QSize IndicatorSize{22, 15};
constexpr QRect ArrowPlace{1, 0, 22, 15};  // Top set by the level

// The pictures of the strip, drawn with the window's design, per channel.
struct ChannelPictures {
  const char* arrow;
  const char* above;
  const char* below;
};
constexpr ChannelPictures Pictures[2] = {
    {"Grafics\\Markers\\TrigArrowCH1.bmp", "Grafics\\Markers\\TrigUpCH1.bmp", "Grafics\\Markers\\TrigDownCH1.bmp"},
    {"Grafics\\Markers\\TrigArrowCH2.bmp", "Grafics\\Markers\\TrigUpCH2.bmp", "Grafics\\Markers\\TrigDownCH2.bmp"},
};

// Calls a callback the window may not have bound.
template <class F, class... A>
void Tell(const F& callback, A&&... args) {
  if (callback) callback(std::forward<A>(args)...);
}

}  // namespace

TriggerStrip::TriggerStrip(QWidget* bezel, PanelKit& kit) : TPanel(bezel, QStringLiteral("TriggerSlider")) {
  setGeometry(StripPlace);
  SetColor(Qt::black);
  SetBevel(0);

  // The order they are made in is the order they are stacked in: the
  // indicators of CH1, of CH2, then the arrows.
  const QString resetHint = QStringLiteral("Double Click Here to Reset Trigger Voltage to 0V");
  auto indicator = [&](const char* name, int top, int channel) {
    auto* image = new TImage(this, QString::fromLatin1(name));
    image->setGeometry(QRect(QPoint(0, top), IndicatorSize));
    image->setToolTip(resetHint);
    image->mouse.OnDblClick = kit.Handler([this, channel] { Tell(OnIndicatorDoubleClick, channel); });
    image->hide();
    return image;
  };
  indicatorsAbove_[0] = indicator("TrigUP", IndicatorAboveTop, 1);
  indicatorsBelow_[0] = indicator("TrigDWN", IndicatorBelowTop, 1);
  indicatorsAbove_[1] = indicator("TrigUP2", IndicatorAboveTop, 2);
  indicatorsBelow_[1] = indicator("TrigDWN2", IndicatorBelowTop, 2);

  auto arrow = [&](const char* name, int channel) {
    auto* image = new TImage(this, QString::fromLatin1(name));
    image->setGeometry(ArrowPlace);
    image->SetTransparent(true);
    image->setCursor(Qt::SizeVerCursor);
    image->hide();
    image->mouse.OnMouseDown = kit.Handler([this, channel](Qt::MouseButton b, int x, int y) {
      Tell(OnArrowPressed, channel, b, x, y);
    });
    image->mouse.OnMouseMove = kit.Handler([this, channel](int x, int y) { Tell(OnArrowMoved, channel, x, y); });
    image->mouse.OnMouseUp = kit.Handler([this, channel](Qt::MouseButton b, int x, int y) {
      Tell(OnArrowReleased, channel, b, x, y);
    });
    return image;
  };
  arrows_[0] = arrow("TriggerArrowCH1", 1);
  arrows_[1] = arrow("TriggerArrowCH2", 2);

  const std::pair<TImage*, const char*> pictures[] = {
      {arrows_[0], Pictures[0].arrow},           {arrows_[1], Pictures[1].arrow},
      {indicatorsAbove_[0], Pictures[0].above}, {indicatorsBelow_[0], Pictures[0].below},
      {indicatorsAbove_[1], Pictures[1].above}, {indicatorsBelow_[1], Pictures[1].below},
  };
  for (const auto& [image, path] : pictures) kit.Guard([&] { kit.ShowBitmap(image, QString::fromLatin1(path)); });
}

namespace {
// The index of a channel's widgets; any number but 1 and 2 throws.
std::size_t Slot(int channel) {
  CheckListIndex(channel - 1, 2);
  return static_cast<std::size_t>(channel - 1);
}
}  // namespace

int TriggerStrip::ArrowTop(int channel) const { return Top(arrows_[Slot(channel)]); }
void TriggerStrip::PlaceArrow(int channel, int top) { SetTop(arrows_[Slot(channel)], top); }
bool TriggerStrip::ArrowShown(int channel) const { return arrows_[Slot(channel)]->isVisibleTo(this); }
void TriggerStrip::SetArrowShown(int channel, bool shown) { arrows_[Slot(channel)]->setVisible(shown); }
void TriggerStrip::RaiseArrow(int channel) { arrows_[Slot(channel)]->raise(); }
void TriggerStrip::RepaintArrow(int channel) { arrows_[Slot(channel)]->repaint(); }

void TriggerStrip::SetIndicatorsShown(int channel, bool above, bool below) {
  indicatorsAbove_[Slot(channel)]->setVisible(above);
  indicatorsBelow_[Slot(channel)]->setVisible(below);
}

void TriggerStrip::HideIndicators() {
  for (TImage* indicator : {indicatorsAbove_[0], indicatorsBelow_[0], indicatorsAbove_[1], indicatorsBelow_[1]})
    indicator->hide();
}
