// The three weapon pages: the weapon-type rule, targets, the display number
// with its combat-picture preview, the sound box, the checks of the second
// page, range stepping, and Back and Next across them.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTest>
#include <QToolButton>

#include "gui/Bitmaps.h"
#include "generate_ui/frmCompGenerate.h"
#include "support/TestApp.h"
#include "gui/UpDownArrows.h"
#include "wizard/frmCompWeaponDamage.h"
#include "wizard/frmCompWeaponInfo.h"
#include "wizard/frmCompWeaponInfo2.h"

using namespace vorlane;
using namespace vorlane::test;

namespace {

const char* const kWeaponControls[] = {"txtWeapFam",  "cboDispType",  "sldDispNum",     "txtDispNum",
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
  QDir().mkpath(QFileInfo(file).path());
  QVERIFY(image.save(file, "BMP"));
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

}  // namespace

class WeaponPagesTest : public QObject {
  Q_OBJECT

 private slots:
  void weaponTypeRuleAndTargets() {
    TestApp app;
    auto* page = app.Show<frmCompWeaponInfo>();
    QCOMPARE(page->cboWeapType()->currentText(), QString("None"));
    QVERIFY(AllEnabled(app, false) && app.Find("cmdPlay")->isEnabled());
    page->cboWeapType()->setCurrentText("Direct Fire");
    QVERIFY(AllEnabled(app, true));
    page->cboWeapType()->setCurrentText("None");
    QVERIFY(AllEnabled(app, false));
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
    page = app.Show<frmCompWeaponInfo>();
    for (int i = 0; i < 6; ++i) QCOMPARE(page->chkWeapTarg(i)->isChecked(), i == 0 || i == 5);
    // Target names compare with their letter case; values the lists do not
    // offer are kept.
    app.hq().Component().SetWeaponTarget("ships, Planets");
    app.hq().Component().SetWeaponType("Beam Lance");
    app.hq().Component().SetWeaponDisplayType("Torpedo");
    page = app.Show<frmCompWeaponInfo>();
    for (int i = 0; i < 6; ++i) QCOMPARE(page->chkWeapTarg(i)->isChecked(), i == 1);
    app.Click("cmdNext");
    QCOMPARE(app.hq().Component().WeaponType() + "|" + app.hq().Component().WeaponDisplayType(), "Beam Lance|Torpedo");
  }

  void numberBoxAndSliderDecideTheDisplayNumber() {
    TestApp app;
    app.hq().Component().SetWeaponType("Direct Fire");
    auto* page = app.Show<frmCompWeaponInfo>();
    app.Type("txtDispNum", "12");
    QVERIFY(page->sldDispNum()->value() == 12 && page->frmDispNum()->title() == "Display Number - 12");
    app.Type("txtDispNum", "{&complevel+4}");
    QVERIFY(page->UsingFormula() && ShowsTheSign(page));
    QCOMPARE(page->frmDispNum()->title(), QString("Display Number - (using formula)"));
    app.Click("cmdNext");
    QCOMPARE(app.hq().Component().WeaponDisplayNum(), std::string("{&complevel+4}"));

    // The formula reopens in the box; moving the slider makes it the choice.
    page = app.Show<frmCompWeaponInfo>();
    QVERIFY(page->txtDispNum()->text() == "{&complevel+4}" && page->UsingFormula());
    page->sldDispNum()->setValue(30);
    QVERIFY(!page->UsingFormula() && page->frmDispNum()->title() == "Display Number - 30");
    app.Click("cmdNext");
    QCOMPARE(app.hq().Component().WeaponDisplayNum(), std::string("30"));

    // Clearing the box counts as a formula; halves round to even; numbers
    // the slider cannot show are kept as typed or widen it.
    page = app.Show<frmCompWeaponInfo>();
    QCOMPARE(page->sldDispNum()->value(), 30);
    app.Type("txtDispNum", "2.5");
    QCOMPARE(page->sldDispNum()->value(), 2);
    app.Type("txtDispNum", "");
    QVERIFY(page->UsingFormula());
    app.Click("cmdNext");
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
    QFile broken(mod.filePath("Pictures/Combat/Beams.bmp"));
    QVERIFY(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
    broken.write("not a bitmap");
    broken.close();
    QVERIFY(ShowsTheSign(app.Show<frmCompWeaponInfo>()));
  }

  void soundIsBrowsedFromTheSoundsFolderAndPlayed() {
    TestApp app;
    QTemporaryDir game;
    QTemporaryDir mod;
    QDir().mkpath(game.filePath("Sounds"));
    QDir().mkpath(mod.filePath("sounds"));
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
    const QString wave = mod.filePath("sounds/laser.wav");
    const QString zap = game.filePath("Sounds/Sub/Zap.wav");
    const QString elsewhere = game.filePath("elsewhere.wav");
    for (const QString& path : {wave, zap, elsewhere}) {
      QDir().mkpath(QFileInfo(path).path());
      QFile file(path);
      QVERIFY(file.open(QIODevice::WriteOnly));
    }
    // Chosen in a Sounds folder (letter case ignored): the name the game looks
    // up; chosen elsewhere: the full path.
    const std::pair<QString, QString> choices[] = {
        {elsewhere, elsewhere}, {zap, "Sub\\Zap.wav"}, {wave, "laser.wav"}};
    for (const auto& [chosen, stored] : choices) {
      app.services.QueueFile(chosen);
      app.Click("cmdBrowseSound");
      QCOMPARE(app.Find<QLineEdit>("txtSoundFile")->text(), stored);
    }
    QCOMPARE(app.services.FileRequests().back().startDir, mod.filePath("sounds"));

    bool disabledWhilePlaying = false;
    app.services.onSound = [&](const QString&) { disabledWhilePlaying = !app.Find("cmdPlay")->isEnabled(); };
    app.services.SetSoundResult(false);  // no audio device: Play still comes back, with a sign
    app.Click("cmdPlay");
    QCOMPARE(app.services.PlayedSounds(), QStringList{wave});
    QVERIFY(disabledWhilePlaying && app.Find("cmdPlay")->isEnabled() && app.Find("cmdPlay")->hasFocus());
    QCOMPARE(app.Find<QLabel>("lblPlayStatus")->text(), QString("No audio output or unreadable file"));
    app.services.SetSoundResult(true);
    // A stored name is found mod directory first, then game directory; what
    // cannot be found says so and plays nothing.
    const struct {
      QString text, played, sign;
    } plays[] = {
        {"LASER.WAV", wave, ""},
        {"sub/zap.wav", zap, ""},
        {elsewhere, elsewhere, ""},
        {"missing.wav", "", "Not in the Sounds folders"},
        {mod.filePath("sounds/missing.wav"), "", "File not found"},
    };
    for (const auto& play : plays) {
      app.services.ClearRecords();
      app.Type("txtSoundFile", play.text);
      QCOMPARE(app.Find<QLabel>("lblPlayStatus")->text(), QString());
      app.Click("cmdPlay");
      QCOMPARE(app.services.PlayedSounds(), play.played.isEmpty() ? QStringList{} : QStringList{play.played});
      QCOMPARE(app.Find<QLabel>("lblPlayStatus")->text(), play.sign);
    }
    QVERIFY(app.services.Messages().empty());
  }

  void storedFullSoundPathsStayUntilPickedAgain() {
    TestApp app;
    const std::string stored = "/home/me/seiv/Sounds/Laser_Zap.wav";
    app.hq().SetSEIVDir("/home/me/seiv");
    app.hq().Component().SetWeaponType("Direct Fire");
    app.hq().Component().SetWeaponSound(stored);
    app.Show<frmCompWeaponInfo>();
    QCOMPARE(app.Find<QLineEdit>("txtSoundFile")->text(), QString::fromStdString(stored));
    app.Click("cmdBack");
    QCOMPARE(app.hq().Component().WeaponSound(), stored);
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

  void backLandsOnTheLastAbilityAndGenerateGoesBackByType() {
    TestApp app;
    vrlComponent& c = app.hq().Component();
    c.SetNumAbils(3);
    c.SetAbilName(3, "Third");
    app.Show<frmCompWeaponInfo>();
    app.Click("cmdBack");
    QCOMPARE(app.Props({"lblAbilNum.text=Component Ability 3", "txtAbilType.text=Third"}), QString());
    for (auto [type, back] : {std::pair{"None", "frmCompWeaponInfo"}, {"Point-Defense", "frmCompWeaponDamage"}}) {
      c.SetWeaponType(type);
      app.Show<frmCompGenerate>();
      app.Click("cmdBack");
      QCOMPARE(app.PageName(), QString(back));
    }
  }
};

QTEST_MAIN(WeaponPagesTest)
#include "tst_weapon_pages.moc"
