#pragma once
// One painter per family of pictures; each adds its files to the set.

#include "Painting.h"

namespace artwork {

void PaintGraticules(ArtworkSet& set);  // Grid2..Grid6
void PaintKnobs(ArtworkSet& set);       // volts/div and time/div faces, dots, lock sign
void PaintKeys(ArtworkSet& set);        // selector, run/stop key, trigger and panel buttons
void PaintStatus(ArtworkSet& set);      // run/stop/hourglass status, connection indicator
void PaintMarkers(ArtworkSet& set);     // markers on the strips round the screen
void PaintPanels(ArtworkSet& set);      // overview backdrop, measurement tabs, calibration, about

}  // namespace artwork
