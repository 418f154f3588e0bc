#include "display/ScreenPanel.h"

#include "app/PanelKit.h"

#include <QEvent>
#include <QPainter>

#include <vector>

namespace {

constexpr QRect ScreenPlace{27, 51, 504, 404};  // in the bezel: holds the plot
constexpr QRect PlotPlace{2, 2, 500, 400};      // the plot
constexpr QSize TriggerMarkerSize{15, 8};
constexpr int TriggerMarkerTop = 3;

constexpr QColor Lime(0, 255, 0);
constexpr QColor Yellow(255, 255, 0);

// The lines, in the panel (plot coordinates plus 2).
constexpr QRect XLinePlace{232, 4, 1, 396};
constexpr QRect OLinePlace{240, 4, 1, 396};
constexpr QRect ALinePlace{0, 150, 500, 1};
constexpr QRect BLinePlace{0, 232, 500, 1};
constexpr QRect LevelLinePlace{5, 0, 494, 1};  // Top set by the arrow

// Calls a callback the window may not have bound.
template <class F, class... A>
void Tell(const F& callback, A&&... args) {
  if (callback) callback(std::forward<A>(args)...);
}

// The strips left and right of the plot overlap the two outer columns of
// its panel on each side. The panel lies over them but lets them show
// through there, except where a line stands: the mask follows each line as
// it moves, shows or hides.
class BorderColumnsMask : public QObject {
 public:
  BorderColumnsMask(QWidget* panel, const QRegion& overlapped, std::vector<QWidget*> lines)
      : QObject(panel), panel_(panel), overlapped_(overlapped), lines_(std::move(lines)) {
    for (QWidget* line : lines_) line->installEventFilter(this);
    Update();
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    switch (event->type()) {
      case QEvent::Move:
      case QEvent::Resize:
      case QEvent::ShowToParent:
      case QEvent::HideToParent:
        Update();
        break;
      default:
        break;
    }
    return false;
  }

 private:
  void Update() {
    QRegion shown = QRegion(panel_->rect()) - overlapped_;
    for (QWidget* line : lines_)
      if (line->isVisibleTo(panel_)) shown += line->geometry();
    panel_->setMask(shown);
  }

  QWidget* panel_;
  QRegion overlapped_;
  std::vector<QWidget*> lines_;
};

}  // namespace

ScreenPanel::ScreenPanel(QWidget* bezel, PanelKit& kit, int triggerMarkerLeft)
    : TPanel(bezel, QStringLiteral("Panel4")) {
  setGeometry(ScreenPlace);
  SetColor(Qt::black);
  SetBevel(0);

  // The order they are made in is the order they are stacked in.
  plot_ = new TPaintBox(this, QStringLiteral("PaintBox2"));
  plot_->setGeometry(PlotPlace);
  plot_->setCursor(Qt::CrossCursor);
  plot_->OnPaint = kit.Handler([this](QPainter& canvas) { Tell(OnPaint, canvas, plot_->PaintRegion()); });

  triggerMarkerPanel_ = MakePanel(this, QStringLiteral("PlotTrigPanel"),
                                  QRect(QPoint(triggerMarkerLeft, TriggerMarkerTop), TriggerMarkerSize), Qt::black);
  triggerMarkerPanel_->hide();
  triggerMarker_ = new TImage(triggerMarkerPanel_, QStringLiteral("PlotTrigPos"));
  triggerMarker_->setGeometry(QRect(QPoint(0, 0), TriggerMarkerSize));
  triggerMarker_->SetTransparent(true);
  // A picture of the window design: one that cannot be read is reported and
  // leaves the marker blank; the window still comes up.
  kit.Guard([&] { kit.ShowBitmap(triggerMarker_, QStringLiteral("Grafics\\Markers\\TrigPosPlot.bmp")); });

  // Lines: one-pixel panels over the plot, hidden and disabled until a
  // cursor menu item shows them. Mouse tracking gives the voltage readouts
  // a refresh at every move over the plot.
  auto line = [&](const char* name, const QRect& place, const QColor& colour, ScreenPart part) {
    TPanel* panel = MakePanel(this, QString::fromLatin1(name), place, colour);
    panel->setCursor(Qt::CrossCursor);
    panel->setMouseTracking(true);
    panel->setEnabled(false);
    panel->hide();
    panel->mouse.OnMouseDown =
        kit.Handler([this, part](Qt::MouseButton b, int x, int y) { Tell(OnMousePressed, part, b, x, y); });
    panel->mouse.OnMouseMove = kit.Handler([this, part](int x, int y) { Tell(OnMouseMoved, part, x, y); });
    panel->mouse.OnMouseUp =
        kit.Handler([this, part](Qt::MouseButton b, int x, int y) { Tell(OnMouseReleased, part, b, x, y); });
    return panel;
  };
  xLine_ = line("XCursor", XLinePlace, Lime, ScreenPart::XLine);
  oLine_ = line("OCursor", OLinePlace, Yellow, ScreenPart::OLine);
  aLine_ = line("HozCusA", ALinePlace, Lime, ScreenPart::ALine);
  bLine_ = line("HozCusB", BLinePlace, Yellow, ScreenPart::BLine);

  plot_->setMouseTracking(true);
  plot_->mouse.OnMouseDown =
      kit.Handler([this](Qt::MouseButton b, int x, int y) { Tell(OnMousePressed, ScreenPart::Plot, b, x, y); });
  plot_->mouse.OnMouseMove = kit.Handler([this](int x, int y) { Tell(OnMouseMoved, ScreenPart::Plot, x, y); });
  plot_->mouse.OnMouseUp =
      kit.Handler([this](Qt::MouseButton b, int x, int y) { Tell(OnMouseReleased, ScreenPart::Plot, b, x, y); });

  // The level line lies over the cursor lines.
  levelLine_ = new TPanel(this, QStringLiteral("TriggerVoltageLine"));
  levelLine_->setGeometry(LevelLinePlace);
  levelLine_->SetBevel(0);
  levelLine_->setAttribute(Qt::WA_TransparentForMouseEvents);
  levelLine_->hide();
  levelLine_->raise();
}

void ScreenPanel::RepaintPlot() { plot_->update(); }

void ScreenPanel::RepaintPlotRows(const screen_model::RowBands& rows) {
  QRegion region;
  for (const screen_model::RowSpan& band : rows.Bands()) region += QRect(0, band.first, plot_->width(), band.Count());
  plot_->update(region);
}

void ScreenPanel::RepaintPlotColumns(int first, int last) {
  if (last >= first) plot_->update(QRect(first, 0, last - first + 1, plot_->height()));
}

int ScreenPanel::TriggerMarkerLeft() const { return Left(triggerMarkerPanel_); }
void ScreenPanel::PlaceTriggerMarker(int left) { SetLeft(triggerMarkerPanel_, left); }
void ScreenPanel::UpdateTriggerMarker() { triggerMarkerPanel_->update(); }
void ScreenPanel::ShowTriggerMarker() { triggerMarkerPanel_->show(); }

TPanel* ScreenPanel::TimeLine(TimeCursor cursor) const { return cursor == TimeCursor::X ? xLine_ : oLine_; }
TPanel* ScreenPanel::VoltageLine(VoltageCursor cursor) const { return cursor == VoltageCursor::A ? aLine_ : bLine_; }

int ScreenPanel::TimeLineLeft(TimeCursor cursor) const { return Left(TimeLine(cursor)); }
void ScreenPanel::PlaceTimeLine(TimeCursor cursor, int left) { SetLeft(TimeLine(cursor), left); }
int ScreenPanel::VoltageLineTop(VoltageCursor cursor) const { return Top(VoltageLine(cursor)); }
void ScreenPanel::PlaceVoltageLine(VoltageCursor cursor, int top) { SetTop(VoltageLine(cursor), top); }

void ScreenPanel::SetTimeLinesShown(bool shown) {
  for (TPanel* line : {xLine_, oLine_}) line->setVisible(shown);
}
void ScreenPanel::SetVoltageLinesShown(bool shown) {
  for (TPanel* line : {aLine_, bLine_}) line->setVisible(shown);
}
void ScreenPanel::SetTimeLinesEnabled(bool enabled) {
  for (TPanel* line : {xLine_, oLine_}) line->setEnabled(enabled);
}
void ScreenPanel::SetVoltageLinesEnabled(bool enabled) {
  for (TPanel* line : {aLine_, bLine_}) line->setEnabled(enabled);
}
void ScreenPanel::UpdateTimeLines() {
  xLine_->update();
  oLine_->update();
}
void ScreenPanel::UpdateLines() {
  for (TPanel* line : {xLine_, oLine_, aLine_, bLine_}) line->update();
}

void ScreenPanel::LayLinesOver(std::initializer_list<const QWidget*> strips) {
  QRegion overlapped;
  for (const QWidget* strip : strips) overlapped += strip->geometry().intersected(geometry()).translated(-pos());
  new BorderColumnsMask(this, overlapped, {xLine_, oLine_, aLine_, bLine_});
  raise();
}

void ScreenPanel::PlaceLevelLine(int top) { SetTop(levelLine_, top); }
void ScreenPanel::SetLevelLineShown(bool shown) { levelLine_->setVisible(shown); }
void ScreenPanel::SetLevelLineColour(const QColor& colour) { levelLine_->SetColor(colour); }
