// Members of TForm1 for the "Help" item. Included inside the body of class
// TForm1 (app/TForm1.h); owned by the storage folder.
 public:
  void BuildHelp();
  // Opens the help page in the desktop's browser; a page that is not there,
  // or no program to show it, is reported with the path looked for.
  void Help2Click();
