// A design walked through the wizard without a touch saves back byte for
// byte: the examples, and designs whose values the boxes could not take by
// typing (long texts, large counts, numbers written otherwise, lists in
// another order).
#include <QDir>
#include <QFile>
#include <QTest>

#include "app/DesignFiles.h"
#include "generate/DesignFile.h"
#include "support/DesignWalk.h"
#include "support/TestApp.h"

using namespace vorlane;
using namespace vorlane::test;

namespace {

QByteArray Bytes(const std::string& text) { return QByteArray::fromStdString(text); }

vrlComponent Unusual() {
  vrlComponent c;
  c.SetCompName("N\xC3\xBC" + std::string(200, 'n'));
  c.SetCompDesc(std::string(2523, 'd'));
  c.SetNumCompLevels("5000");
  c.SetVehicleType("Base, Ship");
  c.SetRestrictions("Only One");
  c.SetGeneralGroup("Weapons");
  c.SetFamily("1");
  c.SetCustomGroup("0");
  c.SetPicNum("042");
  c.SetNumberStyle("&complevel");
  c.SetRomanStyle("&complevel");
  c.SetNumTechReqs(2);
  for (std::int16_t i = 1; i <= 2; ++i) {
    c.SetTechReqArea(i, "Area");
    c.SetTechReqLevel(i, "&complevel");
  }
  c.SetTechReqGridSize(1, "123");
  c.SetTechReqGridSize(2, "00005");
  c.SetMinCost(std::string(40000, '1'));
  c.SetHP("1");
  c.SetAbilName(1, "Armor");
  c.SetWeaponType("Seeking");
  c.SetWeaponTarget("Planets,Ships");
  c.SetWeaponDamageType("Normal");
  c.SetWeaponDisplayType("Seeker");
  c.SetWeaponDisplayNum("03");
  c.SetWeaponReload("1");
  c.SetWeaponToHitMod("0");
  c.SetWeaponSeekerSpeed("1");
  c.SetWeaponSeekerHP(std::string(33000, '2'));
  return c;
}

vrlFacility UnusualGrid() {
  vrlFacility f;
  f.SetFacName("Mine");
  f.SetFacDesc(std::string(2523, 'd'));
  f.SetNumFacLevels("20000");
  f.SetGridFac(true);
  f.SetFacGroup("Group");
  f.SetFacFamily("1");
  f.SetPicNum("1.5e1");
  f.SetTechReqArea(1, "Area");
  f.SetTechReqGridSize(1, "32767");
  f.SetAbilName(1, "Ability");
  return f;
}

}  // namespace

class UntouchedWalkTest : public QObject {
  Q_OBJECT

 private slots:
  void savesBackByteIdentical_data() {
    QTest::addColumn<QByteArray>("design");
    QTest::addColumn<QString>("lastPage");
    for (const char* example : {"seeking-torpedo", "mine-grid"}) {
      const QString path = QFINDTESTDATA(QStringLiteral("../../examples/%1.vorlane.json").arg(example));
      const QByteArray bytes = ReadAll(path);
      QTest::newRow(example) << bytes
                             << (bytes.contains("\"kind\": \"component\"") ? QStringLiteral("frmCompGenerate")
                                                                            : QStringLiteral("frmFacGenerate"));
    }
    QTest::newRow("component beyond the boxes") << Bytes(DesignToJson(Unusual())) << QStringLiteral("frmCompGenerate");
    QTest::newRow("grid facility beyond the boxes") << Bytes(DesignToJson(UnusualGrid()))
                                                    << QStringLiteral("frmFacGenerate");
  }

  void savesBackByteIdentical() {
    QFETCH(QByteArray, design);
    QFETCH(QString, lastPage);
    QVERIFY(!design.isEmpty());
    TestApp app;
    const QString path = QDir(app.Dir()).filePath("design.vorlane.json");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(design) == design.size());
    file.close();
    QVERIFY(app.hq().Designs().OpenFile(path));
    QVERIFY(WalkUntouched(app, lastPage));
    QVERIFY(app.hq().Designs().Save());
    const QByteArray saved = ReadAll(path);
    QCOMPARE(saved.size(), design.size());
    QVERIFY(saved == design);
  }
};

QTEST_MAIN(UntouchedWalkTest)
#include "tst_untouched_walk.moc"
