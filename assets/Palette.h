#pragma once
// The colours the artwork shares with the rest of the window, so a marker,
// a knob highlight and the trace of the same channel agree.

#include "ArtworkList.h"

#include <QColor>

namespace artwork {

// Trace colours of the channels and of the trigger level readout.
inline constexpr QRgb Ch1Colour = qRgb(0, 126, 255);
inline constexpr QRgb Ch2Colour = qRgb(255, 0, 0);
inline constexpr QRgb TriggerColour = qRgb(255, 144, 36);
// The readouts under the screen: time base in lime, cursor X lime, O yellow.
inline constexpr QRgb LimeColour = qRgb(0, 255, 0);
inline constexpr QRgb YellowColour = qRgb(255, 255, 0);

// The silver of the control column and of the calibration panel.
inline constexpr QRgb PanelSilver = 0xff000000u | KeyColour(Backdrop::KeyedOnSilver);
inline constexpr QRgb ScreenBlack = qRgb(0, 0, 0);

// Key colours of the keyed pictures. Markers live on the black strips round
// the screen, so their key is black itself: any edge pixel that blends into
// the key still looks right there. Their artwork therefore never uses pure
// black; "black" text on a marker is InkBlack.
inline constexpr QRgb StripKey = 0xff000000u | KeyColour(Backdrop::KeyedOnStrip);
inline constexpr QRgb InkBlack = qRgb(18, 18, 18);
// The flat centre cap of both knobs; the dots and the lock sign are keyed on
// it so their edges blend into the cap they ride on.
inline constexpr QRgb KnobCap = 0xff000000u | KeyColour(Backdrop::KeyedOnKnobCap);

inline QColor Colour(QRgb rgb) { return QColor::fromRgb(rgb); }

}  // namespace artwork
