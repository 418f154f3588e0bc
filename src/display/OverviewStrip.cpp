#include "display/OverviewStrip.h"

#include "app/PanelKit.h"

namespace {

constexpr QRect StripPlace{21, 8, 518, 43};      // in the bezel, above the plot
constexpr QRect RecordPicturePlace{8, 2, 500, 26};
constexpr QRect BackgroundPlace{7, 0, 503, 35};
constexpr QRect ViewWindowPlace{OverviewStrip::ViewWindowStartLeft, 2, 169, 26};
constexpr QRect TriggerPositionPlace{OverviewStrip::TriggerPositionStartLeft, 3, 15, 40};
constexpr QRect XHandlePlace{227, 3, 15, 40};
constexpr QRect OHandlePlace{275, 3, 15, 40};

// Calls a callback the window may not have bound.
template <class F, class... A>
void Tell(const F& callback, A&&... args) {
  if (callback) callback(std::forward<A>(args)...);
}

}  // namespace

OverviewStrip::OverviewStrip(QWidget* bezel, PanelKit& kit) : TPanel(bezel, QStringLiteral("h")) {
  setGeometry(StripPlace);
  SetColor(Qt::black);
  SetBevel(0);

  // The order they are made in is the order they are stacked in.
  background_ = new TImage(this, QStringLiteral("PreViewBkGRND"));
  background_->setGeometry(BackgroundPlace);
  background_->SetTransparent(true);

  recordPicture_ = new TImage(this, QStringLiteral("Image4"));
  recordPicture_->setGeometry(RecordPicturePlace);

  viewWindow_ = new TImage(this, QStringLiteral("Image3"));
  viewWindow_->setGeometry(ViewWindowPlace);
  viewWindow_->SetTransparent(true);
  viewWindow_->setCursor(Qt::SizeHorCursor);

  triggerPosition_ = new TImage(this, QStringLiteral("HorTrigPos"));
  triggerPosition_->setGeometry(TriggerPositionPlace);
  triggerPosition_->SetTransparent(true);
  triggerPosition_->setCursor(Qt::SplitHCursor);

  // The markers are pictures of the window design. One that cannot be read
  // is reported like any other bitmap and leaves its marker blank; the window
  // still comes up.
  const std::pair<TImage*, const char*> designPictures[] = {
      {background_, "Grafics\\Panel\\OverviewBackground.bmp"},
      {viewWindow_, "Grafics\\Markers\\ViewWindow.bmp"},
      {triggerPosition_, "Grafics\\Markers\\TrigPosRecord.bmp"},
  };
  for (const auto& [image, path] : designPictures) kit.Guard([&] { kit.ShowBitmap(image, QString::fromLatin1(path)); });
  background_->lower();

  auto handle = [this](const char* name, const QRect& place) {
    auto* image = new TImage(this, QString::fromLatin1(name));
    image->setGeometry(place);
    image->SetTransparent(true);
    image->setCursor(Qt::SplitHCursor);
    image->hide();
    return image;
  };
  xHandle_ = handle("CursorX", XHandlePlace);
  oHandle_ = handle("CursorO", OHandlePlace);

  // One set of callbacks for every marker; the window's handlers branch on
  // the pressed one.
  for (OverviewMarker marker : {OverviewMarker::ViewWindow, OverviewMarker::TriggerPosition, OverviewMarker::XHandle,
                                OverviewMarker::OHandle}) {
    TImage* image = Marker(marker);
    image->mouse.OnMouseDown = kit.Handler(
        [this, marker](Qt::MouseButton b, int x, int y) { Tell(OnMarkerPressed, marker, b, x, y); });
    image->mouse.OnMouseMove = kit.Handler([this, marker](int x, int y) { Tell(OnMarkerMoved, marker, x, y); });
    image->mouse.OnMouseUp = kit.Handler(
        [this, marker](Qt::MouseButton b, int x, int y) { Tell(OnMarkerReleased, marker, b, x, y); });
  }

  const std::pair<TImage*, const char*> handlePictures[] = {
      {xHandle_, "Grafics\\Markers\\CursorX.bmp"},
      {oHandle_, "Grafics\\Markers\\CursorO.bmp"},
  };
  for (const auto& [image, path] : handlePictures) kit.Guard([&] { kit.ShowBitmap(image, QString::fromLatin1(path)); });
}

void OverviewStrip::ShowRecordPicture(const QImage& picture) { recordPicture_->SetPicture(picture); }

TImage* OverviewStrip::Marker(OverviewMarker marker) const {
  switch (marker) {
    case OverviewMarker::ViewWindow: return viewWindow_;
    case OverviewMarker::TriggerPosition: return triggerPosition_;
    case OverviewMarker::XHandle: return xHandle_;
    case OverviewMarker::OHandle: return oHandle_;
  }
  return viewWindow_;
}

int OverviewStrip::MarkerLeft(OverviewMarker marker) const { return Left(Marker(marker)); }
void OverviewStrip::PlaceMarker(OverviewMarker marker, int left) { SetLeft(Marker(marker), left); }
void OverviewStrip::RaiseMarker(OverviewMarker marker) { Marker(marker)->raise(); }
void OverviewStrip::RepaintMarker(OverviewMarker marker) { Marker(marker)->repaint(); }

void OverviewStrip::SetHandlesShown(bool shown) {
  for (TImage* handle : {xHandle_, oHandle_}) handle->setVisible(shown);
}

void OverviewStrip::LowerBackground() { background_->lower(); }
