#pragma once
// The control column right of the screen (HorVerPanel): the volts/div knob
// (its face and pointer dot on a panel that blocks it when disabled), the
// channel selector picture and the three keys over it (CH1, CH2, off). The
// time/div knob sits at its top as a panel of its own (TimeBaseKnob). The
// column owns these widgets; the window tells it what to show and binds the
// callbacks to its handlers.

#include "app/Widgets.h"

#include <functional>

class PanelKit;

class VerticalControls : public TPanel {
  Q_OBJECT
 public:
  // Builds the column in the window's client area.
  VerticalControls(QWidget* client, PanelKit& kit);

  // ---- The volts/div knob ---------------------------------------------
  // A face file by its absolute path (the channel's prefix and the row's
  // suffix); throws when it cannot be read.
  void ShowVoltsKnobFace(const QString& absolutePath);
  // A picture from beside the executable (the face with no channel
  // selected); throws when it cannot be read.
  void ShowVoltsKnobPicture(const QString& relativePath);
  // The face takes the knob's mouse events only while enabled; its flag is
  // what the settings store keeps.
  void SetVoltsKnobEnabled(bool enabled);
  bool VoltsKnobEnabled() const;
  // The panel under the face: disabled, the knob takes no input whatever the
  // face's own flag says.
  void SetVoltsKnobPanelEnabled(bool enabled);
  QSize VoltsKnobSize() const;
  void ShowVoltsDot(const QString& relativePath);
  void PlaceVoltsDot(int left, int top);
  void SetVoltsDotShown(bool shown);

  // ---- The channel selector -------------------------------------------
  void ShowSelector(const QString& relativePath);
  // The keys lie over the selector picture: off key, CH1, CH2, in that order.
  void RaiseKeys();
  // Which key a widget is: 1 or 2 for a channel key, 0 for anything else.
  int ChannelOfKey(const QObject* widget) const;
  bool IsChannelOffKey(const QObject* widget) const;

  // ---- What the user does: bound by the window ----------------------
  std::function<void(int channel)> OnChannelKey;
  std::function<void()> OnChannelOffKey;
  std::function<void(Qt::MouseButton button, int x, int y)> OnVoltsKnobPressed;
  std::function<void(int x, int y)> OnVoltsKnobMoved;
  std::function<void(Qt::MouseButton button, int x, int y)> OnVoltsKnobReleased;

 private:
  PanelKit& kit_;
  TPanel* voltsKnobPanel_ = nullptr;
  TImage* voltsKnob_ = nullptr;
  TImage* voltsDot_ = nullptr;
  TImage* selector_ = nullptr;
  TPaintBox* channelKeys_[2] = {};
  TImage* channelOffKey_ = nullptr;
};
