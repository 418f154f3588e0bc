#pragma once
// The picture of Save View as BMP, without a window: the screen area that is
// saved, its stretch to the saved size, the white-background rule, the bytes
// of the 24-bit Windows bitmap and their atomic write. QtGui only.

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

namespace save_view {

// The screen bezel less its outer edge, in the window's client area: the
// rectangle (2, 6)-(556, 545), 554 x 539 pixels.
inline constexpr QRect ScreenArea{2, 6, 554, 539};
// The saved picture's size, whatever the window's.
inline constexpr QSize SavedSize{556, 545};

inline constexpr char SaveFilter[] = "Bitmap Files (*.bmp);;All Files (*)";
inline constexpr char DefaultExtension[] = "bmp";

// The screen copy stretched to SavedSize pixel for pixel (nearest neighbour):
// a smoothing scale would invent near-black pixels the white-background rule
// then misses and blur the traces' exact colours.
QImage StretchToSavedSize(const QImage& screen);

// "White Background": every pixel of exactly black becomes white; every other
// colour, dark ones included, stays.
void WhitenPureBlack(QImage& image);

// The picture as a 24-bit Windows bitmap file, whatever name it is saved
// under.
QByteArray Bmp24Bytes(const QImage& image);

// Writes the bytes through a temporary file that replaces `path` only once
// complete; throws ScopeError "Cannot create file <path>" otherwise.
void WriteFileAtomically(const QString& path, const QByteArray& bytes);

}  // namespace save_view
