#pragma once
// The measurement panel right of the control column: for each channel the
// ten readings of the record's samples on view, under a tab picture. It owns
// its labels; the window tells it which record and which view to read.

#include "app/Widgets.h"

#include <array>
#include <cstdint>

class PanelKit;
namespace measure {
struct Readings;
}
namespace core {
struct Record;
}

class MeasurementPanel : public TPanel {
  Q_OBJECT
 public:
  // Builds the panel at its place in the window's client area.
  MeasurementPanel(QWidget* client, PanelKit& kit);

  // What the panel reads: the record as it was captured (its ranges, its
  // time per sample), the samples on view, each channel's calibration count
  // and whether the channel is on. A channel that is off is measured all the
  // same; its values are hidden.
  struct Reading {
    const core::Record* record = nullptr;
    std::int32_t viewStart = 0;
    std::int32_t viewEnd = 0;
    std::array<std::int32_t, 2> calOffset{};
    std::array<bool, 2> shown{};
    // The readings of each channel over that view with that calibration,
    // when the caller has them already; read here where it has not.
    std::array<const measure::Readings*, 2> read{};
  };
  void ShowReadings(const Reading& reading);

 private:
  static constexpr int ReadingsPerChannel = 10;
  std::array<std::array<TLabel*, ReadingsPerChannel>, 2> values_{};
  std::array<TImage*, 2> tabs_{};  // "CH1 Measurements", "CH2 Measurements"
};
