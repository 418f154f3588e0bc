#pragma once
// The position strip left of the plot (Panel3 in the screen bezel): each
// channel's 0 V marker in two looks, selected and not selected. A marker's
// Top is its channel's 0 V row: the strip starts seven rows above the plot
// and a marker is fifteen rows tall, so its middle row points at plot row
// Top. The strip owns the markers; the window places and shows them and
// binds the callbacks to its handlers.

#include "app/Widgets.h"

#include <functional>

class PanelKit;

class PositionStrip : public TPanel {
  Q_OBJECT
 public:
  // Builds the strip in the screen bezel.
  PositionStrip(QWidget* bezel, PanelKit& kit);

  // The two looks of both markers as the window is designed; throws when a
  // picture cannot be read.
  void ShowDesignPictures();
  // Both looks of a channel's marker at a row.
  void PlaceMarker(int channel, int top);
  int MarkerTop(int channel) const;
  void SetMarkerShown(int channel, bool shown);            // the selected look
  void SetUnselectedMarkerShown(int channel, bool shown);  // the look while the other channel is selected
  // The channel whose marker (either look) the widget is; 0 for any other.
  int MarkerChannel(const QWidget* widget) const;

  // ---- What the user does: bound by the window ----------------------
  // A press, move and release name the marker widget they happened on, as
  // the strip's handlers serve the trigger arrows too. A click (a release
  // inside the marker) comes before the release.
  std::function<void(QWidget* marker, Qt::MouseButton button, int x, int y)> OnMarkerPressed;
  std::function<void(QWidget* marker, int x, int y)> OnMarkerMoved;
  std::function<void(int channel)> OnMarkerClicked;
  std::function<void(QWidget* marker, Qt::MouseButton button, int x, int y)> OnMarkerReleased;

 private:
  PanelKit& kit_;
  TImage* markers_[2] = {};            // Image1, Image2
  TImage* unselectedMarkers_[2] = {};  // CH1NS, CH2NS
};
