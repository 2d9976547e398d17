// The generate pages and the results window: progress while generating, the
// engine's messages in their order, the results text, coming back from the
// results, and closing the window while a generation runs.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTest>

#include "generate/CompGenerate.h"
#include "generate/FacGenerate.h"
#include "generate_ui/ResultsTextView.h"
#include "generate_ui/frmCompGenerate.h"
#include "generate_ui/frmDisplayResults.h"
#include "generate_ui/frmFacGenerate.h"
#include "support/DesignWalk.h"
#include "support/TestApp.h"
#include "wizard/frmCompWeaponInfo.h"

using namespace vorlane;
using namespace vorlane::test;

namespace {

// The Overview's example as a user types it: Laser in three levels, no weapon.
DesignWalk LaserWalk() {
  DesignWalk d;
  d.name = "Laser";
  d.desc = "A basic beam weapon for &compname's first steps.";
  d.levels = "3";
  d.numberStyle = "&complevel";
  d.romanStyle = "&complevel";
  d.family = "100";
  d.group = "Weapons";
  d.picture = 12;
  d.techs = {{"Lasers", "&complevel", "", ""}};
  d.minCost = "{&complevel*10}";
  d.orgCost = "0";
  d.radCost = "{&complevel*5}";
  d.size = "10";
  d.hp = "{&size*2}";
  d.supply = "0";
  d.abilities = {{"Armor", "Absorbs &abil1val1 damage.", "{&complevel*10}", "0"}};
  return d;
}

// The record that walk must leave behind.
vrlComponent LaserRecord() {
  vrlComponent c;
  c.SetCompName("Laser");
  c.SetCompDesc("A basic beam weapon for &compname's first steps.");
  c.SetNumCompLevels("3");
  c.SetNumberStyle("&complevel");
  c.SetRomanStyle("&complevel");
  c.SetFamily("100");
  c.SetGeneralGroup("Weapons");
  c.SetCustomGroup("0");
  c.SetRestrictions("None");
  c.SetVehicleType("Ship");
  c.SetPicNum("12");
  c.SetTechReqArea(1, "Lasers");
  c.SetTechReqLevel(1, "&complevel");
  c.SetMinCost("{&complevel*10}");
  c.SetOrgCost("0");
  c.SetRadCost("{&complevel*5}");
  c.SetSize("10");
  c.SetHP("{&size*2}");
  c.SetSupplyUse("0");
  c.SetAbilName(1, "Armor");
  c.SetAbilDesc(1, "Absorbs &abil1val1 damage.");
  c.SetAbilVal1(1, "{&complevel*10}");
  c.SetAbilVal2(1, "0");
  c.SetWeaponDisplayNum("0");
  return c;
}

void MakeLaser(vrlComponent& c) { c = LaserRecord(); }

QString Line(const QString& key, const QString& value) { return key.leftJustified(42) + ":= " + value; }

// What the engine itself makes of a record, with the view's LF line ends.
template <class Module, class Record>
QString EngineText(const Record& record) {
  struct Quiet : MessageSink {
    MessageAnswer Show(const std::string&, const std::string&, MessageButtons) override { return MessageAnswer::Ok; }
  } sink;
  Module module;
  QString text = QString::fromStdString(module.Generate(record, sink).text);
  return text.replace("\r\n", "\n");
}

struct Watch {
  QStringList labels;
  int lastMaximum = -1;
  bool buttonsDisabled = true;
  bool barShown = true;
};

// Records what the page shows after every progress report.
void WatchProgress(GeneratePage* page, Watch& watch) {
  QObject::connect(page, &GeneratePage::Progressed, page, [page, &watch](int, int maximum, const QString& text) {
    watch.labels << text;
    watch.lastMaximum = maximum;
    for (const char* name : {"cmdNext", "cmdBack", "cmdCancel"})
      watch.buttonsDisabled = watch.buttonsDisabled && !page->findChild<QWidget*>(name)->isEnabled();
    watch.barShown = watch.barShown && page->pbarProgress()->isVisible() && page->lblGenerating()->isVisible() &&
                     page->lblGenerating()->text() == text;
  });
}

template <class Page>
Page* Open(TestApp& app) {
  app.host()->ShowPage(new Page(app.hq()));
  app.Settle();
  return app.PageAs<Page>();
}

frmDisplayResults* Results(TestApp& app) { return app.PageAs<frmDisplayResults>(); }

void VerifyIdle(TestApp& app) {
  auto* page = qobject_cast<GeneratePage*>(app.page());
  QVERIFY(page);
  for (const char* name : {"cmdNext", "cmdBack", "cmdCancel"}) QVERIFY2(app.Find(name)->isEnabled(), name);
  QVERIFY(!page->pbarProgress()->isVisible());
  QVERIFY(!page->lblGenerating()->isVisible());
}

}  // namespace

class GenerateTest : public QObject {
  Q_OBJECT

 private slots:
  void laserExampleToItsResults() {
    TestApp app;
    QVERIFY(LaserWalk().WalkComponent(app));
    QCOMPARE(app.services.UnexpectedQuestions(), 0);
    app.Click("cmdNext");
    QCOMPARE(app.PageName(), QString("frmCompGenerate"));
    QCOMPARE(app.host()->windowTitle(), QString("Vorlane v2.0 - Component Design - Generate Component"));
    QCOMPARE(app.Find<QLabel>("lblCompGenerate")->text(),
             QString("You're done! Now you can either go back to double-check your entries or click Next to "
                     "generate the component."));
    VerifyIdle(app);
    Watch watch;
    WatchProgress(app.PageAs<GeneratePage>(), watch);
    app.Click("cmdNext");

    QCOMPARE(watch.labels, (QStringList{"33% generated", "67% generated", "100% generated"}));
    QVERIFY(watch.buttonsDisabled);
    QVERIFY(watch.barShown);
    QCOMPARE(app.PageName(), QString("frmDisplayResults"));
    QCOMPARE(app.host()->windowTitle(), QString("Component Generation Results - [Laser]"));
    QCOMPARE(Results(app)->ResultKind, QString("Component"));
    const QString text = Results(app)->rtfResults()->text();
    QVERIFY(text.contains(Line("Name", "Laser 2") + "\n"));
    QVERIFY(text.contains(Line("Cost Minerals", "20") + "\n"));
    QVERIFY(text.contains(Line("Tech Level Req 1", "3") + "\n"));
    QVERIFY(text.contains(Line("Weapon Type", "None") + "\n\n\n"));
    QVERIFY(text.contains(Line("Tonnage Structure", "20") + "\n"));
    QVERIFY(text.contains(Line("Description", "A basic beam weapon for Laser's first steps.") + "\n"));
    QVERIFY(text.contains(Line("Ability 1 Descr", "Absorbs 30 damage.") + "\n"));
    QCOMPARE(text.count(Line("Name", "Laser")), 3);
    QVERIFY(app.hq().Component() == LaserRecord());
    QCOMPARE(text, EngineText<CompGenerate>(LaserRecord()));

    // Closing the results brings the generate page back, ready again.
    app.CloseBox();
    QCOMPARE(app.PageName(), QString("frmCompGenerate"));
    VerifyIdle(app);
    app.Click("cmdNext");
    QCOMPARE(app.PageName(), QString("frmDisplayResults"));
    QCOMPARE(Results(app)->rtfResults()->text(), text);
  }

  void seekingWeaponEntries() {
    TestApp app;
    DesignWalk walk = LaserWalk();
    walk.name = "Swarm Missile";
    QVERIFY(walk.WalkComponent(app));
    auto* info = app.PageAs<frmCompWeaponInfo>();
    info->cboWeapType()->setCurrentText("Seeking");
    QTest::mouseClick(info->chkWeapTarg(0), Qt::LeftButton, {}, QPoint(8, 8));
    QTest::mouseClick(info->chkWeapTarg(1), Qt::LeftButton, {}, QPoint(8, 8));
    info->cboDispType()->setCurrentText("Seeker");
    app.Type("txtDispNum", "3");
    app.Type("txtWeapFam", "12");
    app.Type("txtSoundFile", "missile.wav");
    app.Click("cmdNext");
    QCOMPARE(app.PageName(), QString("frmCompWeaponInfo2"));
    app.Find<QComboBox>("cboDmgType")->setCurrentText("Normal");
    app.Type("txtReload", "{4-&complevel}");
    app.Type("txtToHit", "0");
    app.Type("txtSeekerSpeed", "{&complevel+5}");
    app.Type("txtSeekerHP", "&weapreload");
    app.Click("cmdNext");
    QCOMPARE(app.PageName(), QString("frmCompWeaponDamage"));
    app.Type("txtRange", "{&complevel*10}");
    app.Key(Qt::Key_Up);
    QTest::keyClicks(app.Find<QLineEdit>("txtRange"), "&weapdmg1");
    app.Click("cmdNext");
    QCOMPARE(app.PageName(), QString("frmCompGenerate"));
    // Back across the weapon pages and Next again keeps every value.
    const vrlComponent typed = app.hq().Component();
    for (const char* expected : {"frmCompWeaponDamage", "frmCompWeaponInfo2", "frmCompWeaponInfo"}) {
      app.Click("cmdBack");
      QCOMPARE(app.PageName(), QString(expected));
    }
    for (int i = 0; i < 3; ++i) app.Click("cmdNext");
    QCOMPARE(app.PageName(), QString("frmCompGenerate"));
    QVERIFY(app.hq().Component() == typed);
    app.Click("cmdNext");
    QCOMPARE(app.host()->windowTitle(), QString("Component Generation Results - [Swarm Missile]"));
    const QString text = Results(app)->rtfResults()->text();
    // Level 3 of what was typed on the three weapon pages.
    QVERIFY(text.contains(Line("Weapon List Target Override", "Ships, Planets") + "\n"));
    QVERIFY(text.contains(Line("Weapon Damage At Rng", "30 30 " + QString("0 ").repeated(19)) + "\n"));
    QVERIFY(text.contains(Line("Weapon Reload Rate", "1") + "\n"));
    QVERIFY(text.contains(Line("Weapon Display Type", "Seeker") + "\n" + Line("Weapon Display", "3") + "\n"));
    QVERIFY(text.contains(Line("Weapon Sound", "missile.wav") + "\n" + Line("Weapon Family", "12") + "\n"));
    QVERIFY(text.contains(Line("Weapon Seeker Speed", "8") + "\n" + Line("Weapon Seeker Dmg Res", "1") + "\n\n\n"));
    QCOMPARE(text, EngineText<CompGenerate>(app.hq().Component()));
  }

  void gridComponentInOdometerOrder() {
    TestApp app;
    DesignWalk walk = LaserWalk();
    walk.name = "Shield";
    walk.grid = true;
    walk.techs = {{"Shields", "&techgridlevel1", "2", "-&techgridlevel1"},
                  {"Armor", "&techgridlevel2", "3", ".&techgridlevel2"}};
    QVERIFY(walk.WalkComponent(app));
    QCOMPARE(app.services.UnexpectedQuestions(), 0);
    app.Click("cmdNext");
    auto* page = app.PageAs<frmCompGenerate>();
    QVERIFY(page);
    Watch watch;
    WatchProgress(page, watch);
    app.Click("cmdNext");
    QCOMPARE(watch.labels.last(), QString("100% generated"));
    QCOMPARE(watch.lastMaximum, 6);
    QVERIFY(watch.buttonsDisabled);
    const QString text = Results(app)->rtfResults()->text();
    QStringList names;
    QStringList numerals;
    QStringList levels;
    for (const QString& line : text.split('\n')) {
      if (line.startsWith("Name ")) names << line.mid(45);
      if (line.startsWith("Roman Numeral ")) numerals << line.mid(45);
      if (line.startsWith("Tech Level Req 2 ")) levels << line.mid(45);
    }
    QCOMPARE(names, (QStringList{"Shield -1.1", "Shield -1.2", "Shield -1.3", "Shield -2.1", "Shield -2.2",
                                 "Shield -2.3"}));
    QCOMPARE(numerals, (QStringList{"1", "2", "3", "2", "3", "4"}));
    QCOMPARE(levels, (QStringList{"1", "2", "3", "1", "2", "3"}));
    QCOMPARE(text, EngineText<CompGenerate>(app.hq().Component()));
  }


  void facilityToItsResultsAndBack() {
    TestApp app;
    DesignWalk walk;
    walk.name = "Mine";
    walk.levels = "2";
    walk.numberStyle = "&faclevel";
    walk.romanStyle = "&faclevel";
    walk.family = "7";
    walk.minCost = "{&faclevel*100}";
    walk.techs = {{"Mining", "&faclevel", "", ""}};
    walk.abilities = {{"Mineral Generation", "", "{&faclevel*5}", ""}};
    QVERIFY(walk.WalkFacility(app));
    QCOMPARE(app.services.UnexpectedQuestions(), 0);
    const vrlFacility& f = app.hq().Facility();
    QCOMPARE(app.host()->windowTitle(), QString("Vorlane v2.0 - Facility Design - Generate Facility"));
    QCOMPARE(app.Find<QLabel>("lblFacGenerate")->text(),
             QString("You're done! Now you can either go back to double-check your entries or click Next to "
                     "generate the facility."));
    QCOMPARE(app.PageAs<GeneratePage>()->lblGenerating()->text(), QString("Generating facility"));
    Watch watch;
    WatchProgress(app.PageAs<GeneratePage>(), watch);
    app.Click("cmdNext");
    QCOMPARE(watch.labels, (QStringList{"50% generated", "100% generated"}));
    QCOMPARE(app.host()->windowTitle(), QString("Facility Generation Results - [Mine]"));
    QCOMPARE(Results(app)->ResultKind, QString("Facility"));
    const QString text = Results(app)->rtfResults()->text();
    QVERIFY(text.contains(Line("Name", "Mine 2") + "\n"));
    QVERIFY(text.contains(Line("Cost Minerals", "200") + "\n"));
    QVERIFY(text.contains(Line("Ability 1 Val 1", "10") + "\n"));
    QVERIFY(!text.contains("Weapon"));
    QCOMPARE(text, EngineText<FacGenerate>(f));
    app.CloseBox();
    QCOMPARE(app.PageName(), QString("frmFacGenerate"));
    VerifyIdle(app);
  }

  void formulaErrorShowsItsChainAndNoResults() {
    TestApp app;
    DesignWalk walk = LaserWalk();
    walk.minCost = "{&complevel*}";
    QVERIFY(walk.WalkComponent(app));
    app.Click("cmdNext");
    QCOMPARE(app.PageName(), QString("frmCompGenerate"));
    vrlComponent& c = app.hq().Component();
    bool disabledDuringMessages = true;
    app.services.onMessage = [&](const RecordedMessage&) {
      for (const char* name : {"cmdNext", "cmdBack", "cmdCancel"})
        disabledDuringMessages = disabledDuringMessages && !app.Find(name)->isEnabled();
    };
    app.Click("cmdNext");
    QCOMPARE(app.services.MessageTexts(),
             (QStringList{"Error parsing string for evaluation:\n{1*}", "Error parsing string: \n{1*}",
                          "Error during parsing.", "Component not generated."}));
    for (const RecordedMessage& m : app.services.Messages()) {
      QCOMPARE(m.title, QString("Error"));
      QCOMPARE(m.buttons, MessageButtons::Ok);
    }
    QVERIFY(disabledDuringMessages);
    QCOMPARE(app.PageName(), QString("frmCompGenerate"));
    VerifyIdle(app);
    // Mended, the same page generates.
    c.SetMinCost("{&complevel*10}");
    app.services.ClearRecords();
    app.Click("cmdNext");
    QCOMPARE(app.PageName(), QString("frmDisplayResults"));
    QCOMPARE(app.services.Messages().size(), 0u);
  }

  void closingWhileGeneratingCancels() {
    TestApp app;
    vrlComponent& c = app.hq().Component();
    MakeLaser(c);
    c.SetNumCompLevels("999");
    auto* page = Open<frmCompGenerate>(app);
    Watch watch;
    WatchProgress(page, watch);
    QObject::connect(page, &GeneratePage::Progressed, page, [&](int position) {
      if (position == 5) app.host()->close();
    });
    app.Click("cmdNext");
    QCOMPARE(app.PageName(), QString("frmMain"));
    QVERIFY(watch.labels.size() <= 6);
    QCOMPARE(app.services.Messages().size(), 0u);
    QVERIFY(app.host()->isVisible());
    // Nothing is left running: a new generation starts afresh.
    Open<frmCompGenerate>(app);
    c.SetNumCompLevels("2");
    app.Click("cmdNext");
    QCOMPARE(app.PageName(), QString("frmDisplayResults"));
    QCOMPARE(Results(app)->rtfResults()->text().count(Line("Name", "Laser")), 2);
  }

};

QTEST_MAIN(GenerateTest)
#include "tst_generate.moc"
