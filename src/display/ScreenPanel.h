#pragma once
// The screen (Panel4): the plot surface (PaintBox2), the trigger marker over
// it (PlotTrigPanel with PlotTrigPos), the cursor lines (XCursor, OCursor,
// HozCusA, HozCusB) and the trigger level line (TriggerVoltageLine). The plot
// is only ever a copy of the window's plot bitmap, painted by the window's
// handler; the panel places, shows and repaints its parts as told.

#include "app/Widgets.h"
#include "display/RowBands.h"
#include "display/ScreenParts.h"

#include <functional>

class PanelKit;
class QPainter;

class ScreenPanel : public TPanel {
  Q_OBJECT
 public:
  // Builds the screen in the bezel with its lines hidden; the trigger
  // marker, hidden until a run places it, at `triggerMarkerLeft`.
  ScreenPanel(QWidget* bezel, PanelKit& kit, int triggerMarkerLeft);

  // ---- The plot -----------------------------------------------------------
  void RepaintPlot();
  // Only these rows of the plot, across its whole width.
  void RepaintPlotRows(const screen_model::RowBands& rows);
  // Only the columns first..last of the plot, across its whole height.
  void RepaintPlotColumns(int first, int last);

  // ---- The trigger marker over the plot ----------------------------------
  int TriggerMarkerLeft() const;
  void PlaceTriggerMarker(int left);
  void UpdateTriggerMarker();
  void ShowTriggerMarker();

  // ---- The cursor lines ------------------------------------------------------
  int TimeLineLeft(TimeCursor cursor) const;
  void PlaceTimeLine(TimeCursor cursor, int left);
  int VoltageLineTop(VoltageCursor cursor) const;
  void PlaceVoltageLine(VoltageCursor cursor, int top);
  void SetTimeLinesShown(bool shown);
  void SetVoltageLinesShown(bool shown);
  // A disabled line takes no mouse; the lines are disabled while hidden.
  void SetTimeLinesEnabled(bool enabled);
  void SetVoltageLinesEnabled(bool enabled);
  void UpdateTimeLines();  // X, then O
  void UpdateLines();      // all four

  // Once the strips beside the plot are built: the panel lies over them but
  // lets them show where they overlap it, except where a line stands.
  void LayLinesOver(std::initializer_list<const QWidget*> strips);

  // ---- The trigger level line ---------------------------------------------
  void PlaceLevelLine(int top);
  void SetLevelLineShown(bool shown);
  void SetLevelLineColour(const QColor& colour);

  // ---- What the user does: bound by the window ----------------------------
  // Paints the part of the plot in `region` (the plot's own pixels).
  std::function<void(QPainter&, const QRegion& region)> OnPaint;
  std::function<void(ScreenPart, Qt::MouseButton, int x, int y)> OnMousePressed;
  std::function<void(ScreenPart, int x, int y)> OnMouseMoved;
  std::function<void(ScreenPart, Qt::MouseButton, int x, int y)> OnMouseReleased;

 private:
  TPanel* TimeLine(TimeCursor cursor) const;
  TPanel* VoltageLine(VoltageCursor cursor) const;

  TPaintBox* plot_ = nullptr;
  TPanel* triggerMarkerPanel_ = nullptr;
  TImage* triggerMarker_ = nullptr;
  TPanel* xLine_ = nullptr;
  TPanel* oLine_ = nullptr;
  TPanel* aLine_ = nullptr;
  TPanel* bLine_ = nullptr;
  TPanel* levelLine_ = nullptr;
};
