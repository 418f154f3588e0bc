// Members of TForm1 that belong to the connection: port discovery, the
// connection watch and the hardware revision. Included inside the body of
// class TForm1 (app/TForm1.h); owned by the connection folder.
 public:
  void BuildConnection();

  TLabel* Label3 = nullptr;        // the chosen port name: the one source of truth
  QPushButton* Button1 = nullptr;  // "Detect HW Rev."
  TImage* Image11 = nullptr;       // connection indicator (USBCON / USBCON#)
  TLabel* HWRevLabel = nullptr;
  QComboBox* ComboBox1 = nullptr;
  QLineEdit* Edit2 = nullptr;
  QLineEdit* Edit3 = nullptr;
  QLineEdit* Edit4 = nullptr;
  TImage* SettingButton = nullptr;
