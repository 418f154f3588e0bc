// Members of TForm1 that belong to the automatic measurements. Included
// inside the body of class TForm1 (app/TForm1.h); owned by the measure folder.
 public:
  void BuildMeasure();
