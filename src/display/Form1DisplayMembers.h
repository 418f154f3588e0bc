// Members of TForm1 that belong to the display: the screen model, plotting
// and the overview strip. Included inside the body of class TForm1
// (app/TForm1.h); owned by the display folder.
 public:
  void BuildDisplay();
  void PlotWaveform();
  void CheckForWaveUpdateNeed();
  void PaintBox2Paint(QPainter& canvas);
  // Call points for the cursors and snap to plot, filled by their own work.
  void CursorCalculation();
  void SnapToPlot();
  // Clears the persistence memory.
  void ResetPres();

  TPanel* Panel4 = nullptr;
  TPaintBox* PaintBox2 = nullptr;
  TPanel* PlotTrigPanel = nullptr;
  TImage* PlotTrigPos = nullptr;
  TPanel* h = nullptr;
  TImage* Image4 = nullptr;
  TImage* PreViewBkGRND = nullptr;
  TImage* Image3 = nullptr;      // the view window marker
  TImage* HorTrigPos = nullptr;  // the trigger position marker (dragged by the trigger controls)
