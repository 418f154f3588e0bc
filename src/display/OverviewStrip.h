#pragma once
// The overview strip above the plot (the panel "h"): the whole record in
// small (Image4) on its background (PreViewBkGRND), and the markers dragged
// along it: the view window (Image3), the trigger position (HorTrigPos) and
// the time cursors' handles (CursorX, CursorO). A marker's Left is state:
// the view window's selects the part of the record on the plot, the trigger
// position's the trigger's place in the record. The window reads and places
// them and binds the callbacks to its handlers.

#include "app/Widgets.h"
#include "display/ScreenParts.h"

#include <functional>

class PanelKit;

class OverviewStrip : public TPanel {
  Q_OBJECT
 public:
  // Where the view window and the trigger position stand when the window is
  // made.
  static constexpr int ViewWindowStartLeft = 173;
  static constexpr int TriggerPositionStartLeft = 251;

  // Builds the strip in the screen bezel; the handles are hidden.
  OverviewStrip(QWidget* bezel, PanelKit& kit);

  // The record in small, as the window drew it.
  void ShowRecordPicture(const QImage& picture);

  // ---- The markers ------------------------------------------------------------
  int MarkerLeft(OverviewMarker marker) const;
  void PlaceMarker(OverviewMarker marker, int left);
  // Over the other widgets of the strip.
  void RaiseMarker(OverviewMarker marker);
  void RepaintMarker(OverviewMarker marker);
  void SetHandlesShown(bool shown);  // CursorX, CursorO
  // The background under everything else of the strip again.
  void LowerBackground();

  // ---- What the user does: bound by the window ----------------------------
  std::function<void(OverviewMarker, Qt::MouseButton, int x, int y)> OnMarkerPressed;
  std::function<void(OverviewMarker, int x, int y)> OnMarkerMoved;
  std::function<void(OverviewMarker, Qt::MouseButton, int x, int y)> OnMarkerReleased;

 private:
  TImage* Marker(OverviewMarker marker) const;

  TImage* background_ = nullptr;
  TImage* recordPicture_ = nullptr;
  TImage* viewWindow_ = nullptr;
  TImage* triggerPosition_ = nullptr;
  TImage* xHandle_ = nullptr;
  TImage* oHandle_ = nullptr;
};
