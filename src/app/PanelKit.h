#pragma once
// What the window hands each of its panels: the one error wrapper and the
// picture files. A panel builds and owns its widgets, binds their events to
// its handlers through Handler, and shows the program's pictures through
// ShowBitmap; it never sees the window itself.

#include "app/UiServices.h"
#include "app/Widgets.h"

#include <QDateTime>
#include <QHash>
#include <QString>

#include <functional>
#include <type_traits>

class PanelKit {
 public:
  explicit PanelKit(UiServices& ui) : ui_(ui) {}
  PanelKit(const PanelKit&) = delete;
  PanelKit& operator=(const PanelKit&) = delete;

  UiServices& Ui() const { return ui_; }

  // Runs one handler; a ScopeError (or any std::exception) it throws ends
  // that handler only and is shown in the error box.
  void Guard(const std::function<void()>& handler) const;
  // Wraps a callable so that every call runs through Guard. Arguments a
  // signal passes that the callable does not take are dropped.
  template <class F>
  auto Handler(F f) const {
    return [this, f](auto&&... args) {
      Guard([&] {
        if constexpr (std::is_invocable_v<const F&, decltype(args)...>)
          f(args...);
        else
          f();
      });
    };
  }

  // Shows a bitmap file from beside the executable ("Grafics\Run.bmp") in an
  // image; throws when it cannot be read. A file is decoded again only when
  // it changed on disk, since some pictures are swapped at every frame.
  void ShowBitmap(TImage* image, const QString& relativePath);

 private:
  UiServices& ui_;
  struct DecodedBitmap {
    QDateTime modified;
    qint64 size = 0;
    QImage image;
  };
  QHash<QString, DecodedBitmap> decodedBitmaps_;
};
