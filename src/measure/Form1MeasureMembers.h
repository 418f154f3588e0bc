// Members of TForm1 that belong to the automatic measurements. Included
// inside the body of class TForm1 (app/TForm1.h); owned by the measure folder.
 public:
  // The measurement panel: ten value labels and ten captions per channel
  // and the two tab pictures.
  void BuildMeasure();
  // The twenty readings over the samples on the plot; called by the capture
  // cycle after each frame while AutoMeasOn.
  void AutoMeasuremtns();
  // View > Auto Measurements ON/OFF: the panel shown or cut off.
  void AutoMeasurementsON1Click();

  // Value labels, CH1 then CH2 of each reading.
  TLabel* CH1Max = nullptr;
  TLabel* CH2Max = nullptr;
  TLabel* CH1Min = nullptr;
  TLabel* Ch2Min = nullptr;
  TLabel* CH1PkPk = nullptr;
  TLabel* CH2PkPk = nullptr;
  TLabel* CH1Mean = nullptr;
  TLabel* Ch2Mean = nullptr;
  TLabel* Ch1RMS = nullptr;
  TLabel* Ch2RMS = nullptr;
  TLabel* CH1Period = nullptr;
  TLabel* Ch2Period = nullptr;
  TLabel* Ch1Freq = nullptr;
  TLabel* Ch2Freq = nullptr;
  TLabel* CH1PosPulseWidth = nullptr;
  TLabel* CH2pulsewidth = nullptr;
  TLabel* Ch1NegPulseWidth = nullptr;
  TLabel* CH2NegPulseWidth = nullptr;
  TLabel* CH1DutyCyle = nullptr;
  TLabel* CH2DutyCyc = nullptr;
  TImage* Image8 = nullptr;   // "CH1 Measurements" tab
  TImage* Image25 = nullptr;  // "CH2 Measurements" tab
