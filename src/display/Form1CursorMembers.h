// Members of TForm1 that belong to the cursors, the drag of the markers over
// the overview strip and snap to plot. Included inside the body of class
// TForm1 (app/TForm1.h); owned by the display folder.
 public:
  // Creates the lines, handles, readouts and buttons and binds the mouse
  // handlers of the plot and of the overview strip's markers.
  void BuildCursors();
  // Once every panel is built: lays the plot's panel over the strips beside
  // it, seen through where they overlap it except where a cursor line
  // stands, so the lines show over the whole of Panel4.
  void LayLinesOverBorderStrips();

  // ---- The lines on the plot (display/Form1Cursors.cpp) ----------------
  // Bound to PaintBox2, the four lines, and (press and release) the bezel;
  // `Sender` is the one the mouse is over.
  void PaintBox2MouseDown(ScreenPart Sender, Qt::MouseButton Button, int X, int Y);
  void PaintBox2MouseMove(ScreenPart Sender, int X, int Y);
  void PaintBox2MouseUp(ScreenPart Sender, Qt::MouseButton Button, int X, int Y);
  // The line of one time cursor from its handle over the view the view
  // window selects (MarkerViewStart); then the time readouts.
  void VertCursorPos(TimeCursor Handle);
  // Both lines from both handles, over the same view.
  void VertCursorPos2();
  // The four time readouts (every frame, every cursor move, knob releases).
  void CursorCalculation();
  // The three voltage readouts (every move over the plot, the volts/div
  // knob, every snap).
  void HorizontalCalualtions();
  void AllOff1Click();
  void VerticalON1Click();
  void HorizontalON1Click();
  void BothOn1Click();

  // ---- The overview strip's markers and snap (display/Form1CursorOverview.cpp)
  // Bound to Image3 (the view window), HorTrigPos and the handles CursorX
  // and CursorO; each branch is chosen by the pressed marker.
  void Image3MouseDown(OverviewMarker Sender, Qt::MouseButton Button, int X, int Y);
  void Image3MouseMove(OverviewMarker Sender, int X, int Y);
  void Image3MouseUp(OverviewMarker Sender, Qt::MouseButton Button, int X, int Y);
  void ResetHorizontalView1Click();
  void SnaptoPlotON1Click();
  // The voltage lines onto the focused channel's trace at the time lines.
  void SnapToPlot();

 private:
  // The first sample of the view the view window marker selects now: the
  // view of the last frame, or after a pan while running the view the next
  // frame shows. Lines and handles are mapped into each other over this one
  // view, so a line dragged between a pan and the next frame keeps its
  // handle over it.
  std::int32_t MarkerViewStart() const;
  // Both lines from both handles over a view starting at viewStart.
  void PlaceTimeLines(std::int32_t viewStart);
  void ShowTimeCursors();
  void ShowVoltageCursors();
  // Snap off, and the item's caption offers it again.
  void SwitchSnapOff();
 public:
