// The three weapon pages: the weapon-type rule, targets, the display number
// with its combat-picture preview, the sound box, the checks of the second
// page, range stepping on the damage page, and Back and Next across them.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTest>
#include <QToolButton>

#include "app/Bitmaps.h"
#include "generate_ui/frmCompGenerate.h"
#include "support/TestApp.h"
#include "wizard/UpDownArrows.h"
#include "wizard/frmCompWeaponDamage.h"
#include "wizard/frmCompWeaponInfo.h"
#include "wizard/frmCompWeaponInfo2.h"

using namespace vorlane;
using namespace vorlane::test;

namespace {

const char* const kWeaponControls[] = {"lblWeapFam", "txtWeapFam",   "lblDispType", "cboDispType", "frmDispNum",
                                       "sldDispNum", "txtDispNum",   "lblSoundFile", "txtSoundFile",
                                       "cmdBrowseSound", "frmWeapTarg"};

// The colour of cell n of a test strip: unique for every cell.
QRgb CellColour(int n) { return qRgb((n * 37) % 256, (n * 11) % 256, 255 - n); }

// A strip in the game's layout: square cells, ten per row (20 by 20 in the
// game's own 200-pixel-wide strips).
void WriteStrip(const QString& file, int rows, int width = 200) {
  const int cell = width / 10;
  QImage image(width, rows * cell, QImage::Format_RGB32);
  for (int n = 0; n < rows * 10; ++n) {
    for (int y = 0; y < cell; ++y)
      for (int x = 0; x < cell; ++x) image.setPixel((n % 10) * cell + x, (n / 10) * cell + y, CellColour(n));
  }
  QDir().mkpath(QFileInfo(file).path());
  QVERIFY(image.save(file, "BMP"));
}

frmCompWeaponInfo* OpenWeaponInfo(TestApp& app) {
  app.host()->ShowPage(new frmCompWeaponInfo(app.hq()));
  app.Settle();
  return app.PageAs<frmCompWeaponInfo>();
}

template <class Page>
Page* Open(TestApp& app) {
  app.host()->ShowPage(new Page(app.hq()));
  app.Settle();
  return app.PageAs<Page>();
}

void Choose(TestApp& app, const QString& combo, const QString& item) {
  auto* box = app.Find<QComboBox>(combo);
  QVERIFY(box);
  int index = box->findText(item);
  QVERIFY(index >= 0);
  box->setCurrentIndex(index);
  app.Settle();
}

// The colour the viewport shows at (x, y).
QRgb ShownAt(frmCompWeaponInfo* page, int x, int y) { return page->pboxDispNum()->grab().toImage().pixel(x, y); }

bool ShowsTheSign(frmCompWeaponInfo* page) {
  return page->pboxDispNum()->grab().toImage().convertToFormat(QImage::Format_RGB32) ==
         CircleSlashImage().convertToFormat(QImage::Format_RGB32);
}

}  // namespace

class WeaponPagesTest : public QObject {
  Q_OBJECT

 private slots:
  void freshDesignIsNoWeaponAndSkipsToGenerate() {
    TestApp app;
    auto* page = OpenWeaponInfo(app);
    QCOMPARE(app.host()->windowTitle(), QString("Vorlane - v2.0 - Component Design - Weapon Information"));
    QCOMPARE(page->cboWeapType()->currentText(), QString("None"));
    for (const char* name : kWeaponControls) QVERIFY2(!app.Find(name)->isEnabled(), name);
    for (int i = 0; i < 6; ++i) QVERIFY(!page->chkWeapTarg(i)->isEnabled());
    QVERIFY(app.Find("cmdPlay")->isEnabled());
    QVERIFY(page->ShowingSign());
    QVERIFY(app.Click("cmdNext"));
    QCOMPARE(app.PageName(), QString("frmCompGenerate"));
    QCOMPARE(app.hq().Component().WeaponType(), std::string("None"));
    QCOMPARE(app.hq().Component().WeaponDisplayNum(), std::string("0"));
    QCOMPARE(app.hq().Component().WeaponTarget(), std::string());
  }

  void weaponTypeRuleFollowsTheChoice() {
    TestApp app;
    auto* page = OpenWeaponInfo(app);
    Choose(app, "cboWeapType", "Direct Fire");
    for (const char* name : kWeaponControls) QVERIFY2(app.Find(name)->isEnabled(), name);
    for (int i = 0; i < 6; ++i) QVERIFY(page->chkWeapTarg(i)->isEnabled());
    Choose(app, "cboWeapType", "None");
    for (const char* name : kWeaponControls) QVERIFY2(!app.Find(name)->isEnabled(), name);
    QVERIFY(app.Find("cmdPlay")->isEnabled());
    // A stored weapon type opens enabled, and Next goes to the continuation.
    app.hq().Component().SetWeaponType("Warhead");
    OpenWeaponInfo(app);
    QCOMPARE(app.Find<QComboBox>("cboWeapType")->currentText(), QString("Warhead"));
    for (const char* name : kWeaponControls) QVERIFY2(app.Find(name)->isEnabled(), name);
    QVERIFY(app.Click("cmdNext"));
    QCOMPARE(app.PageName(), QString("frmCompWeaponInfo2"));
  }

  void unknownStoredChoicesAreKept() {
    TestApp app;
    app.hq().Component().SetWeaponType("Beam Lance");
    app.hq().Component().SetWeaponDisplayType("Torpedo");
    auto* page = OpenWeaponInfo(app);
    QCOMPARE(page->cboWeapType()->currentText(), QString("Beam Lance"));
    QVERIFY(app.Find("txtWeapFam")->isEnabled());
    QCOMPARE(page->cboDispType()->currentText(), QString("Torpedo"));
    app.Click("cmdNext");
    QCOMPARE(app.hq().Component().WeaponType(), std::string("Beam Lance"));
    QCOMPARE(app.hq().Component().WeaponDisplayType(), std::string("Torpedo"));
  }

  void targetsJoinInBoxOrderAndReadBack() {
    TestApp app;
    app.hq().Component().SetWeaponType("Direct Fire");
    auto* page = OpenWeaponInfo(app);
    QTest::mouseClick(page->chkWeapTarg(5), Qt::LeftButton);
    QTest::mouseClick(page->chkWeapTarg(0), Qt::LeftButton);
    app.Click("cmdNext");
    QCOMPARE(app.hq().Component().WeaponTarget(), std::string("Ships, Drones"));
    page = OpenWeaponInfo(app);
    for (int i = 0; i < 6; ++i) QCOMPARE(page->chkWeapTarg(i)->isChecked(), i == 0 || i == 5);
    // Names compare with their letter case.
    app.hq().Component().SetWeaponTarget("ships, Planets, Fighters");
    page = OpenWeaponInfo(app);
    for (int i = 0; i < 6; ++i) QCOMPARE(page->chkWeapTarg(i)->isChecked(), i == 1 || i == 3);
  }

  void numberBoxAndSliderDecideTheDisplayNumber() {
    TestApp app;
    app.hq().Component().SetWeaponType("Direct Fire");
    auto* page = OpenWeaponInfo(app);
    QVERIFY(app.Type("txtDispNum", "12"));
    QCOMPARE(page->sldDispNum()->value(), 12);
    QCOMPARE(page->frmDispNum()->title(), QString("Display Number - 12"));
    QVERIFY(!page->UsingFormula());
    QVERIFY(app.Type("txtDispNum", "{&complevel+4}"));
    QVERIFY(page->UsingFormula());
    QCOMPARE(page->frmDispNum()->title(), QString("Display Number - (using formula)"));
    QVERIFY(page->ShowingSign());
    app.Click("cmdNext");
    QCOMPARE(app.hq().Component().WeaponDisplayNum(), std::string("{&complevel+4}"));

    // The formula reopens in the box; moving the slider makes it the choice.
    page = OpenWeaponInfo(app);
    QCOMPARE(page->txtDispNum()->text(), QString("{&complevel+4}"));
    QVERIFY(page->UsingFormula());
    page->sldDispNum()->setValue(30);
    QVERIFY(!page->UsingFormula());
    QCOMPARE(page->txtDispNum()->text(), QString("{&complevel+4}"));
    QCOMPARE(page->frmDispNum()->title(), QString("Display Number - 30"));
    app.Click("cmdNext");
    QCOMPARE(app.hq().Component().WeaponDisplayNum(), std::string("30"));

    // A number reopens on the slider; an empty box counts as a formula.
    page = OpenWeaponInfo(app);
    QCOMPARE(page->sldDispNum()->value(), 30);
    QVERIFY(page->txtDispNum()->text().isEmpty());
    QVERIFY(app.Type("txtDispNum", "7"));
    QVERIFY(app.Type("txtDispNum", ""));
    QVERIFY(page->UsingFormula());
    app.Click("cmdNext");
    QCOMPARE(app.hq().Component().WeaponDisplayNum(), std::string());
  }

  void displayNumbersOutsideTheSliderAreNotLost() {
    TestApp app;
    app.hq().Component().SetWeaponType("Direct Fire");
    app.hq().Component().SetWeaponDisplayNum("750");
    auto* page = OpenWeaponInfo(app);
    QCOMPARE(page->sldDispNum()->value(), 750);
    QVERIFY(app.Type("txtDispNum", "2.5"));
    QCOMPARE(page->sldDispNum()->value(), 2);
    QVERIFY(app.Type("txtDispNum", "-3"));
    QVERIFY(page->UsingFormula());
    app.Click("cmdNext");
    QCOMPARE(app.hq().Component().WeaponDisplayNum(), std::string("-3"));
  }

  void displayCellComesFromTheStrip() {
    TestApp app;
    QTemporaryDir game;
    WriteStrip(game.filePath("pictures/COMBAT/beams.BMP"), 5);
    app.hq().SetSEIVDir(game.path().toStdString());
    app.hq().Component().SetWeaponType("Direct Fire");
    auto* page = OpenWeaponInfo(app);
    QVERIFY(!page->ShowingSign());
    QCOMPARE(page->imgPicture()->size(), QSize(400, 200));
    for (int n : {0, 9, 10, 16, 49}) {
      page->sldDispNum()->setValue(n);
      app.Settle();
      QCOMPARE(page->imgPicture()->pos(), QPoint(-40 * (n % 10), -40 * (n / 10)));
      for (QPoint p : {QPoint(0, 0), QPoint(20, 20), QPoint(39, 39), QPoint(0, 39), QPoint(39, 0)}) {
        QCOMPARE(ShownAt(page, p.x(), p.y()), CellColour(n));
      }
    }
    // Beyond the strip the sign shows through; a seeker never has a strip.
    page->sldDispNum()->setValue(50);
    app.Settle();
    QVERIFY(ShowsTheSign(page));
    QCOMPARE(page->frmDispNum()->title(), QString("Display Number - 50"));
    Choose(app, "cboDispType", "Seeker");
    QVERIFY(page->ShowingSign());
    QVERIFY(ShowsTheSign(page));
    QCOMPARE(page->imgPicture()->geometry(), QRect(0, 0, 40, 40));
    Choose(app, "cboDispType", "Torp");
    QVERIFY(page->ShowingSign());  // no Torps.bmp
    Choose(app, "cboDispType", "Beam");
    QVERIFY(!page->ShowingSign());
  }

  void modStripWinsAndTallStripsGrowTheSlider() {
    TestApp app;
    QTemporaryDir game;
    QTemporaryDir mod;
    WriteStrip(game.filePath("Pictures/Combat/Beams.bmp"), 65);  // 1300 high
    app.hq().SetSEIVDir(game.path().toStdString());
    app.hq().Component().SetWeaponType("Direct Fire");
    auto* page = OpenWeaponInfo(app);
    QCOMPARE(page->sldDispNum()->maximum(), 675);
    QCOMPARE(page->sldDispNum()->tickInterval(), 7);
    page->sldDispNum()->setValue(649);
    QCOMPARE(ShownAt(page, 20, 20), CellColour(649));

    // A mod strip half as wide keeps its proportions: shown 400 by 400.
    WriteStrip(mod.filePath("Pictures/Combat/Beams.bmp"), 10, 100);  // 100 by 100
    app.hq().SetModDir(mod.path().toStdString());
    page = OpenWeaponInfo(app);
    QCOMPARE(page->imgPicture()->size(), QSize(400, 400));
    QCOMPARE(page->sldDispNum()->maximum(), 500);
    page->sldDispNum()->setValue(23);
    QCOMPARE(ShownAt(page, 20, 20), CellColour(23));

    // A strip that cannot be read shows the sign, without falling back.
    QFile broken(mod.filePath("Pictures/Combat/Beams.bmp"));
    QVERIFY(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
    broken.write("not a bitmap");
    broken.close();
    page = OpenWeaponInfo(app);
    QVERIFY(page->ShowingSign());
  }

  void soundIsBrowsedFromTheSoundsFolderAndPlayed() {
    TestApp app;
    QTemporaryDir game;
    QTemporaryDir mod;
    QDir().mkpath(game.filePath("Sounds"));
    QDir().mkpath(mod.filePath("sounds"));
    app.hq().Component().SetWeaponType("Direct Fire");

    auto* page = OpenWeaponInfo(app);
    app.services.QueueFile(QString());  // cancelled: the box keeps its text
    QVERIFY(app.Type("txtSoundFile", "old.wav"));
    app.Click("cmdBrowseSound");
    QCOMPARE(app.Find<QLineEdit>("txtSoundFile")->text(), QString("old.wav"));
    QCOMPARE(app.services.FileRequests().back().startDir, app.hq().ProgramDir().string().c_str());
    QCOMPARE(app.services.FileRequests().back().title, QString("Select weapon sound file:"));
    QCOMPARE(app.services.FileRequests().back().filter, QString("Wave files (*.wav)"));

    app.hq().SetSEIVDir(game.path().toStdString());
    page = OpenWeaponInfo(app);
    app.Click("cmdBrowseSound");
    QCOMPARE(app.services.FileRequests().back().startDir, game.filePath("Sounds"));

    app.hq().SetModDir(mod.path().toStdString());
    page = OpenWeaponInfo(app);
    const QString wave = mod.filePath("sounds/laser.wav");
    QFile file(wave);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("RIFF");
    file.close();
    app.services.QueueFile(wave);
    app.Click("cmdBrowseSound");
    QCOMPARE(app.services.FileRequests().back().startDir, mod.filePath("sounds"));
    QCOMPARE(app.Find<QLineEdit>("txtSoundFile")->text(), wave);

    // Play is disabled while the sound plays and has the focus afterwards.
    bool disabledWhilePlaying = false;
    app.services.onSound = [&](const QString&) { disabledWhilePlaying = !app.Find("cmdPlay")->isEnabled(); };
    app.Click("cmdPlay");
    QCOMPARE(app.services.PlayedSounds(), QStringList{wave});
    QVERIFY(disabledWhilePlaying);
    QVERIFY(app.Find("cmdPlay")->isEnabled());
    QVERIFY(app.Find("cmdPlay")->hasFocus());
    // A sound that cannot be played still gives Play back.
    app.services.SetSoundResult(false);
    app.Click("cmdPlay");
    QVERIFY(app.Find("cmdPlay")->isEnabled());
    // No file at the path: nothing is played.
    QVERIFY(app.Type("txtSoundFile", mod.filePath("sounds/missing.wav")));
    app.Click("cmdPlay");
    QCOMPARE(app.services.PlayedSounds().size(), 2);
    app.Click("cmdNext");
    QCOMPARE(app.hq().Component().WeaponSound(), mod.filePath("sounds/missing.wav").toStdString());
    Q_UNUSED(page);
  }

  void continuationChecksAllFieldsAtOnce() {
    TestApp app;
    app.hq().Component().SetWeaponType("Direct Fire");
    Open<frmCompWeaponInfo2>(app);
    QCOMPARE(app.host()->windowTitle(), QString("Vorlane v2.0 - Component Design - Weapon Information (cont.)"));
    QCOMPARE(app.Find<QComboBox>("cboDmgType")->count(), 32);
    QCOMPARE(app.Find<QComboBox>("cboDmgType")->currentText(), QString());
    for (const char* name : {"lblSeekerSpeed", "txtSeekerSpeed", "lblSeekerHP", "txtSeekerHP"})
      QVERIFY2(!app.Find(name)->isEnabled(), name);
    app.Click("cmdNext");
    QCOMPARE(app.services.MessageTexts(), QStringList{"You must enter all information."});
    QCOMPARE(app.services.Messages().back().title, QString("Vorlane"));
    QCOMPARE(app.PageName(), QString("frmCompWeaponInfo2"));
    app.Find<QComboBox>("cboDmgType")->setEditText("Eats Hulls");
    QVERIFY(app.Type("txtReload", "1"));
    app.Click("cmdNext");
    QCOMPARE(app.services.Messages().size(), 2u);
    QVERIFY(app.Type("txtToHit", " "));  // spaces are not empty
    app.Click("cmdNext");
    QCOMPARE(app.PageName(), QString("frmCompWeaponDamage"));
    const vrlComponent& c = app.hq().Component();
    QCOMPARE(c.WeaponDamageType(), std::string("Eats Hulls"));
    QCOMPARE(c.WeaponReload(), std::string("1"));
    QCOMPARE(c.WeaponToHitMod(), std::string(" "));
  }

  void seekingWeaponNeedsSeekerFields() {
    TestApp app;
    app.hq().Component().SetWeaponType("Seeking");
    app.hq().Component().SetWeaponDamageType("Normal");
    app.hq().Component().SetWeaponReload("2");
    app.hq().Component().SetWeaponToHitMod("0");
    Open<frmCompWeaponInfo2>(app);
    QCOMPARE(app.Find<QComboBox>("cboDmgType")->currentText(), QString("Normal"));
    QVERIFY(app.Find("txtSeekerSpeed")->isEnabled());
    QVERIFY(app.Type("txtSeekerSpeed", "{&complevel*2}"));
    app.Click("cmdNext");
    QCOMPARE(app.services.MessageTexts(), QStringList{"You must enter all information."});
    // Back leaves without a check and keeps what was typed.
    app.Click("cmdBack");
    QCOMPARE(app.PageName(), QString("frmCompWeaponInfo"));
    QCOMPARE(app.hq().Component().WeaponSeekerSpeed(), std::string("{&complevel*2}"));
    QCOMPARE(app.hq().Component().WeaponSeekerHP(), std::string());
    QCOMPARE(app.services.Messages().size(), 1u);
    // "seeking" is not "Seeking": the seeker fields are off.
    app.hq().Component().SetWeaponType("seeking");
    Open<frmCompWeaponInfo2>(app);
    QVERIFY(!app.Find("txtSeekerHP")->isEnabled());
    app.Click("cmdNext");
    QCOMPARE(app.PageName(), QString("frmCompWeaponDamage"));
  }

  void damageRangesStepWithTheArrows() {
    TestApp app;
    app.hq().Component().SetWeaponType("Direct Fire");
    app.hq().Component().SetWeaponDamageAtRange(21, "1");
    auto* page = Open<frmCompWeaponDamage>(app);
    QCOMPARE(app.host()->windowTitle(), QString("Vorlane v2.0 - Component Design - Weapon Damage"));
    auto* label = app.Find<QLabel>("lblDmgAtRange");
    auto* box = app.Find<QLineEdit>("txtRange");
    QCOMPARE(label->text(), QString("Damage at Range 1"));
    QVERIFY(app.Type("txtRange", "10"));
    QTest::mouseClick(page->updnRangeNum()->upButton(), Qt::LeftButton);
    QCOMPARE(label->text(), QString("Damage at Range 2"));
    QCOMPARE(box->text(), QString());
    QTest::keyClicks(box, "8");
    QTest::mouseClick(page->updnRangeNum()->downButton(), Qt::LeftButton);
    QCOMPARE(label->text(), QString("Damage at Range 1"));
    QCOMPARE(box->text(), QString("10"));
    QCOMPARE(box->selectedText(), QString("10"));
    QCOMPARE(app.hq().Component().WeaponDamageAtRange(2), std::string("8"));
    // The arrow keys in the box step too; the ends do not wrap.
    QTest::keyClick(box, Qt::Key_Down);
    QCOMPARE(page->CurRange(), 1);
    for (int i = 0; i < 25; ++i) QTest::keyClick(box, Qt::Key_Up);
    QCOMPARE(page->CurRange(), 21);
    QCOMPARE(box->text(), QString("1"));
    for (int i = 0; i < 16; ++i) QTest::keyClick(box, Qt::Key_Down);
    QCOMPARE(page->CurRange(), 5);
    QTest::keyClicks(box, "{&complevel*5}");
    app.Click("cmdNext");
    QCOMPARE(app.PageName(), QString("frmCompGenerate"));
    QCOMPARE(app.hq().Component().WeaponDamageAtRange(5), std::string("{&complevel*5}"));
    QCOMPARE(app.hq().Component().WeaponDamageAtRange(21), std::string("1"));
    // Every visit starts at range 1; the box does not select on focus.
    Open<frmCompWeaponDamage>(app);
    QCOMPARE(app.Find<QLabel>("lblDmgAtRange")->text(), QString("Damage at Range 1"));
    box = app.Find<QLineEdit>("txtRange");
    QCOMPARE(box->text(), QString("10"));
    box->clearFocus();
    box->setFocus(Qt::MouseFocusReason);
    app.Settle();
    QCOMPARE(box->selectedText(), QString());
  }

  void backAndNextAcrossTheWeaponPagesKeepEveryValue() {
    TestApp app;
    auto* info = OpenWeaponInfo(app);
    Choose(app, "cboWeapType", "Seeking");
    app.Type("txtWeapFam", "7");
    QTest::mouseClick(info->chkWeapTarg(2), Qt::LeftButton);
    QTest::mouseClick(info->chkWeapTarg(4), Qt::LeftButton);
    Choose(app, "cboDispType", "Torp");
    app.Type("txtDispNum", "14");
    app.Type("txtSoundFile", "Missile.wav");
    app.Click("cmdNext");
    QCOMPARE(app.PageName(), QString("frmCompWeaponInfo2"));
    Choose(app, "cboDmgType", "Skips Armor");
    app.Type("txtReload", "3");
    app.Type("txtToHit", "{&complevel*5}");
    app.Type("txtSeekerSpeed", "8");
    app.Type("txtSeekerHP", "&weapreload");
    app.Click("cmdNext");
    QCOMPARE(app.PageName(), QString("frmCompWeaponDamage"));
    auto* damage = app.PageAs<frmCompWeaponDamage>();
    app.Type("txtRange", "30");
    QTest::mouseClick(damage->updnRangeNum()->upButton(), Qt::LeftButton);
    QTest::keyClicks(app.Find<QLineEdit>("txtRange"), "25");
    app.Click("cmdNext");
    QCOMPARE(app.PageName(), QString("frmCompGenerate"));
    const vrlComponent saved = app.hq().Component();

    // All the way back, then forward again without touching anything.
    for (const char* expected : {"frmCompWeaponDamage", "frmCompWeaponInfo2", "frmCompWeaponInfo"}) {
      app.Click("cmdBack");
      QCOMPARE(app.PageName(), QString(expected));
    }
    info = app.PageAs<frmCompWeaponInfo>();
    QCOMPARE(info->cboWeapType()->currentText(), QString("Seeking"));
    QCOMPARE(app.Find<QLineEdit>("txtWeapFam")->text(), QString("7"));
    QCOMPARE(info->cboDispType()->currentText(), QString("Torp"));
    QCOMPARE(info->sldDispNum()->value(), 14);
    for (int i = 0; i < 6; ++i) QCOMPARE(info->chkWeapTarg(i)->isChecked(), i == 2 || i == 4);
    for (int i = 0; i < 3; ++i) app.Click("cmdNext");
    QCOMPARE(app.PageName(), QString("frmCompGenerate"));
    QVERIFY(app.hq().Component() == saved);
    QCOMPARE(saved.WeaponTarget(), std::string("Seekers, Satellites"));
    QCOMPARE(saved.WeaponDisplayNum(), std::string("14"));
    QCOMPARE(saved.WeaponDamageType(), std::string("Skips Armor"));
    QCOMPARE(saved.WeaponSeekerHP(), std::string("&weapreload"));
    QCOMPARE(saved.WeaponDamageAtRange(1), std::string("30"));
    QCOMPARE(saved.WeaponDamageAtRange(2), std::string("25"));

    // The generate page goes back to the damage page for a weapon and to the
    // weapon information page for none.
    app.Click("cmdBack");
    QCOMPARE(app.PageName(), QString("frmCompWeaponDamage"));
    app.hq().Component().SetWeaponType("None");
    Open<frmCompGenerate>(app);
    app.Click("cmdBack");
    QCOMPARE(app.PageName(), QString("frmCompWeaponInfo"));
  }

  void backLandsOnTheLastAbility() {
    TestApp app;
    vrlComponent& c = app.hq().Component();
    c.SetNumAbils(3);
    for (std::int16_t i = 1; i <= 3; ++i) c.SetAbilName(i, "Ability " + std::to_string(i));
    OpenWeaponInfo(app);
    app.Click("cmdBack");
    QCOMPARE(app.PageName(), QString("frmCompAbility"));
    QCOMPARE(app.Find<QLabel>("lblAbilNum")->text(), QString("Component Ability 3"));
    QCOMPARE(app.Find<QLineEdit>("txtAbilType")->text(), QString("Ability 3"));
    // Without abilities the page opens at its first, empty entry.
    c.SetNumAbils(0);
    OpenWeaponInfo(app);
    app.Click("cmdBack");
    QCOMPARE(app.Find<QLabel>("lblAbilNum")->text(), QString("Component Ability 1"));
    QVERIFY(app.Find<QLineEdit>("txtAbilType")->text().isEmpty());
  }

  void cancelAndCloseBoxReturnToTheMenu() {
    TestApp app;
    app.hq().Component().SetWeaponType("Direct Fire");
    Open<frmCompWeaponDamage>(app);
    app.Type("txtRange", "99");
    app.services.QueueNo();
    app.Key(Qt::Key_Escape);
    QCOMPARE(app.PageName(), QString("frmCompWeaponDamage"));
    app.services.QueueYes();
    app.Click("cmdCancel");
    QCOMPARE(app.PageName(), QString("frmMain"));
    QCOMPARE(app.hq().Component().WeaponDamageAtRange(1), std::string());
    Open<frmCompWeaponInfo2>(app);
    app.CloseBox();
    QCOMPARE(app.PageName(), QString("frmMain"));
    QCOMPARE(app.services.UnexpectedQuestions(), 0);
  }
};

QTEST_MAIN(WeaponPagesTest)
#include "tst_weapon_pages.moc"
