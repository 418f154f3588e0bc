// Members of TForm1 that belong to the trigger controls: source, edge, mode,
// position and level. Included inside the body of class TForm1
// (app/TForm1.h); owned by the controls folder.
 public:
  void BuildTrigger();

  // ---- Source, edge, mode and position (controls/Form1Trigger.cpp) -----
  void TriggerPosCalc();
  void CHChangeStuff();
  void CH11Click();
  void CH21Click();
  void SelectTriggerChannel(int channel);
  void EXT1Click();
  void TrigSourceButtonClick();
  void Rising1Click();
  void Falling2Click();
  void TriggerEdgeButtonClick();
  // Auto re-requests a capture at once (a waiting one in auto mode).
  void Auto1Click();
  void Normal1Click();
  void POS10Click();
  void POS50Click();
  void POS90Click();

  // For the settings restore: the looks of stored settings without the side
  // effects of the handlers (no restart, no capture request).
  // TriggerCH's source picture, radio items and line colour; other values
  // change nothing.
  void ShowTriggerSourceSetting();
  // Auto1/Normal1 from AutoTrigger.
  void ShowTriggerModeSetting();
  // The level of the source's channel again from its arrow, into Label23
  // ("TTL" stays for EXT).
  void ShowTriggerLevelFromArrow();

  // ---- Level (controls/Form1TriggerLevel.cpp) ----------------------------
  // The channel's arrow follows its 0 V marker by VertDragDelta, keeping
  // its height above the line; the level is read back from the new place.
  void MovTriggerWithCH1Vertial();
  void MovTriggerWithCH2Vertial();
  void MovTriggerWithVertical(int channel);
  // The channel's arrow placed from its stored level.
  void ResetCH1TriggerVoltage();
  void ResetCH2TriggerVoltage();
  void ResetTriggerVoltage(int channel);
  // The channel whose level and arrow the trigger uses: CH1 for CH1, CH2
  // for CH2 and for EXT (a level typed while on EXT goes to CH2).
  int TriggerLevelChannel() const;
  void TriggerArrowOffScreen();
  void ResetTriggerOffScreenIndicators();
  // The drag of a channel's arrow: the press and the release begin and end
  // it as a 0 V marker's do; the move places the arrow and reads the level.
  void TriggerArrowMouseDown(int channel, int Y);
  void TriggerArrowMouseMove(int channel, int X, int Y);
  void TriggerArrowMouseUp();
  void TrigUPClick();
  void TrigUP2DblClick();
  void ResetTriggerToZero(int channel);
  void Label23DblClick();
  // Takes a typed level on Enter; other keys do nothing.
  void TriggerVEditKeyDown(int Key);
  void TrigVoltLineTimerTimer();
  // Label23 := the level readout of a channel.
  void ShowTriggerLevel(int channel);

 private:
  // TriggerSlider: the level arrows and the off-strip indicators.
  TriggerStrip* triggerStrip_ = nullptr;
  void BuildTriggerStrip();
  void BuildTriggerButtons();
  void SetDesignTrigger();
  // The source change's common end: a running acquisition stops and comes
  // back 80 ms later with the new source.
  void RestartForNewSource();
  void CheckPositionItems(int left);
  // The level line at the source's arrow.
  void PlaceTriggerLineAtArrow();
 public:
