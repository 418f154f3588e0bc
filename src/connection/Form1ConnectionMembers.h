// Members of TForm1 that belong to the connection: port discovery, the
// connection watch and the hardware revision. Included inside the body of
// class TForm1 (app/TForm1.h); owned by the connection folder.
 public:
  void BuildConnection();
  // The link's connection signals, bound once (Form1ConnectionWatch.cpp).
  void ConnectWatch();

  // ---- Port discovery ---------------------------------------------------
  // Refills the list with the ports present now: plain names (what
  // SerialPort.Open accepts) or display texts "<description> (<name>)".
  // Throws ScopeError when the system will not list its ports.
  void EnumerateComPorts(bool displayForm, QStringList& list);
  void UpdateComboBox1();
  void ComboBox1KeyDown(int& Key);

  // ---- The connection watch (the link's; the window shows it) -----------
  // One tick of the watch now: the link opens the chosen port and asks the
  // instrument who it is; the answer comes in asynchronously.
  void Timer1Timer();
  void Button1Click();
  void ComboBox1Change();
  void COMSettings1Click();
  void SettingButtonClick();
  void SettingButtonMouseDown(Qt::MouseButton button, int x, int y);
  void SettingButtonMouseUp(Qt::MouseButton button, int x, int y);
  void Button4Click();
  // Puts the --port name into Label3 unless the port has been settled since
  // (see the connection README).
  void ApplyCommandLinePort();
  // Tells, once for each port, how to get permission to open it.
  void TellPortAccess(const QString& port);
  QString PortAccessToldFor;  // the port the permission advice was shown for
  // Set once the --port name has been applied after the first show, or the
  // user has chosen a port in the panel: from then on the name is theirs.
  bool CommandLinePortSettled = false;

  // The connected state: the instrument answered, indicator USBCON.
  void ShowConnected();
  // The disconnected state: no device, port closed, indicator USBCON#.
  void ShowDisconnected();
  // Closes the instrument's port; a run in progress ends as if the device went.
  void ClosePort();

 private:
  ComSettingsPanel* comSettings_ = nullptr;
 public:
