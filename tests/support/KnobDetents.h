#pragma once
// The knob angles of the detents the window tests turn to, named for their
// rows, and a file's bytes for comparing what the window wrote.

#include <QByteArray>
#include <QFile>
#include <QString>

// Volts/div rows (low range up to 200 mV, high range from 1 V).
inline constexpr int Volts100mV = 135;
inline constexpr int Volts200mV = 180;
inline constexpr int Volts1V = 270;
inline constexpr int Volts10V = 45;
// Time/div rows.
inline constexpr int Time50us = 114;
inline constexpr int Time100us = 138;
inline constexpr int Time500us = 186;
inline constexpr int Time1ms = 210;

// The whole file, or nothing when it cannot be read.
inline QByteArray FileBytes(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}
