// Members of TForm1 that belong to the trigger controls: source, edge, mode,
// position and level. Included inside the body of class TForm1
// (app/TForm1.h); owned by the controls folder.
 public:
  void BuildTrigger();
  void TriggerPosCalc();
  void CHChangeStuff();
  void POS50Click();
  void CH11Click();
  void CH21Click();
  void MovTriggerWithCH1Vertial();
  void MovTriggerWithCH2Vertial();
  void ResetCH1TriggerVoltage();
  void ResetCH2TriggerVoltage();

  TPanel* TriggerSlider = nullptr;
  TImage* TriggerArrowCH1 = nullptr;
  TImage* TriggerArrowCH2 = nullptr;
  TImage* TrigUP = nullptr;
  TImage* TrigDWN = nullptr;
  TImage* TrigUP2 = nullptr;
  TImage* TrigDWN2 = nullptr;
  TPanel* TriggerVoltageLine = nullptr;
  TLabel* Label23 = nullptr;
  QLineEdit* TriggerVEdit = nullptr;
  TLabel* Label12 = nullptr;
  TImage* TrigSourceButton = nullptr;
  TImage* TriggerEdgeButton = nullptr;
