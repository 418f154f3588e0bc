// Members of TForm1 that belong to the display: the screen model, plotting
// and the overview strip. Included inside the body of class TForm1
// (app/TForm1.h); owned by the display folder.
 public:
  void BuildDisplay();
  void PlotWaveform();
  void CheckForWaveUpdateNeed();
  // Copies the part of PlotBitmap in `region` to the plot.
  void PaintBox2Paint(QPainter& canvas, const QRegion& region);
  // Clears the persistence memory.
  void ResetPres();
  // Fills RainbowColors, and the two per-channel ramps; both run when the
  // window is first shown, with ResetPres.
  void InitRainbow();
  void InitPersistColors();
  // Shows the empty graticule: GridBitmap onto PlotBitmap, then to the screen.
  void ShowGraticule();

  // The "Display Properties" dialog (display/Form1DisplayProperties.cpp):
  // created hidden with the window; Properties1Click shows it without
  // waiting for it. RefreshDisplayProperties shows the state again in the
  // dialog when it is open, after a command rewrote the display state.
  void BuildDisplayProperties();
  void Properties1Click();
  void RefreshDisplayProperties();

  // Save View as BMP and Print View (display/Form1SaveView.cpp); its key is
  // the save button in the status strip.
  void BuildSaveView();
  void SaveViewasBMP1Click();
  void PrintView1Click();
  // The client area's rectangle `area` as the widgets draw it, one pixel per
  // window pixel.
  QImage RenderClientArea(const QRect& area) const;

  // The steps of a frame (display/Form1Plot.cpp, display/Form1Persistence.cpp).
  // CopyGridToPlot puts the whole graticule in PlotBitmap. A line frame
  // puts it back only under what the last one drew while PlotDrawnRows
  // still holds (RestoreGridUnderLastFrame: false when it copied it whole);
  // the traces and the reference report the rows they drew.
  void CopyGridToPlot();
  bool RestoreGridUnderLastFrame();
  screen_model::RowBands DrawLineTraces();
  void DrawPersistenceDots();
  screen_model::RowSpan DrawReference();
  void BuildOverviewStrip();
  // The strip from `record`'s focused channel (the held record, or a reply
  // on its way over it).
  void BuildOverviewStrip(const core::Record& record);

  // A reply drawn while it arrives (display/Form1Plot.cpp): each channel's
  // samples in so far over the held record's trace, dimmed where the new
  // one has not reached, and a thin marker where it has got to. Only the
  // picture sees the partial record. PutBackHeldRecord redraws the held
  // record (or the empty graticule) when a reply ends without a record.
  void DrawArrivingReply(const core::Record& partial, const core::ReplyArrival& arrival);
  void PutBackHeldRecord();
  // The plot shows a reply on its way, not the held record.
  bool ArrivingShown = false;

  // What the last line frame drew over the graticule in PlotBitmap, with the
  // keys of both bitmaps taken after its last write. Any other write to
  // either bitmap (a persistence frame, a new graticule, a test, a saved
  // view) changes its key, and the next frame copies the whole graticule
  // again: only the frame that drew the rows may trust them.
  struct PlotOverdraw {
    bool known = false;
    screen_model::RowBands rows;
    qint64 plotKey = 0;
    qint64 gridKey = 0;
  };
  PlotOverdraw PlotDrawnRows;

  // Pen width the canvas of PlotBitmap was left with: the reference waveform
  // is drawn with it (2 after a line frame, 1 before any).
  int PlotPenWidth = 1;

 private:
  ScreenPanel* screen_ = nullptr;      // Panel4: the plot, its trigger marker and lines
  OverviewStrip* overview_ = nullptr;  // h: the record in small and its markers
 public:
