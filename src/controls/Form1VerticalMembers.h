// Members of TForm1 that belong to the vertical controls and the time base:
// the handlers of the channel keys, the volts/div knob, the position markers
// and the time/div knob, whose widgets the panels VerticalControls,
// PositionStrip and TimeBaseKnob own. Included inside the body of class
// TForm1 (app/TForm1.h); owned by the controls folder.
 public:
  // The two knobs the knob handlers serve.
  enum class Knob { VoltsPerDiv, TimePerDiv };
  // The keys over the channel selector; None for a sender that is no key.
  enum class SelectorKey { None, Channel1, Channel2, ChannelOff };
  void BuildControls();  // the whole front panel, in controls/Form1Controls.cpp
  void BuildVerticalControls();
  void BuildTimeBase();
  // A channel key or the off key as the sender (CH1Button, CH2Button,
  // ChannelOff); forwards to SelectorKeyClick.
  void CHButtonClick(QObject* Sender);
  void SelectorKeyClick(SelectorKey key);
  void UpdatedvoltageButtons();
  void UpdatedKnob();
  void UpdatedTimeKnob();

  // Marker clicks: select the clicked channel without turning anything on.
  void Image1Click();
  void Image2Click();
  void MarkerClick(int channel);
  // The channel that has the volts/div knob (CH1Focus), 1 or 2.
  int FocusedChannel() const;
  // The strip left of the plot. The trigger arrows (TriggerArrowCH1/2) share
  // the mouse-down and the first steps of the mouse-up; their move branch and
  // the rest of their release belong to the trigger controls.
  void Image1MouseDown(QWidget* Sender, Qt::MouseButton Button, int X, int Y);
  void VerticalSliderMouseMove(QWidget* Sender, int X, int Y);
  void Image1MouseUp(QWidget* Sender, Qt::MouseButton Button, int X, int Y);
  // Both knobs: Image7 (volts/div) and Image9 (time/div).
  void Image7MouseDown(Knob knob, Qt::MouseButton Button, int X, int Y);
  void Image7MouseMove(Knob knob, int X, int Y);
  void Image7MouseUp(Knob knob, Qt::MouseButton Button, int X, int Y);
  void Button6Click();
  // The 1 MS/s mode of the 50 us/div row after a change of channels.
  void Checkfor1Ms();
  void Checkfor1Ms2();
  // The panel's 1 MS/s mode and rate caption as the knob and the keys settle
  // them; set aside while a calibration runs (Form1TimeBase.cpp).
  void SettlePanelRate(bool rate1MS, const QString& caption);
  bool PanelRate1MS() const;

 private:
  VerticalControls* verticalControls_ = nullptr;  // HorVerPanel: volts/div knob, channel keys
  TimeBaseKnob* timeBaseKnob_ = nullptr;          // Panel7: the time/div knob
  PositionStrip* positionStrip_ = nullptr;        // Panel3: the 0 V markers
  NextRunNotice* nextRunNotice_ = nullptr;        // after a knob release while stopped
  // Steps shared by SelectorKeyClick and UpdatedvoltageButtons: the selector
  // picture, markers and readouts of the current code, keys in front.
  void ApplyChannelSelector();
  // Shows a channel's dot and hands the knob that channel's angle.
  void GiveKnobTo(int channel);
  void SetDesignVerticalPanel();
  void SetDesignTimeBase();
 public:
