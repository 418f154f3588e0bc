#pragma once
// Every bitmap of the Grafics folder that the build writes beside the
// executables, with its size. The generator refuses to finish unless it has
// drawn exactly these files at exactly these sizes, and the asset test checks
// the written files against the same table, so a renamed or resized picture
// cannot slip through on one side only.
//
// Paths are relative to the folder of the executables and use "/"; the
// program composes the same names with "\" ("Grafics\VoltageKnob\knobR1V.bmp").

#include <string_view>

namespace artwork {

enum class Backdrop {
  // Drawn edge to edge; shown as it is.
  Opaque,
  // Drawn on one uniform key colour that also fills the bottom-left pixel
  // and the corners: an image widget marked transparent drops every pixel of
  // that colour, so only the artwork stands on what lies beneath. The key is
  // the colour of that ground, so the smoothed edges blend into it:
  KeyedOnStrip,    // black: the strips round the screen, the plot
  KeyedOnKnobCap,  // the flat centre cap of both knobs
  KeyedOnSilver,   // the silver of the calibration panel
};

constexpr bool IsKeyed(Backdrop backdrop) { return backdrop != Backdrop::Opaque; }

// The key colour of a keyed backdrop as 0xRRGGBB.
constexpr unsigned KeyColour(Backdrop backdrop) {
  switch (backdrop) {
    case Backdrop::KeyedOnStrip: return 0x000000;
    case Backdrop::KeyedOnKnobCap: return 0x36373C;
    case Backdrop::KeyedOnSilver: return 0xC0C0C0;
    case Backdrop::Opaque: break;
  }
  return 0;
}

struct ArtworkFile {
  std::string_view path;
  int width;
  int height;
  Backdrop backdrop;
};

inline constexpr ArtworkFile ArtworkFiles[] = {
    // Graticules behind the traces, one per Display Properties choice.
    {"Grafics/Grid2.bmp", 500, 400, Backdrop::Opaque},  // Full Grid
    {"Grafics/Grid3.bmp", 500, 400, Backdrop::Opaque},  // Cross Hair W/Dots
    {"Grafics/Grid4.bmp", 500, 400, Backdrop::Opaque},  // Cross Hair Only
    {"Grafics/Grid5.bmp", 500, 400, Backdrop::Opaque},  // Center Dots Only
    {"Grafics/Grid6.bmp", 500, 400, Backdrop::Opaque},  // Blank

    // Volts/div knob faces: prefix "knobR" while CH1 has the knob, "knobB"
    // while CH2 has it, followed by the row's suffix.
    {"Grafics/VoltageKnob/knobR100.bmp", 200, 200, Backdrop::Opaque},
    {"Grafics/VoltageKnob/knobR200.bmp", 200, 200, Backdrop::Opaque},
    {"Grafics/VoltageKnob/knobR500.bmp", 200, 200, Backdrop::Opaque},
    {"Grafics/VoltageKnob/knobR1V.bmp", 200, 200, Backdrop::Opaque},
    {"Grafics/VoltageKnob/knobR2V.bmp", 200, 200, Backdrop::Opaque},
    {"Grafics/VoltageKnob/knobR5V.bmp", 200, 200, Backdrop::Opaque},
    {"Grafics/VoltageKnob/knobR10V.bmp", 200, 200, Backdrop::Opaque},
    {"Grafics/VoltageKnob/knobB100.bmp", 200, 200, Backdrop::Opaque},
    {"Grafics/VoltageKnob/knobB200.bmp", 200, 200, Backdrop::Opaque},
    {"Grafics/VoltageKnob/knobB500.bmp", 200, 200, Backdrop::Opaque},
    {"Grafics/VoltageKnob/knobB1V.bmp", 200, 200, Backdrop::Opaque},
    {"Grafics/VoltageKnob/knobB2V.bmp", 200, 200, Backdrop::Opaque},
    {"Grafics/VoltageKnob/knobB5V.bmp", 200, 200, Backdrop::Opaque},
    {"Grafics/VoltageKnob/knobB10V.bmp", 200, 200, Backdrop::Opaque},
    {"Grafics/VoltageKnob/knob-no-sel.bmp", 200, 200, Backdrop::Opaque},
    // Pointer dots of the volts/div knob (CH1, CH2), riding on its cap.
    {"Grafics/VoltageKnob/knobdot.bmp", 16, 16, Backdrop::KeyedOnKnobCap},
    {"Grafics/VoltageKnob/knobdotB.bmp", 16, 16, Backdrop::KeyedOnKnobCap},

    // Time/div knob faces, one per row.
    {"Grafics/TimeKnob/TimeKnob50u.bmp", 225, 225, Backdrop::Opaque},
    {"Grafics/TimeKnob/TimeKnob100u.bmp", 225, 225, Backdrop::Opaque},
    {"Grafics/TimeKnob/TimeKnob200u.bmp", 225, 225, Backdrop::Opaque},
    {"Grafics/TimeKnob/TimeKnob500u.bmp", 225, 225, Backdrop::Opaque},
    {"Grafics/TimeKnob/TimeKnob1m.bmp", 225, 225, Backdrop::Opaque},
    {"Grafics/TimeKnob/TimeKnob2m.bmp", 225, 225, Backdrop::Opaque},
    {"Grafics/TimeKnob/TimeKnob5m.bmp", 225, 225, Backdrop::Opaque},
    {"Grafics/TimeKnob/TimeKnob10m.bmp", 225, 225, Backdrop::Opaque},
    {"Grafics/TimeKnob/TimeKnob20m.bmp", 225, 225, Backdrop::Opaque},
    {"Grafics/TimeKnob/TimeKnob50m.bmp", 225, 225, Backdrop::Opaque},
    {"Grafics/TimeKnob/TimeKnob100m.bmp", 225, 225, Backdrop::Opaque},
    {"Grafics/TimeKnob/TimeKnob200m.bmp", 225, 225, Backdrop::Opaque},
    {"Grafics/TimeKnob/TimeKnob500m.bmp", 225, 225, Backdrop::Opaque},
    {"Grafics/TimeKnob/TimeKnob1s.bmp", 225, 225, Backdrop::Opaque},
    // Window design: the time knob's pointer dot and the lock sign shown
    // over the knob while a reference waveform holds the time base.
    {"Grafics/TimeKnob/TimeKnobDot.bmp", 22, 22, Backdrop::KeyedOnKnobCap},
    {"Grafics/TimeKnob/KnobLocked.bmp", 22, 22, Backdrop::KeyedOnKnobCap},

    // Channel selector: which channels are on and which one has the knob.
    {"Grafics/ChannelSelecter/CHSelector-1on-2off-1sel.bmp", 225, 80, Backdrop::Opaque},
    {"Grafics/ChannelSelecter/CHSelector-1off-2off.bmp", 225, 80, Backdrop::Opaque},
    {"Grafics/ChannelSelecter/CHSelector-1on-2on-1sel.bmp", 225, 80, Backdrop::Opaque},
    {"Grafics/ChannelSelecter/CHSelector-1off-2on-2sel.bmp", 225, 80, Backdrop::Opaque},
    {"Grafics/ChannelSelecter/CHSelector-1on-2on-2sel.bmp", 225, 80, Backdrop::Opaque},

    // Trigger source button (the source a click selects) and edge button.
    {"Grafics/CH1TrigButton.bmp", 25, 18, Backdrop::Opaque},
    {"Grafics/CH2TrigButton.bmp", 25, 18, Backdrop::Opaque},
    {"Grafics/EXTTrigButton.bmp", 25, 18, Backdrop::Opaque},
    {"Grafics/TrigSymboRising.bmp", 18, 18, Backdrop::Opaque},
    {"Grafics/TrigSymboFallingl.bmp", 18, 18, Backdrop::Opaque},

    // Run/stop key and the acquisition status pictures.
    {"Grafics/RunButton.bmp", 100, 35, Backdrop::Opaque},
    {"Grafics/StopButton.bmp", 100, 35, Backdrop::Opaque},
    {"Grafics/Run.bmp", 25, 25, Backdrop::Opaque},
    {"Grafics/Stop.bmp", 25, 25, Backdrop::Opaque},
    {"Grafics/HourGlass1.bmp", 25, 25, Backdrop::Opaque},
    {"Grafics/HourGlass2.bmp", 25, 25, Backdrop::Opaque},
    {"Grafics/HourGlass3.bmp", 25, 25, Backdrop::Opaque},
    {"Grafics/HourGlass4.bmp", 25, 25, Backdrop::Opaque},

    // Connection indicator and the COM settings key.
    {"Grafics/USBCON.bmp", 56, 25, Backdrop::Opaque},
    {"Grafics/USBCON#.bmp", 56, 25, Backdrop::Opaque},
    {"Grafics/SettingButton1.bmp", 69, 18, Backdrop::Opaque},
    {"Grafics/SettingButton2.bmp", 69, 18, Backdrop::Opaque},

    // Window design: markers on the strips round the screen.
    {"Grafics/Markers/CH1Pos.bmp", 22, 15, Backdrop::KeyedOnStrip},
    {"Grafics/Markers/CH1PosNS.bmp", 22, 15, Backdrop::KeyedOnStrip},
    {"Grafics/Markers/CH2Pos.bmp", 22, 15, Backdrop::KeyedOnStrip},
    {"Grafics/Markers/CH2PosNS.bmp", 22, 15, Backdrop::KeyedOnStrip},
    {"Grafics/Markers/TrigArrowCH1.bmp", 22, 15, Backdrop::KeyedOnStrip},
    {"Grafics/Markers/TrigArrowCH2.bmp", 22, 15, Backdrop::KeyedOnStrip},
    {"Grafics/Markers/TrigUpCH1.bmp", 22, 15, Backdrop::Opaque},
    {"Grafics/Markers/TrigDownCH1.bmp", 22, 15, Backdrop::Opaque},
    {"Grafics/Markers/TrigUpCH2.bmp", 22, 15, Backdrop::Opaque},
    {"Grafics/Markers/TrigDownCH2.bmp", 22, 15, Backdrop::Opaque},
    {"Grafics/Markers/ViewWindow.bmp", 169, 26, Backdrop::KeyedOnStrip},
    {"Grafics/Markers/TrigPosRecord.bmp", 15, 40, Backdrop::KeyedOnStrip},
    {"Grafics/Markers/TrigPosPlot.bmp", 15, 8, Backdrop::KeyedOnStrip},
    {"Grafics/Markers/CursorX.bmp", 15, 40, Backdrop::KeyedOnStrip},
    {"Grafics/Markers/CursorO.bmp", 15, 40, Backdrop::KeyedOnStrip},

    // Window design: panels and image buttons.
    {"Grafics/Panel/OverviewBackground.bmp", 503, 35, Backdrop::KeyedOnStrip},
    {"Grafics/Panel/CH1Measurements.bmp", 193, 33, Backdrop::Opaque},
    {"Grafics/Panel/CH2Measurements.bmp", 193, 33, Backdrop::Opaque},
    {"Grafics/Panel/CursorsHorizontalOn.bmp", 33, 18, Backdrop::Opaque},
    {"Grafics/Panel/CursorsVerticalOn.bmp", 33, 18, Backdrop::Opaque},
    {"Grafics/Panel/CursorsOff.bmp", 33, 18, Backdrop::Opaque},
    {"Grafics/Panel/SaveView.bmp", 33, 18, Backdrop::Opaque},
    {"Grafics/Panel/CalibrationProbes.bmp", 353, 153, Backdrop::KeyedOnSilver},
    {"Grafics/Panel/AboutBackground.bmp", 501, 314, Backdrop::Opaque},
};

}  // namespace artwork
