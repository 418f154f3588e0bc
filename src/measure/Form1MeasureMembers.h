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

 private:
  MeasurementPanel* measurementPanel_ = nullptr;
 public:
