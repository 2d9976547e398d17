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
#include <memory>

#include "gui/Bitmaps.h"
#include "support/DesignWalk.h"
#include "support/TestApp.h"
#include "wizard/PicturePage.h"
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

  // The not-found picture: black with yellow text in at most 256 colours;
  // the sign: a red ring and bar on black.
  void programBitmapsLookAsDescribed() {
    const QImage notFound = NotFound();
    int yellow = 0, blue = 0;
    for (int y = 0; y < notFound.height(); ++y)
      for (int x = 0; x < notFound.width(); ++x) {
        const QColor c = notFound.pixelColor(x, y);
        blue += c.blue() >= 80, yellow += c.red() > 200 && c.green() > 200;
      }
    QVERIFY(notFound.size() == QSize(192, 192) && PicNotFoundImage().colorCount() <= 256 && blue == 0);
    QVERIFY2(notFound.pixelColor(0, 0) == Qt::black && yellow > 500, "four lines of text");
    const QImage sign = CircleSlashImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(sign.size(), QSize(40, 40));
    // A corner, the bar across the centre, the ring, inside the ring off the bar.
    QCOMPARE((QList<QColor>{sign.pixelColor(0, 0), sign.pixelColor(20, 20), sign.pixelColor(20, 5), sign.pixelColor(28, 12)}),
             (QList<QColor>{Qt::black, Qt::red, Qt::red, Qt::black}));
    QVERIFY(!ProgramIcon().isNull());
  }

  // What the preview shows for each number slid to, in turn, by the
  // directories set: the mod directory first, letter case ignored.
  void previewLooksUpTheDirectoriesInTurn() {
    const QString noDirs = QStringLiteral("No directories selected (set up from main menu)");
    const QString mod = QStringLiteral("Using mod dir"), seiv = QStringLiteral("Using SEIV base dir");
    const QString missing = QStringLiteral("Picture not found");
    struct Look {
      bool facility, mod, seiv;
      int number;  // 0: a formula typed into the box
      QString usingDir;
      QImage shown;
    };
    const Look looks[] = {
        {false, false, false, 7, noDirs, NotFound()},
        {false, false, false, 0, "Using formula in text box", NotFound()},
        {false, false, false, 8, noDirs, NotFound()},  // back on the slider: says again why
        {false, true, true, 7, mod, Filled(Qt::red)},  // in both: the mod's, despite its letter case
        {false, true, true, 42, seiv, Filled(Qt::blue, 40, 20)},  // only in the game's
        {false, true, true, 99, missing, NotFound()},
        {false, true, true, 10, "Error loading picture 10 (", NotFound()},  // corrupt in the mod, good in the game
        {false, true, true, 7, mod, Filled(Qt::red)},  // the next look tries again
        {false, true, true, 0, "Using formula in text box", NotFound()},
        {false, false, true, 7, seiv, Filled(Qt::green)},  // no mod directory: the game's copy
        {true, true, true, 7, seiv, Filled(Qt::cyan)},
        {true, true, true, 42, missing, NotFound()},  // a component picture is no facility picture
    };
    std::unique_ptr<TestApp> app;
    for (const Look& look : looks) {
      const QString row = QStringLiteral("%1 %2%3 %4").arg(look.facility).arg(look.mod).arg(look.seiv).arg(look.number);
      if (!app || app->hq().ModDir().empty() == look.mod || app->hq().SEIVDir().empty() == look.seiv ||
          (app->PageName() == "frmFacPicture") != look.facility) {
        app.reset();  // one program at a time
        app = std::make_unique<TestApp>();
        if (look.mod) app->hq().SetModDir(mod_.toStdString());
        if (look.seiv) app->hq().SetSEIVDir(seiv_.toStdString());
        auto* page = look.facility ? static_cast<PicturePage*>(app->Show<frmFacPicture>())
                                   : static_cast<PicturePage*>(app->Show<frmCompPicture>());
        QVERIFY(page->HasModDir() == look.mod && page->HasSEIVDir() == look.seiv);
        QCOMPARE(page->NoDirs(), !look.mod && !look.seiv);
      }
      if (look.number) {
        SlideTo(*app, look.number);
        QCOMPARE(app->Find<QLabel>("lblPicNum")->text(), QString::number(look.number));
      } else {
        app->Type("txtPicNum", "{&complevel + 6}");
        QVERIFY(app->PageAs<PicturePage>()->UsingFormula());
      }
      QVERIFY2(look.usingDir.endsWith('(') ? UsingDir(*app).startsWith(look.usingDir) : UsingDir(*app) == look.usingDir,
               qPrintable(row + ": " + UsingDir(*app)));
      QVERIFY2(Shown(*app) == look.shown, qPrintable(row));
      if (look.number == 10) {
        QVERIFY(UsingDir(*app).contains(QStringLiteral(": Error #")) && UsingDir(*app).endsWith(QLatin1Char(')')));
        // The longer text has room of its own below the preview.
        auto* label = app->Find<QLabel>("lblUsingDir");
        QVERIFY(label->height() >= label->heightForWidth(label->width()));
        QVERIFY(label->geometry().top() >= app->Find<QLabel>("imgPicture")->geometry().bottom());
      }
    }
  }

  void newPageAndStoredNumbersBeyondTheSlider() {
    TestApp app;
    app.Show<frmCompPicture>();
    auto* slider = app.Find<QSlider>("sldPicNum");
    QCOMPARE(QList<int>({slider->minimum(), slider->maximum(), slider->tickInterval(), slider->value()}),
             QList<int>({1, 800, 50, 1}));
    QCOMPARE(app.Props({"lblPicNum.text=1", "txtPicNum.text="}), QString());
    QVERIFY(Shown(app) == NotFound() && app.Find("imgPicture")->size() == QSize(193, 193));

    // 1234 lies past the usual 800: the slider widens and keeps it.
    app.hq().SetSEIVDir(seiv_.toStdString());
    app.hq().Component().SetPicNum("1234");
    app.Show<frmCompPicture>();
    QCOMPARE(app.Props({"sldPicNum.maximum=1234", "sldPicNum.value=1234"}), QString());
    QCOMPARE(Shown(app), Filled(Qt::magenta));
    SlideTo(app, 7);
    app.Click("cmdNext");
    QVERIFY(app.hq().Component().PicNum() == "7" && app.PageName() == "frmCompTech");
  }

  void sliderRangeFollowsTheFileCounts() {
    QTemporaryDir dir;
    const QString mod = dir.filePath("mod");
    const QString seiv = dir.filePath("seiv");
    QVERIFY(QDir().mkpath(mod + "/pictures/facilities"));
    QVERIFY(QDir().mkpath(seiv));  // set, but without a pictures folder
    for (int i = 0; i < 700; ++i)
      QVERIFY(WriteAll(QDir(mod).filePath(QStringLiteral("pictures/facilities/f%1.bmp").arg(i)), "x"));

    TestApp app;
    app.hq().SetModDir(mod.toStdString());
    app.hq().SetSEIVDir(seiv.toStdString());
    app.Show<frmFacPicture>();
    QCOMPARE(app.Props({"sldPicNum.maximum=1200", "sldPicNum.tickInterval=100"}), QString());  // 3.5 hundreds: 4
    app.Show<frmCompPicture>();  // no component pictures anywhere: the plain range
    QCOMPARE(app.Props({"sldPicNum.maximum=800", "sldPicNum.tickInterval=50"}), QString());
  }

  void lastTouchedControlDecidesThePictureNumber() {
    TestApp app;
    auto& record = app.hq().Component();
    app.Show<frmCompPicture>();
    app.Click("cmdNext");  // untouched new design
    QCOMPARE(record.PicNum(), std::string("1"));
    QVERIFY(!app.Show<frmCompPicture>()->UsingFormula() && app.Text("txtPicNum").isEmpty());  // 1 reopens on the slider

    record.SetPicNum("42");
    app.Show<frmCompPicture>();
    QCOMPARE(app.Props({"sldPicNum.value=42", "lblPicNum.text=42", "txtPicNum.text="}), QString());
    app.Type("txtPicNum", "{&complevel}");
    SlideTo(app, 50);  // typed, then slid: the slider's number
    app.Click("cmdBack");
    QVERIFY(record.PicNum() == "50" && app.PageName() == "frmCompVehicleType");

    app.Show<frmCompPicture>();
    SlideTo(app, 60);
    app.Type("txtPicNum", "{&complevel * 2}");  // slid, then typed: the text
    app.Click("cmdNext");
    QCOMPARE(record.PicNum(), std::string("{&complevel * 2}"));

    auto* page = app.Show<frmCompPicture>();  // a formula comes back in the box
    QVERIFY(page->UsingFormula() && app.Text("txtPicNum") == "{&complevel * 2}");
    app.Type("txtPicNum", "");  // cleared box: an empty picture number
    app.Click("cmdNext");
    QCOMPARE(record.PicNum(), std::string());

    record.SetPicNum("12.5");  // a number is rounded, halves to even
    app.Show<frmCompPicture>();
    QCOMPARE(app.Find<QSlider>("sldPicNum")->value(), 12);

    record.SetPicNum("0");  // below the slider: kept as typed text
    app.Show<frmCompPicture>();
    QCOMPARE(app.Text("txtPicNum"), QStringLiteral("0"));
    app.Click("cmdNext");
    QCOMPARE(record.PicNum(), std::string("0"));
  }

  void facilityTwinStoresItsOwnNumber() {
    TestApp app;
    app.Show<frmFacPicture>();
    SlideTo(app, 42);
    app.Click("cmdBack");
    QVERIFY(app.hq().Facility().PicNum() == "42" && app.hq().Component().PicNum().empty());
    QCOMPARE(app.PageName(), QStringLiteral("frmFacBasicInfo"));
    app.Show<frmFacPicture>();
    app.Click("cmdNext");
    QCOMPARE(app.PageName(), QStringLiteral("frmFacTech"));
  }
};

QTEST_MAIN(PicturePagesTest)
#include "tst_picture_pages.moc"
