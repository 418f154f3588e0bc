// Save View as BMP and Print View on the real window: the file's size and
// format, the white-background rule against the screen copy pixel by pixel,
// cancelling, a file that cannot be written, and printing to a PDF file.

#include "display/SaveView.h"
#include "support/ScopeWindow.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cmath>

namespace {

const QRgb Black = qRgb(0, 0, 0);
const QRgb White = qRgb(255, 255, 255);

class SaveView : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    // The about panel shown at start would go from the screen mid-test.
    TForm1::SetEnabled(ScopeDriver(f).Timer(QStringLiteral("AboutTimer")), false);
    ScopeDriver(f).Find<TPanel>(QStringLiteral("AboutPanel"))->hide();
    // A held record with both traces on, so the screen has colours as well
    // as black.
    for (int i = 1; i <= 3000; ++i) {
      scope.State().HeldRecord.ch1[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(128 + 90 * std::sin(i / 20.0));
      scope.State().HeldRecord.ch2[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(128 + 60 * std::cos(i / 9.0));
    }
    scope.State().ChannelOn[1] = scope.State().ChannelOn[2] = 1;
    scope.State().HeldRecord.channels[0].scale = scope.State().HeldRecord.channels[1].scale = 78;
    scope.State().CH1VertPos = 120;
    scope.State().CH2VertPos = 280;
    scope.State().HeldRecord.SetTimeBase(5, scope.State().HeldRecord.rate1MS);
    scope.DrawHeldRecord();
    QCoreApplication::processEvents();
  }
  QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
  // What the screen area shows now, at the saved size.
  QImage ScreenCopy() const {
    return save_view::StretchToSavedSize(scope.ClientAreaPicture(save_view::ScreenArea));
  }
  QImage Saved(const QString& path) const { return QImage(path).convertToFormat(QImage::Format_RGB32); }

  ScopeWindow w{true, /*stopWatch=*/true};
  TForm1& f = *w.form;
  ScopeDriver& scope = w.scope;
  QTemporaryDir dir;
};

TEST_F(SaveView, AFileOf556By545In24BitBmpWhateverTheWindowSizeOrSuffix) {
  struct Case {
    int formWidth;
    const char* name;
  } cases[] = {{984, "wide.bmp"}, {792, "narrow.bmp"}, {792, "named.png"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    f.SetFormWidth(c.formWidth);
    QCoreApplication::processEvents();
    w.ui.saveAnswers.push_back(Path(c.name));
    ScopeDriver(f).MenuItem(QStringLiteral("SaveViewasBMP1"))->trigger();
    ASSERT_TRUE(w.ui.errors.isEmpty()) << w.ui.errors.join('\n').toStdString();
    QImageReader reader(Path(c.name));
    EXPECT_EQ(reader.format(), "bmp");
    EXPECT_EQ(reader.size(), QSize(556, 545));
    QFile file(Path(c.name));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray header = file.read(30);
    ASSERT_EQ(header.size(), 30);
    EXPECT_EQ(header.left(2), "BM");
    EXPECT_EQ(static_cast<unsigned char>(header[28]) | (static_cast<unsigned char>(header[29]) << 8), 24)
        << "bits per pixel";
    const QString fileProgram = QStandardPaths::findExecutable(QStringLiteral("file"));
    if (!fileProgram.isEmpty()) {
      QProcess p;
      p.start(fileProgram, {Path(c.name)});
      ASSERT_TRUE(p.waitForFinished(10000));
      const QString said = QString::fromLocal8Bit(p.readAllStandardOutput());
      EXPECT_TRUE(said.contains("PC bitmap") && said.contains("556 x 545 x 24")) << said.toStdString();
    }
  }
}

TEST_F(SaveView, BlackBackgroundSavesTheScreenAsItIs) {
  scope.State().ScreenSave = 0;
  w.ui.saveAnswers.push_back(Path("black.bmp"));
  ScopeDriver(f).MenuItem(QStringLiteral("SaveViewasBMP1"))->trigger();
  const QImage screen = ScreenCopy();
  EXPECT_EQ(Saved(Path("black.bmp")), screen);
  EXPECT_EQ(f.SaveBitmap.convertToFormat(QImage::Format_RGB32), screen);
}

TEST_F(SaveView, WhiteBackgroundTurnsOnlyPureBlackWhite) {
  scope.State().ScreenSave = 1;
  w.ui.saveAnswers.push_back(Path("white.bmp"));
  scope.SaveViewButton()->mouse.OnClick();  // the button in the status strip does the same
  const QImage screen = ScreenCopy();
  const QImage saved = Saved(Path("white.bmp"));
  ASSERT_EQ(saved.size(), screen.size());
  int whitened = 0, kept = 0, traces = 0;
  for (int y = 0; y < screen.height(); ++y)
    for (int x = 0; x < screen.width(); ++x) {
      const QRgb s = screen.pixel(x, y);
      if (s == Black) {
        ASSERT_EQ(saved.pixel(x, y), White) << x << "," << y;
        ++whitened;
      } else {
        ASSERT_EQ(saved.pixel(x, y), s) << x << "," << y;
        ++kept;
        traces += s == qRgb(0x00, 0x7E, 0xFF) || s == qRgb(0xFF, 0, 0);
      }
    }
  // The black plot and bezel, and the coloured traces, are all in the copy.
  EXPECT_GT(whitened, 100000);
  EXPECT_GT(traces, 500);
  EXPECT_GT(kept, traces);
}

TEST_F(SaveView, CancellingWritesNothingAndTheNextSaveCapturesTheScreenAgain) {
  scope.State().ScreenSave = 0;
  ScopeDriver(f).MenuItem(QStringLiteral("SaveViewasBMP1"))->trigger();  // no answer queued: the user cancels
  EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
  EXPECT_TRUE(w.ui.errors.isEmpty());

  // The screen changes: CH2 off.
  const QImage before = ScreenCopy();
  scope.State().ChannelOn[2] = 0;
  scope.DrawHeldRecord();
  QCoreApplication::processEvents();
  ASSERT_NE(ScreenCopy(), before);
  w.ui.saveAnswers.push_back(Path("again.bmp"));
  ScopeDriver(f).MenuItem(QStringLiteral("SaveViewasBMP1"))->trigger();
  EXPECT_EQ(Saved(Path("again.bmp")), ScreenCopy());
}

TEST_F(SaveView, AFileThatCannotBeWrittenIsReported) {
  const QString path = Path("no-such-folder/view.bmp");
  w.ui.saveAnswers.push_back(path);
  ScopeDriver(f).MenuItem(QStringLiteral("SaveViewasBMP1"))->trigger();
  ASSERT_EQ(w.ui.errors.size(), 1);
  EXPECT_EQ(w.ui.errors[0], "Cannot create file " + path);
  EXPECT_FALSE(QFile::exists(path));
}

TEST_F(SaveView, TheSaveButtonSitsInTheStatusStrip) {
  EXPECT_EQ(scope.SaveViewButton()->parentWidget(), scope.StatusStrip());
  EXPECT_EQ(scope.SaveViewButton()->geometry(), QRect(178, 60, 33, 18));
  EXPECT_EQ(scope.SaveViewButton()->toolTip(), "Save Screen Capture As *.BMP.");
  EXPECT_FALSE(scope.SaveViewButton()->Picture().isNull());
}

TEST(PrintPlacement, FitsThePageKeepingTheAspectRatioAtTheTopLeft) {
  struct Case {
    QRect page;
    QSize image;
    QRect placed;
  } cases[] = {
      {{0, 0, 1000, 800}, {976, 608}, {0, 0, 1000, 622}},    // width-limited
      {{10, 20, 2000, 500}, {976, 608}, {10, 20, 802, 500}}, // height-limited
      {{0, 0, 100, 100}, {100, 100}, {0, 0, 100, 100}},
      {{0, 0, 100, 100}, {0, 0}, {0, 0, 0, 0}},
  };
  for (const Case& c : cases) EXPECT_EQ(PrintPlacement(c.page, c.image), c.placed) << c.image.width();
}

TEST_F(SaveView, PrintViewPrintsTheClientAreaOnOnePageOrNothingWhenCancelled) {
  w.ui.printToPdf = Path("view.pdf");
  w.ui.printAnswer = false;
  ScopeDriver(f).MenuItem(QStringLiteral("PrintView1"))->trigger();
  EXPECT_FALSE(QFile::exists(Path("view.pdf")));

  w.ui.printAnswer = true;
  ScopeDriver(f).MenuItem(QStringLiteral("PrintView1"))->trigger();
  ASSERT_EQ(w.ui.printed.size(), 2u);
  EXPECT_EQ(w.ui.printed.back().size(), ScopeDriver(f).Find<QWidget>(QStringLiteral("ClientArea"))->size());
  QFile pdf(Path("view.pdf"));
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  const QByteArray bytes = pdf.readAll();
  EXPECT_TRUE(bytes.startsWith("%PDF"));
  EXPECT_EQ(QString::fromLatin1(bytes).count(QRegularExpression("/Type\\s*/Page\\b(?!s)")), 1) << "one page";
}

}  // namespace
