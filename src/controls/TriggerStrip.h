#pragma once
// The trigger strip right of the plot (TriggerSlider): each channel's level
// arrow, whose Top is a plot row like its 0 V marker's, and the indicators
// that stand in for an arrow that has left the strip (above: TrigUP,
// TrigUP2; below: TrigDWN, TrigDWN2). It owns these widgets; the window
// places and shows them and binds the callbacks to its handlers.

#include "app/Widgets.h"

#include <functional>

class PanelKit;

class TriggerStrip : public TPanel {
  Q_OBJECT
 public:
  // Builds the strip in the screen bezel with the arrows' and indicators'
  // pictures; one that cannot be read is reported and leaves its widget blank.
  TriggerStrip(QWidget* bezel, PanelKit& kit);

  // ---- A channel's level arrow (channel 1 or 2) --------------------------
  int ArrowTop(int channel) const;
  void PlaceArrow(int channel, int top);
  // Shown as far as the strip goes (whether or not the window is shown).
  bool ArrowShown(int channel) const;
  void SetArrowShown(int channel, bool shown);
  // Over the other widgets of the strip, as a pressed arrow is.
  void RaiseArrow(int channel);
  void RepaintArrow(int channel);

  // ---- The off-strip indicators -------------------------------------------
  void SetIndicatorsShown(int channel, bool above, bool below);
  void HideIndicators();  // all four

  // ---- What the user does: bound by the window ----------------------------
  std::function<void(int channel, Qt::MouseButton, int x, int y)> OnArrowPressed;
  std::function<void(int channel, int x, int y)> OnArrowMoved;
  std::function<void(int channel, Qt::MouseButton, int x, int y)> OnArrowReleased;
  // A double click on either indicator of a channel.
  std::function<void(int channel)> OnIndicatorDoubleClick;

 private:
  TImage* arrows_[2] = {};
  TImage* indicatorsAbove_[2] = {};
  TImage* indicatorsBelow_[2] = {};
};
