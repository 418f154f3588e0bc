// Members of TForm1 that belong to the vertical controls and the time base:
// channel keys, volts/div knob, position markers, time/div knob. Included
// inside the body of class TForm1 (app/TForm1.h); owned by the controls folder.
 public:
  void BuildControls();  // the whole front panel, in controls/Form1Controls.cpp
  void BuildVerticalControls();
  void BuildTimeBase();
  void CHButtonClick(QObject* Sender);
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
  void Image7MouseDown(QWidget* Sender, Qt::MouseButton Button, int X, int Y);
  void Image7MouseMove(QWidget* Sender, int X, int Y);
  void Image7MouseUp(QWidget* Sender, Qt::MouseButton Button, int X, int Y);
  void Button6Click();
  // The 1 MS/s mode of the 50 us/div row after a change of channels.
  void Checkfor1Ms();
  void Checkfor1Ms2();
  // The panel's 1 MS/s mode and rate caption as the knob and the keys settle
  // them; set aside while a calibration runs (Form1TimeBase.cpp).
  void SettlePanelRate(bool rate1MS, const QString& caption);
  bool PanelRate1MS() const;

  TPanel* Panel3 = nullptr;
  TImage* Image1 = nullptr;
  TImage* CH1NS = nullptr;
  TImage* Image2 = nullptr;
  TImage* CH2NS = nullptr;
  TPanel* Panel6 = nullptr;
  TImage* Image7 = nullptr;
  TImage* Image5 = nullptr;
  TImage* Image6 = nullptr;
  TPaintBox* CH1Button = nullptr;
  TPaintBox* CH2Button = nullptr;
  TImage* ChannelOff = nullptr;
  TPanel* Panel7 = nullptr;
  TImage* Image9 = nullptr;
  TImage* Image10 = nullptr;

 private:
  NextRunNotice* nextRunNotice_ = nullptr;  // after a knob release while stopped
  // Steps shared by CHButtonClick and UpdatedvoltageButtons: the selector
  // picture, markers and readouts of the current code, keys in front.
  void ApplyChannelSelector();
  // Shows a channel's dot and hands the knob that channel's angle.
  void GiveKnobTo(int channel);
  void SetDesignVerticalPanel();
  // The channel whose 0 V marker (either look) the widget is; 0 for any other.
  int MarkerChannel(const QWidget* widget);
  void SetDesignTimeBase();
  void BindMarker(TImage* marker, void (TForm1::*click)());
  void BindKnob(TImage* face);
 public:
