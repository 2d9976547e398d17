// The picture pages against a game folder built for the test: real bitmaps,
// a corrupt one, folder and file names in mixed letter case, mod and main
// game directories. Also the program's own bitmaps.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

#include "gui/Bitmaps.h"
#include "support/DesignWalk.h"
#include "support/TestApp.h"
#include "wizard/frmCompPicture.h"
#include "wizard/frmFacPicture.h"

using namespace vorlane;
using namespace vorlane::test;

namespace {

QImage Filled(QColor colour, int width = 16, int height = 16) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(colour);
  return image;
}

// Writes `image` as a Windows bitmap at `relative` below `root`, folders included.
void SaveBitmap(const QString& root, const QString& relative, const QImage& image) {
  const QString path = QDir(root).filePath(relative);
  QVERIFY(QDir().mkpath(QFileInfo(path).path()));
  QVERIFY(image.save(path, "BMP"));
}

QImage Shown(TestApp& app) {
  return app.Find<QLabel>("imgPicture")->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
}

QImage NotFound() { return PicNotFoundImage().convertToFormat(QImage::Format_RGB32); }

QString UsingDir(TestApp& app) { return app.Find<QLabel>("lblUsingDir")->text(); }

// Moves the slider as the user would, with the keyboard from its current value.
void SlideTo(TestApp& app, int value) {
  auto* slider = app.Find<QSlider>("sldPicNum");
  slider->setFocus();
  slider->setValue(value);
  app.Settle();
}

}  // namespace

class PicturePagesTest : public QObject {
  Q_OBJECT

  QTemporaryDir game_;
  QString mod_, seiv_;

 private slots:
  void initTestCase() {
    QVERIFY(game_.isValid());
    mod_ = game_.filePath("Mod Dir");
    seiv_ = game_.filePath("SEIV");
    // Mod: mixed-case folders and a file name in capitals; a corrupt picture 10.
    SaveBitmap(mod_, "pictures/components/comp_007.BMP", Filled(Qt::red));
    QVERIFY(WriteAll(QDir(mod_).filePath("Pictures/Components/Comp_010.bmp"), "BM this is no bitmap at all"));
    // Main game directory: 7 and 10 as good copies, 42 only here.
    SaveBitmap(seiv_, "PICTURES/components/Comp_007.bmp", Filled(Qt::green));
    SaveBitmap(seiv_, "PICTURES/components/Comp_010.bmp", Filled(Qt::green));
    SaveBitmap(seiv_, "PICTURES/components/Comp_042.bmp", Filled(Qt::blue, 40, 20));
    SaveBitmap(seiv_, "Pictures/Facilities/Facil_007.bmp", Filled(Qt::cyan));
    SaveBitmap(seiv_, "PICTURES/components/Comp_1234.bmp", Filled(Qt::magenta));
  }

  void programBitmapsLookAsDescribed() {
    const QImage notFound = PicNotFoundImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(notFound.size(), QSize(192, 192));
    QVERIFY(PicNotFoundImage().colorCount() <= 256);
    int yellow = 0;
    for (int y = 0; y < 192; ++y)
      for (int x = 0; x < 192; ++x) {
        const QColor c = notFound.pixelColor(x, y);
        QVERIFY2(c.blue() < 80, "only black and yellow tones");
        if (c.red() > 200 && c.green() > 200) ++yellow;
      }
    QCOMPARE(notFound.pixelColor(0, 0), QColor(Qt::black));
    QVERIFY2(yellow > 500, "four lines of text");

    const QImage sign = CircleSlashImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(sign.size(), QSize(40, 40));
    QCOMPARE(sign.pixelColor(0, 0), QColor(Qt::black));
    QCOMPARE(sign.pixelColor(20, 20), QColor(Qt::red));  // the bar crosses the centre
    QCOMPARE(sign.pixelColor(20, 5), QColor(Qt::red));   // the ring
    QCOMPARE(sign.pixelColor(28, 12), QColor(Qt::black));  // inside the ring, off the bar
    QVERIFY(!ProgramIcon().isNull());
  }

  void withoutDirectoriesNothingIsLookedUp() {
    TestApp app;
    app.Show<frmCompPicture>();
    QCOMPARE(app.PageName(), QStringLiteral("frmCompPicture"));
    auto* slider = app.Find<QSlider>("sldPicNum");
    QCOMPARE(slider->minimum(), 1);
    QCOMPARE(slider->maximum(), 800);
    QCOMPARE(slider->tickInterval(), 50);
    QCOMPARE(slider->value(), 1);
    QCOMPARE(app.Find<QLabel>("lblPicNum")->text(), QStringLiteral("1"));
    QVERIFY(app.Find<QLineEdit>("txtPicNum")->text().isEmpty());
    QCOMPARE(UsingDir(app), QStringLiteral("No directories selected (set up from main menu)"));
    QCOMPARE(Shown(app), NotFound());
    QCOMPARE(app.Find<QLabel>("imgPicture")->size(), QSize(193, 193));

    SlideTo(app, 7);
    QCOMPARE(app.Find<QLabel>("lblPicNum")->text(), QStringLiteral("7"));
    QCOMPARE(UsingDir(app), QStringLiteral("No directories selected (set up from main menu)"));
    app.Type("txtPicNum", "{&complevel}");
    QCOMPARE(UsingDir(app), QStringLiteral("Using formula in text box"));
    QCOMPARE(Shown(app), NotFound());
    // Back on the slider the label tells again why nothing is shown.
    SlideTo(app, 8);
    QCOMPARE(UsingDir(app), QStringLiteral("No directories selected (set up from main menu)"));
  }

  void previewSearchesModDirectoryFirst() {
    TestApp app;
    app.hq().SetModDir(mod_.toStdString());
    app.hq().SetSEIVDir(seiv_.toStdString());
    auto* page = app.Show<frmCompPicture>();
    QVERIFY(page->HasModDir() && page->HasSEIVDir() && !page->NoDirs());

    SlideTo(app, 7);  // in both: the mod's wins, found despite its letter case
    QCOMPARE(UsingDir(app), QStringLiteral("Using mod dir"));
    QCOMPARE(Shown(app), Filled(Qt::red));
    SlideTo(app, 42);  // only in the main game directory
    QCOMPARE(UsingDir(app), QStringLiteral("Using SEIV base dir"));
    QCOMPARE(Shown(app), Filled(Qt::blue, 40, 20));
    SlideTo(app, 99);
    QCOMPARE(UsingDir(app), QStringLiteral("Picture not found"));
    QCOMPARE(Shown(app), NotFound());
    SlideTo(app, 10);  // corrupt in the mod: an error, although the game has a good copy
    QVERIFY2(UsingDir(app).startsWith(QStringLiteral("Error loading picture 10 (")), qPrintable(UsingDir(app)));
    QVERIFY(UsingDir(app).contains(QStringLiteral(": Error #")));
    QVERIFY(UsingDir(app).endsWith(QLatin1Char(')')));
    QCOMPARE(Shown(app), NotFound());
    // The longer text has room of its own below the preview.
    auto* label = app.Find<QLabel>("lblUsingDir");
    QVERIFY(label->height() >= label->heightForWidth(label->width()));
    QVERIFY(label->geometry().top() >= app.Find<QLabel>("imgPicture")->geometry().bottom());
    SlideTo(app, 7);  // the next look tries again
    QCOMPARE(UsingDir(app), QStringLiteral("Using mod dir"));

    app.Type("txtPicNum", "{&complevel + 6}");
    QVERIFY(page->UsingFormula());
    QCOMPARE(UsingDir(app), QStringLiteral("Using formula in text box"));
    QCOMPARE(Shown(app), NotFound());
  }

  void mainGameDirectoryAloneAndFourDigitNumbers() {
    TestApp app;
    app.hq().SetSEIVDir(seiv_.toStdString());
    app.hq().Component().SetPicNum("1234");
    auto* page = app.Show<frmCompPicture>();
    QVERIFY(!page->HasModDir() && page->HasSEIVDir());
    // 1234 lies past the usual 800: the slider widens and keeps it.
    QCOMPARE(app.Find<QSlider>("sldPicNum")->maximum(), 1234);
    QCOMPARE(app.Find<QSlider>("sldPicNum")->value(), 1234);
    QCOMPARE(app.Find<QLabel>("lblPicNum")->text(), QStringLiteral("1234"));
    QCOMPARE(UsingDir(app), QStringLiteral("Using SEIV base dir"));
    QCOMPARE(Shown(app), Filled(Qt::magenta));
    SlideTo(app, 7);  // the mod directory is not set, so the game's copy shows
    QCOMPARE(Shown(app), Filled(Qt::green));
    app.Click("cmdNext");
    QCOMPARE(app.hq().Component().PicNum(), std::string("7"));
    QCOMPARE(app.PageName(), QStringLiteral("frmCompTech"));
  }

  void sliderRangeFollowsTheFileCounts() {
    QTemporaryDir dir;
    const QString mod = dir.filePath("mod");
    const QString seiv = dir.filePath("seiv");
    QVERIFY(QDir().mkpath(mod + "/pictures/facilities"));
    QVERIFY(QDir().mkpath(seiv));  // set, but without a pictures folder
    for (int i = 0; i < 700; ++i) WriteAll(QDir(mod).filePath(QStringLiteral("pictures/facilities/f%1.bmp").arg(i)), "x");

    TestApp app;
    app.hq().SetModDir(mod.toStdString());
    app.hq().SetSEIVDir(seiv.toStdString());
    app.Show<frmFacPicture>();
    QCOMPARE(app.Find<QSlider>("sldPicNum")->maximum(), 1200);  // 3.5 hundreds round to 4
    QCOMPARE(app.Find<QSlider>("sldPicNum")->tickInterval(), 100);
    app.Show<frmCompPicture>();  // no component pictures anywhere: the plain range
    QCOMPARE(app.Find<QSlider>("sldPicNum")->maximum(), 800);
    QCOMPARE(app.Find<QSlider>("sldPicNum")->tickInterval(), 50);
  }

  void lastTouchedControlDecidesThePictureNumber() {
    TestApp app;
    auto& record = app.hq().Component();
    app.Show<frmCompPicture>();
    app.Click("cmdNext");  // untouched new design
    QCOMPARE(record.PicNum(), std::string("1"));
    QVERIFY(!app.Show<frmCompPicture>()->UsingFormula());  // the stored 1 reopens on the slider
    QVERIFY(app.Find<QLineEdit>("txtPicNum")->text().isEmpty());

    record.SetPicNum("42");
    app.Show<frmCompPicture>();
    QCOMPARE(app.Find<QSlider>("sldPicNum")->value(), 42);
    QCOMPARE(app.Find<QLabel>("lblPicNum")->text(), QStringLiteral("42"));
    QVERIFY(app.Find<QLineEdit>("txtPicNum")->text().isEmpty());
    app.Type("txtPicNum", "{&complevel}");
    SlideTo(app, 50);  // typed, then slid: the slider's number
    app.Click("cmdBack");
    QCOMPARE(record.PicNum(), std::string("50"));
    QCOMPARE(app.PageName(), QStringLiteral("frmCompVehicleType"));

    app.Show<frmCompPicture>();
    SlideTo(app, 60);
    app.Type("txtPicNum", "{&complevel * 2}");  // slid, then typed: the text
    app.Click("cmdNext");
    QCOMPARE(record.PicNum(), std::string("{&complevel * 2}"));

    auto* page = app.Show<frmCompPicture>();  // a formula comes back in the box
    QVERIFY(page->UsingFormula());
    QCOMPARE(app.Find<QLineEdit>("txtPicNum")->text(), QStringLiteral("{&complevel * 2}"));
    app.Type("txtPicNum", "");  // cleared box: an empty picture number
    app.Click("cmdNext");
    QCOMPARE(record.PicNum(), std::string());

    record.SetPicNum("12.5");  // a number is rounded, halves to even
    app.Show<frmCompPicture>();
    QCOMPARE(app.Find<QSlider>("sldPicNum")->value(), 12);

    record.SetPicNum("0");  // below the slider: kept as typed text
    app.Show<frmCompPicture>();
    QCOMPARE(app.Find<QLineEdit>("txtPicNum")->text(), QStringLiteral("0"));
    app.Click("cmdNext");
    QCOMPARE(record.PicNum(), std::string("0"));
  }

  void facilityTwin() {
    TestApp app;
    app.hq().SetModDir(mod_.toStdString());
    app.hq().SetSEIVDir(seiv_.toStdString());
    app.Show<frmFacPicture>();
    SlideTo(app, 7);
    QCOMPARE(UsingDir(app), QStringLiteral("Using SEIV base dir"));
    QCOMPARE(Shown(app), Filled(Qt::cyan));
    SlideTo(app, 42);  // a component picture is no facility picture
    QCOMPARE(UsingDir(app), QStringLiteral("Picture not found"));
    app.Click("cmdBack");
    QCOMPARE(app.hq().Facility().PicNum(), std::string("42"));
    QCOMPARE(app.hq().Component().PicNum(), std::string());
    QCOMPARE(app.PageName(), QStringLiteral("frmFacBasicInfo"));
    app.Show<frmFacPicture>();
    app.Click("cmdNext");
    QCOMPARE(app.PageName(), QStringLiteral("frmFacTech"));
  }
};

QTEST_MAIN(PicturePagesTest)
#include "tst_picture_pages.moc"
