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
  TLabel* CH1V = nullptr;
  TLabel* CH2V = nullptr;
  QCheckBox* CheckBox1 = nullptr;
  QPushButton* Button6 = nullptr;
  TPanel* Panel7 = nullptr;
  TImage* Image9 = nullptr;
  TImage* Image10 = nullptr;
  TLabel* TimeBaseL = nullptr;
  TLabel* SampleRate = nullptr;
