#include "controls/PositionStrip.h"

#include "app/Errors.h"
#include "app/PanelKit.h"

#include <iterator>

namespace {

constexpr QRect StripPlace{7, 46, 22, 417};  // in the bezel, left of the plot
constexpr QRect MarkerPlace{1, 0, 22, 15};   // Top set by the channel's 0 V row

// The two looks of each channel's marker.
struct MarkerLooks {
  const char* selected;
  const char* unselected;
};
constexpr MarkerLooks MarkerPictures[] = {
    {"Grafics\\Markers\\CH1Pos.bmp", "Grafics\\Markers\\CH1PosNS.bmp"},
    {"Grafics\\Markers\\CH2Pos.bmp", "Grafics\\Markers\\CH2PosNS.bmp"},
};

// Calls a callback the window may not have bound.
template <class F, class... A>
void Tell(const F& callback, A&&... args) {
  if (callback) callback(std::forward<A>(args)...);
}

std::size_t Index(int channel) {
  CheckListIndex(channel - 1, std::size(MarkerPictures));
  return std::size_t(channel - 1);
}

}  // namespace

PositionStrip::PositionStrip(QWidget* bezel, PanelKit& kit) : TPanel(bezel, QStringLiteral("Panel3")), kit_(kit) {
  setGeometry(StripPlace);
  SetColor(Qt::black);
  SetBevel(0);

  // The order they are made in is the order they are stacked in: Image1,
  // CH1NS, Image2, CH2NS.
  auto marker = [this, &kit](const QString& name, int channel) {
    auto* m = new TImage(this, name);
    m->SetTransparent(true);
    m->setGeometry(MarkerPlace);
    m->setCursor(Qt::SizeVerCursor);
    m->hide();
    m->mouse.OnMouseDown =
        kit.Handler([this, m](Qt::MouseButton b, int x, int y) { Tell(OnMarkerPressed, m, b, x, y); });
    m->mouse.OnMouseMove = kit.Handler([this, m](int x, int y) { Tell(OnMarkerMoved, m, x, y); });
    // The click is handled before the release, while the button still counts
    // as down: that is what makes a click on a marker select its channel
    // without switching anything on. Each runs as a handler of its own, so a
    // failing click cannot leave the marker stuck to the pointer.
    m->mouse.OnMouseUp = [this, m, channel](Qt::MouseButton b, int x, int y) {
      if (b == Qt::LeftButton && m->rect().contains(x, y)) kit_.Guard([&] { Tell(OnMarkerClicked, channel); });
      kit_.Guard([&] { Tell(OnMarkerReleased, m, b, x, y); });
    };
    return m;
  };
  for (int n : {1, 2}) {
    markers_[n - 1] = marker(QStringLiteral("Image%1").arg(n), n);
    unselectedMarkers_[n - 1] = marker(QStringLiteral("CH%1NS").arg(n), n);
  }
}

void PositionStrip::ShowDesignPictures() {
  for (int n : {1, 2}) {
    kit_.ShowBitmap(markers_[n - 1], QString::fromLatin1(MarkerPictures[n - 1].selected));
    kit_.ShowBitmap(unselectedMarkers_[n - 1], QString::fromLatin1(MarkerPictures[n - 1].unselected));
  }
}

void PositionStrip::PlaceMarker(int channel, int top) {
  const std::size_t i = Index(channel);
  SetTop(markers_[i], top);
  SetTop(unselectedMarkers_[i], top);
}

int PositionStrip::MarkerTop(int channel) const { return Top(markers_[Index(channel)]); }

void PositionStrip::SetMarkerShown(int channel, bool shown) { markers_[Index(channel)]->setVisible(shown); }

void PositionStrip::SetUnselectedMarkerShown(int channel, bool shown) {
  unselectedMarkers_[Index(channel)]->setVisible(shown);
}

int PositionStrip::MarkerChannel(const QWidget* widget) const {
  for (int n : {1, 2})
    if (widget == markers_[n - 1] || widget == unselectedMarkers_[n - 1]) return n;
  return 0;
}
