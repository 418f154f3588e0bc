#pragma once
// The two values read from the store before any window exists.

#include <QString>

class SettingsStore;

inline constexpr const char* DefaultGridFile = "Grafics\\Grid2.bmp";

// The graticule file from the stored "DISPLAYBACKGROUND" text: a text that
// begins with "G" gives its first 17 characters (a filler that does not begin
// with "G" pads a short one), anything else "Grafics\Grid2.bmp".
QString GridFileFromStored(const QString& stored);

// "ScreenSave": a stored value other than 0 is true; a missing one is false.
bool ReadScreenSave(SettingsStore& settings);
