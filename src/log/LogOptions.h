#pragma once
// The command line of tessaron-log, read into plain values (pure).
//
//   tessaron-log --port NAME [--count N | --seconds S] [--out FILE] [--settings FILE]

#include <QString>
#include <QStringList>

namespace scope_log {

struct LogOptions {
  QString port;
  int count = 0;          // records to take; 0: until --seconds or Ctrl+C
  double seconds = 0.0;   // how long to take records; 0: no limit
  QString out;            // empty: standard output
  QString settings;       // a "Save Settings To File" file; empty: the store
  bool help = false;
  QString error;          // empty when the line was understood
};

LogOptions ParseLogOptions(const QStringList& arguments);  // without the program name
QString LogUsage();

}  // namespace scope_log
