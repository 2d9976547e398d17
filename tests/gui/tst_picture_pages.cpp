// The picture pages against a game folder built for the test (bitmaps, a
// corrupt one, names in mixed letter case, mod and game directories); the
// program's own bitmaps; the three weapon pages and where Back leads.
#include <QAbstractItemView>
#include <QCompleter>
#include <chrono>
#include <memory>
#include <thread>

#include "generate_ui/frmCompGenerate.h"
#include "gui/Bitmaps.h"
#include "gui/UpDownArrows.h"
#include "support/DesignWalk.h"
#include "support/TestApp.h"
#include "wizard/PicturePage.h"
#include "wizard/frmCompPicture.h"
#include "wizard/frmCompWeaponDamage.h"
#include "wizard/frmCompWeaponInfo.h"
#include "wizard/frmCompWeaponInfo2.h"
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
  QVERIFY(QDir().mkpath(QFileInfo(path).path()) && image.save(path, "BMP"));
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

const char* const kWeaponControls[] = {"txtWeapFam",   "cboDispType",    "sldDispNum",     "txtDispNum",
                                       "txtSoundFile", "cmdBrowseSound", "chkWeapTarg(0)", "chkWeapTarg(5)"};

// A unique colour for every cell of a test strip.
QRgb CellColour(int n) { return qRgb((n * 37) % 256, (n * 11) % 256, 255 - n % 256); }

// A strip in the game's layout: square cells, ten per row (20 by 20 in the
// game's own 200-pixel-wide strips).
void WriteStrip(const QString& file, int rows, int width = 200) {
  const int cell = width / 10;
  QImage image(width, rows * cell, QImage::Format_RGB32);
  for (int n = 0; n < rows * 10; ++n)
    for (int y = 0; y < cell; ++y)
      for (int x = 0; x < cell; ++x) image.setPixel((n % 10) * cell + x, (n / 10) * cell + y, CellColour(n));
  SaveBitmap(QString(), file, image);
}

QImage Viewport(frmCompWeaponInfo* page) {
  return page->pboxDispNum()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Cell n fills the whole viewport, corners included.
bool ShowsCell(frmCompWeaponInfo* page, int n) {
  const QImage shown = Viewport(page);
  for (QPoint p : {QPoint(0, 0), QPoint(39, 0), QPoint(20, 20), QPoint(0, 39), QPoint(39, 39)})
    if (shown.pixel(p) != CellColour(n)) return false;
  return true;
}

bool ShowsTheSign(frmCompWeaponInfo* page) {
  return Viewport(page) == CircleSlashImage().convertToFormat(QImage::Format_RGB32);
}

bool AllEnabled(TestApp& app, bool enabled) {
  for (const char* name : kWeaponControls)
    if (app.Find(name)->isEnabled() != enabled) return false;
  return true;
}

// The files as the lookup names them: Windows, whose folders ignore letter
// case, gives a file under the name asked for; Linux as it is on disk.
QStringList AsFound(QStringList files) {
#ifdef Q_OS_WIN
  for (QString& file : files) file = file.toLower();
#endif
  return files;
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
    QCOMPARE((QList<QColor>{sign.pixelColor(0, 0), sign.pixelColor(20, 20), sign.pixelColor(20, 5),
                            sign.pixelColor(28, 12)}),
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
      int number;
      QString usingDir;
      QImage shown;
    };  // number 0: a formula
    const Look looks[] = {
        {false, false, false, 7, noDirs, NotFound()},
        {false, false, false, 0, "Using formula in text box", NotFound()},
        {false, false, false, 8, noDirs, NotFound()},             // back on the slider: says again why
        {false, true, true, 7, mod, Filled(Qt::red)},             // in both: the mod's, despite its letter case
        {false, true, true, 42, seiv, Filled(Qt::blue, 40, 20)},  // only in the game's
        {false, true, true, 99, missing, NotFound()},
        {false, true, true, 10, "Error loading picture 10 (", NotFound()},  // corrupt in the mod, good in the game
        {false, true, true, 7, mod, Filled(Qt::red)},                       // the next look tries again
        {false, true, true, 0, "Using formula in text box", NotFound()},
        {true, true, true, 7, seiv, Filled(Qt::cyan)},  // (which folders in turn: with the lookup's tests)
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

  void sliderRangeFollowsTheFileCounts() {
    QTemporaryDir mod;
    for (int i = 0; i < 700; ++i)
      QVERIFY(WriteAll(mod.filePath(QStringLiteral("pictures/facilities/f%1.bmp").arg(i)), "x"));
    TestApp app;
    app.hq().SetModDir(mod.path().toStdString());
    app.Show<frmFacPicture>();
    QCOMPARE(app.Props({"sldPicNum.maximum=1200", "sldPicNum.tickInterval=100"}), QString());  // 3.5 hundreds: 4
  }

  // A new page; a stored number reopens on the slider, anything else in the
  // box, and is kept by Next; the control touched last decides the number.
  void lastTouchedControlDecidesThePictureNumber() {
    TestApp app;
    auto& record = app.hq().Component();
    app.Show<frmCompPicture>();
    QCOMPARE(app.Props({"sldPicNum.minimum=1", "sldPicNum.maximum=800", "sldPicNum.tickInterval=50",
                        "sldPicNum.value=1", "lblPicNum.text=1", "txtPicNum.text="}),
             QString());
    QVERIFY(Shown(app) == NotFound() && app.Find("imgPicture")->size() == QSize(193, 193));
    app.Click("cmdNext");  // untouched new design
    QVERIFY(record.PicNum() == "1" && app.PageName() == "frmCompTech");
    const struct {
      const char* stored;
      bool formula;
      QStringList shows;
    } reopened[] = {{"1", false, {"sldPicNum.value=1", "txtPicNum.text="}},
                    {"42", false, {"sldPicNum.value=42", "lblPicNum.text=42", "txtPicNum.text="}},
                    {"12.5", false, {"sldPicNum.value=12"}},  // rounded, halves to even
                    {"{&complevel * 2}", true, {"txtPicNum.text={&complevel * 2}"}},
                    {"0", true, {"txtPicNum.text=0"}}};  // below the slider: kept as typed text
    for (const auto& row : reopened) {
      record.SetPicNum(row.stored);
      QVERIFY2(app.Show<frmCompPicture>()->UsingFormula() == row.formula && app.Props(row.shows).isEmpty(), row.stored);
      app.Click("cmdNext");
      QCOMPARE(record.PicNum(), std::string(row.stored));
    }

    app.Show<frmCompPicture>();
    app.Type("txtPicNum", "{&complevel}");
    SlideTo(app, 50);  // typed, then slid: the slider's number
    app.Click("cmdBack");
    QVERIFY(record.PicNum() == "50" && app.PageName() == "frmCompVehicleType");
    app.Show<frmCompPicture>();
    SlideTo(app, 60);
    app.Type("txtPicNum", "{&complevel * 2}");  // slid, then typed: the text
    app.Click("cmdNext");
    QCOMPARE(record.PicNum(), std::string("{&complevel * 2}"));
    app.Show<frmCompPicture>();
    app.Type("txtPicNum", "");  // cleared box: an empty picture number
    app.Click("cmdNext");
    QCOMPARE(record.PicNum(), std::string());

    // 1234 lies past the usual 800: the slider widens and keeps it.
    app.hq().SetSEIVDir(seiv_.toStdString());
    record.SetPicNum("1234");
    app.Show<frmCompPicture>();
    QCOMPARE(app.Props({"sldPicNum.maximum=1234", "sldPicNum.value=1234"}), QString());
    QCOMPARE(Shown(app), Filled(Qt::magenta));
    SlideTo(app, 7);
    app.Click("cmdNext");
    QCOMPARE(record.PicNum(), std::string("7"));

    // Typing runs no other event meanwhile: a mnemonic's delayed click on Next,
    // already due, comes after the key and not under the box being typed into.
    app.Show<frmCompPicture>()->NextButton()->animateClick();
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    QTest::keyClick(app.Find<QLineEdit>("txtPicNum"), Qt::Key_5);
    QCOMPARE(app.PageName(), QString("frmCompPicture"));
  }

  void weaponTypeRuleAndTargets() {
    TestApp app;
    auto* page = app.Show<frmCompWeaponInfo>();
    QCOMPARE(page->cboWeapType()->currentText(), QString("None"));
    QVERIFY(AllEnabled(app, false) && app.Find("cmdPlay")->isEnabled());
    for (const char* type : {"Direct Fire", "None"}) {
      page->cboWeapType()->setCurrentText(type);
      QVERIFY2(AllEnabled(app, type != QString("None")), type);
    }
    app.Click("cmdNext");
    QVERIFY(app.PageName() == "frmCompGenerate" && app.hq().Component().WeaponDisplayNum() == "0");

    app.hq().Component().SetWeaponType("Warhead");
    page = app.Show<frmCompWeaponInfo>();
    QVERIFY(AllEnabled(app, true));
    QTest::mouseClick(page->chkWeapTarg(5), Qt::LeftButton, {}, QPoint(8, 8));
    QTest::mouseClick(page->chkWeapTarg(0), Qt::LeftButton, {}, QPoint(8, 8));
    app.Click("cmdNext");
    QCOMPARE(app.PageName() + "|" + QString::fromStdString(app.hq().Component().WeaponTarget()),
             "frmCompWeaponInfo2|Ships, Drones");
    app.Show<frmCompWeaponInfo>();
    QCOMPARE(app.Checks("chkWeapTarg(%1)", 6), QStringLiteral("100001"));
    // Targets compare with their letter case; values not offered are kept.
    app.hq().Component().SetWeaponTarget("ships, Planets");
    app.hq().Component().SetWeaponType("Beam Lance"), app.hq().Component().SetWeaponDisplayType("Torpedo");
    app.Show<frmCompWeaponInfo>();
    QCOMPARE(app.Checks("chkWeapTarg(%1)", 6), QStringLiteral("010000"));
    app.Click("cmdNext");
    QCOMPARE(app.hq().Component().WeaponType() + "|" + app.hq().Component().WeaponDisplayType(), "Beam Lance|Torpedo");

    // The number box and the slider decide the display number.
    app.hq().Component().SetWeaponType("Direct Fire");
    page = app.Show<frmCompWeaponInfo>();
    app.Type("txtDispNum", "12");
    QVERIFY(page->sldDispNum()->value() == 12 && page->frmDispNum()->title() == "Display Number - 12");
    app.Type("txtDispNum", "{&complevel+4}");
    QVERIFY(page->UsingFormula() && ShowsTheSign(page) &&
            page->frmDispNum()->title() == "Display Number - (using formula)");
    app.Click("cmdNext");
    QCOMPARE(app.hq().Component().WeaponDisplayNum(), std::string("{&complevel+4}"));

    // The formula reopens in the box; moving the slider makes it the choice.
    page = app.Show<frmCompWeaponInfo>();
    QVERIFY(page->txtDispNum()->text() == "{&complevel+4}" && page->UsingFormula());
    page->sldDispNum()->setValue(30);
    QVERIFY(!page->UsingFormula() && page->frmDispNum()->title() == "Display Number - 30");
    app.Click("cmdNext");
    QCOMPARE(app.hq().Component().WeaponDisplayNum(), std::string("30"));

    // A cleared box is a formula; halves round to even; a slider widens.
    page = app.Show<frmCompWeaponInfo>();
    QCOMPARE(page->sldDispNum()->value(), 30);
    app.Type("txtDispNum", "2.5");
    QCOMPARE(page->sldDispNum()->value(), 2);
    app.Type("txtDispNum", "");
    QVERIFY(page->UsingFormula() && app.Click("cmdNext"));
    QCOMPARE(app.hq().Component().WeaponDisplayNum(), std::string());
    app.hq().Component().SetWeaponDisplayNum("750");
    page = app.Show<frmCompWeaponInfo>();
    QCOMPARE(page->sldDispNum()->value(), 750);
    app.Type("txtDispNum", "-3");
    app.Click("cmdNext");
    QCOMPARE(app.hq().Component().WeaponDisplayNum(), std::string("-3"));
  }

  void displayCellComesFromTheStrip() {
    TestApp app;
    QTemporaryDir game;
    QTemporaryDir mod;
    WriteStrip(game.filePath("pictures/COMBAT/beams.BMP"), 65);  // 1300 high, caseless names
    app.hq().SetSEIVDir(game.path().toStdString());
    app.hq().Component().SetWeaponType("Direct Fire");
    auto* page = app.Show<frmCompWeaponInfo>();
    QCOMPARE(page->imgPicture()->size(), QSize(400, 2600));
    QVERIFY(page->sldDispNum()->maximum() == 675 && page->sldDispNum()->tickInterval() == 7);  // 1300 / 2 + 25
    for (int n : {0, 9, 10, 16, 649}) {
      page->sldDispNum()->setValue(n);
      QCOMPARE(page->imgPicture()->pos(), QPoint(-40 * (n % 10), -40 * (n / 10)));
      QVERIFY2(ShowsCell(page, n), qPrintable(QString::number(n)));
    }
    page->sldDispNum()->setValue(650);  // beyond the strip, another strip, no Torps.bmp: the sign
    for (const char* type : {"Beam", "Seeker", "Torp"}) {
      if (QString(type) != "Beam") page->cboDispType()->setCurrentText(type);
      QVERIFY2(ShowsTheSign(page), type);
    }

    // The mod directory wins; a strip of another width keeps its proportions.
    WriteStrip(mod.filePath("Pictures/Combat/Beams.bmp"), 10, 100);
    app.hq().SetModDir(mod.path().toStdString());
    page = app.Show<frmCompWeaponInfo>();
    QVERIFY(page->imgPicture()->size() == QSize(400, 400) && page->sldDispNum()->maximum() == 500);
    page->sldDispNum()->setValue(23);
    QVERIFY(ShowsCell(page, 23));
    // One that cannot be read shows the sign, without falling back.
    QVERIFY(WriteAll(mod.filePath("Pictures/Combat/Beams.bmp"), "not a bitmap"));
    QVERIFY(ShowsTheSign(app.Show<frmCompWeaponInfo>()));
  }

  void soundIsBrowsedFromTheSoundsFolderAndPlayed() {
    TestApp app;
    QTemporaryDir game;
    QTemporaryDir mod;
    const QString wave = mod.filePath("sounds/laser.wav");
    const QString zap = game.filePath("Sounds/Sub/Zap.wav");
    const QString elsewhere = game.filePath("elsewhere.wav");
    for (const QString& path : {wave, zap, elsewhere}) QVERIFY(WriteAll(path, {}));
    app.hq().Component().SetWeaponType("Direct Fire");
    app.Show<frmCompWeaponInfo>();
    app.Type("txtSoundFile", "old.wav");
    app.Click("cmdBrowseSound");  // cancelled: the box keeps its text
    QCOMPARE(app.Find<QLineEdit>("txtSoundFile")->text(), QString("old.wav"));
    const RecordedFileRequest& first = app.services.FileRequests().back();
    QCOMPARE(first.startDir, QString::fromStdString(app.hq().ProgramDir().string()));
    QCOMPARE(first.title + "|" + first.filter, QString("Select weapon sound file:|Wave files (*.wav)"));
    app.hq().SetSEIVDir(game.path().toStdString());
    app.Click("cmdBrowseSound");
    QCOMPARE(app.services.FileRequests().back().startDir, game.filePath("Sounds"));

    app.hq().SetModDir(mod.path().toStdString());
    // Chosen in a Sounds folder (any case): the name the game looks up.
    const std::pair<QString, QString> choices[] = {{elsewhere, elsewhere}, {zap, "Sub\\Zap.wav"}, {wave, "laser.wav"}};
    for (const auto& [chosen, stored] : choices) {
      app.services.QueueFile(chosen);
      app.Click("cmdBrowseSound");
      QCOMPARE(app.Find<QLineEdit>("txtSoundFile")->text(), stored);
    }
    QCOMPARE(AsFound({app.services.FileRequests().back().startDir}), AsFound({mod.filePath("sounds")}));

    bool disabledWhilePlaying = false;
    app.services.onSound = [&](const QString&) { disabledWhilePlaying = !app.Find("cmdPlay")->isEnabled(); };
    app.services.SetSoundResult(false);  // no audio device: Play still comes back, with a sign
    app.Click("cmdPlay");
    QCOMPARE(AsFound(app.services.PlayedSounds()), AsFound({wave}));
    QVERIFY(disabledWhilePlaying && app.Find("cmdPlay")->isEnabled() && app.Find("cmdPlay")->hasFocus());
    QCOMPARE(app.Find<QLabel>("lblPlayStatus")->text(), QString("No audio output or unreadable file"));
    app.services.SetSoundResult(true);
    // Found mod directory first; what cannot be found says so.
    const struct {
      QString text, played, sign;
    } plays[] = {{"LASER.WAV", wave, ""},
                 {"sub/zap.wav", zap, ""},
                 {elsewhere, elsewhere, ""},
                 {"missing.wav", "", "Not in the Sounds folders"},
                 {mod.filePath("sounds/missing.wav"), "", "File not found"}};
    for (const auto& play : plays) {
      app.services.ClearRecords();
      app.Type("txtSoundFile", play.text);
      QCOMPARE(app.Find<QLabel>("lblPlayStatus")->text(), QString());
      app.Click("cmdPlay");
      QCOMPARE(AsFound(app.services.PlayedSounds()), AsFound(play.played.isEmpty() ? QStringList{} : QStringList{play.played}));
      QCOMPARE(app.Find<QLabel>("lblPlayStatus")->text(), play.sign);
    }
    QVERIFY(app.services.Messages().empty());
    // A stored full path stays one until picked again, even in a Sounds folder.
    app.hq().Component().SetWeaponSound(zap.toStdString());
    app.Show<frmCompWeaponInfo>();
    QCOMPARE(app.Find<QLineEdit>("txtSoundFile")->text(), zap);
    app.Click("cmdBack");
    QCOMPARE(app.hq().Component().WeaponSound(), zap.toStdString());
  }

  void continuationChecksAllFieldsAtOnce() {
    TestApp app;
    app.hq().Component().SetWeaponType("Direct Fire");
    app.Show<frmCompWeaponInfo2>();
    QCOMPARE(app.Find<QComboBox>("cboDmgType")->count(), 32);
    QCOMPARE(app.Props({"cboDmgType.currentText=", "txtSeekerSpeed.enabled=false", "txtSeekerHP.enabled=false"}),
             QString());
    app.Find<QComboBox>("cboDmgType")->setEditText("Eats Hulls");
    app.Type("txtReload", "1");
    app.Click("cmdNext");
    QCOMPARE(app.services.MessageTexts(), QStringList{"You must enter all information."});
    QCOMPARE(app.PageName(), QString("frmCompWeaponInfo2"));
    app.Type("txtToHit", " ");  // spaces are not empty
    app.Click("cmdNext");
    QVERIFY(app.PageName() == "frmCompWeaponDamage" && app.hq().Component().WeaponDamageType() == "Eats Hulls");

    // A seeking weapon needs the seeker fields too; Back leaves unchecked.
    app.hq().Component().SetWeaponType("Seeking");
    app.Show<frmCompWeaponInfo2>();
    QVERIFY(app.Find("txtSeekerSpeed")->isEnabled());
    app.Type("txtSeekerSpeed", "{&complevel*2}");
    app.Click("cmdNext");
    QCOMPARE(app.services.Messages().size(), 2u);
    app.Click("cmdBack");
    QVERIFY(app.PageName() == "frmCompWeaponInfo" && app.hq().Component().WeaponSeekerSpeed() == "{&complevel*2}");
    QCOMPARE(app.services.Messages().size(), 2u);
  }

  void damageRangesStepWithTheArrows() {
    TestApp app;
    app.hq().Component().SetWeaponType("Direct Fire");
    app.hq().Component().SetWeaponDamageAtRange(21, "1");
    auto* page = app.Show<frmCompWeaponDamage>();
    auto* label = app.Find<QLabel>("lblDmgAtRange");
    auto* box = app.Find<QLineEdit>("txtRange");
    QCOMPARE(label->text(), QString("Damage at Range 1"));
    app.Type("txtRange", "10");
    QTest::mouseClick(page->updnRangeNum()->upButton(), Qt::LeftButton);
    QCOMPARE(label->text(), QString("Damage at Range 2"));
    QTest::keyClicks(box, "8");
    QTest::mouseClick(page->updnRangeNum()->downButton(), Qt::LeftButton);
    QVERIFY(label->text() == "Damage at Range 1" && box->selectedText() == "10");
    QCOMPARE(app.hq().Component().WeaponDamageAtRange(2), std::string("8"));
    // The arrow keys in the box step too; the ends do not wrap.
    for (int i = 0; i < 25; ++i) QTest::keyClick(box, Qt::Key_Up);
    QVERIFY(page->CurRange() == 21 && box->text() == "1");
    for (int i = 0; i < 16; ++i) QTest::keyClick(box, Qt::Key_Down);
    QTest::keyClicks(box, "{&complevel*5}");
    app.Click("cmdNext");  // stores range 5 without another step
    QCOMPARE(app.hq().Component().WeaponDamageAtRange(5), std::string("{&complevel*5}"));
    // Every visit starts at range 1; neither the page's first focus, nor a
    // click, nor Tab into the box selects anything.
    page = app.Show<frmCompWeaponDamage>();
    box = app.Find<QLineEdit>("txtRange");
    QVERIFY(box->text() == "10" && box->hasFocus() && box->selectedText().isEmpty());
    box->clearFocus();
    box->setFocus(Qt::MouseFocusReason);
    app.Settle();
    QCOMPARE(box->selectedText(), QString());
    // Tab reaches the arrows, which show their focus and step by key; the
    // change of range selects the box's text for typing.
    UpDownArrows* arrows = page->updnRangeNum();
    const QImage unfocused = arrows->grab().toImage();
    app.Key(Qt::Key_Tab);
    QVERIFY(arrows->hasFocus() && arrows->grab().toImage() != unfocused);
    app.Key(Qt::Key_Up);
    QVERIFY(page->CurRange() == 2 && box->hasFocus() && box->selectedText() == "8");
  }

  // The completion list of the damage box leaves Up and Down to the ranges
  // unless Ctrl+Space opened it; a name typed in full closes it.
  void damageCompletionLeavesTheArrowsToTheRanges() {
    TestApp app;
    app.hq().Component().SetWeaponType("Direct Fire");
    auto* page = app.Show<frmCompWeaponDamage>();
    auto* box = app.Find<QLineEdit>("txtRange");
    QAbstractItemView* popup = box->findChild<QCompleter*>()->popup();
    QTest::keyClicks(box, "&weapdmg1");  // &weapdmg10 ... begin with it too
    QVERIFY(!popup->isVisible());
    QTest::keyClick(box, Qt::Key_Up);
    QTest::keyClicks(box, "&weapdm");
    QTRY_VERIFY(popup->isVisible());
    QTest::keyClick(box, Qt::Key_Up);
    QVERIFY(page->CurRange() == 3 && !popup->isVisible() && box->text().isEmpty());
    QTest::keyClick(box, Qt::Key_Space, Qt::ControlModifier);
    QTRY_VERIFY(popup->isVisible());
    QTest::keyClick(box, Qt::Key_Down);  // walks the list asked for
    QVERIFY(page->CurRange() == 3 && popup->isVisible() && popup->currentIndex().row() == 1);
    QTest::keyClick(box, Qt::Key_Escape);
    QTest::keyClick(box, Qt::Key_Down);
    QCOMPARE(page->CurRange(), std::int16_t{2});
    QVERIFY(app.hq().Component().WeaponDamageAtRange(1) == "&weapdmg1" &&
            app.hq().Component().WeaponDamageAtRange(2) == "&weapdm" && app.PageName() == "frmCompWeaponDamage");
  }

  void generateGoesBackByWeaponType() {
    TestApp app;
    for (auto [type, back] : {std::pair{"None", "frmCompWeaponInfo"}, {"Point-Defense", "frmCompWeaponDamage"}}) {
      app.hq().Component().SetWeaponType(type);
      app.Show<frmCompGenerate>();
      app.Click("cmdBack");
      QCOMPARE(app.PageName(), QString(back));
    }
    app.Click("cmdBack");  // and on across the weapon pages
    QCOMPARE(app.PageName(), QStringLiteral("frmCompWeaponInfo2"));
  }
};

QTEST_MAIN(PicturePagesTest)
#include "tst_picture_pages.moc"
