// Save View as BMP and Print View: the screen area of the window as a bitmap
// file, with the black background turned white on request, and the whole
// client area on one printed page.
//
// The picture is composed from the window's own widgets rather than read
// back from the screen, so it does not depend on what covers the window or
// on the compositor, and it is taken at one device pixel per window pixel.

#include "window/TForm1.h"
#include "display/StatusStrip.h"

#include "display/SaveView.h"

#include <QAction>

void TForm1::BuildSaveView() {
  statusStrip_->AddSaveViewKey();
  statusStrip_->OnSaveViewKey = [this] { SaveViewasBMP1Click(); };
  Bind(SaveViewasBMP1, &TForm1::SaveViewasBMP1Click);
  Bind(PrintView1, &TForm1::PrintView1Click);
}

QImage TForm1::RenderClientArea(const QRect& area) const {
  QImage image(area.size(), QImage::Format_RGB32);
  image.setDevicePixelRatio(1);
  image.fill(Qt::black);
  Client->render(&image, QPoint(0, 0), QRegion(area));
  return image;
}

void TForm1::SaveViewasBMP1Click() {
  // Taken before the dialog opens, so the dialog is not in the picture.
  SaveBitmap = save_view::StretchToSavedSize(RenderClientArea(save_view::ScreenArea));
  const QString name = Ui.SaveFileName(QString::fromLatin1(save_view::SaveFilter),
                                       QString::fromLatin1(save_view::DefaultExtension));
  if (name.isEmpty()) return;
  if (ScreenSave == 1) save_view::WhitenPureBlack(SaveBitmap);
  save_view::WriteFileAtomically(name, save_view::Bmp24Bytes(SaveBitmap));
}

void TForm1::PrintView1Click() { Ui.PrintImage(RenderClientArea(Client->rect())); }
