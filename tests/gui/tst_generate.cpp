// The generate pages and the results window: progress while generating, the
// engine's messages in their order, the results text, coming back from the
// results, and closing the window while a generation runs.
#include <QLabel>
#include <QProgressBar>
#include <QTest>

#include "generate/CompGenerate.h"
#include "generate/FacGenerate.h"
#include "generate_ui/ResultsTextView.h"
#include "generate_ui/frmCompGenerate.h"
#include "generate_ui/frmDisplayResults.h"
#include "generate_ui/frmFacGenerate.h"
#include "support/TestApp.h"
#include "wizard/frmCompWeaponInfo.h"

using namespace vorlane;
using namespace vorlane::test;

namespace {

// The Overview's example: Laser in three levels, no weapon.
void MakeLaser(vrlComponent& c) {
  c.SetCompName("Laser");
  c.SetNumCompLevels("3");
  c.SetNumberStyle("&complevel");
  c.SetVehicleType("Ship");
  c.SetPicNum("12");
  c.SetTechReqArea(1, "Lasers");
  c.SetTechReqLevel(1, "&complevel");
  c.SetMinCost("{&complevel*10}");
  c.SetAbilName(1, "Armor");
  c.SetAbilVal1(1, "{&complevel*10}");
}

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
    MakeLaser(app.hq().Component());
    Open<frmCompWeaponInfo>(app);
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
    QCOMPARE(text.count(Line("Name", "Laser")), 3);
    vrlComponent expected;
    MakeLaser(expected);
    expected.SetWeaponDisplayNum("0");
    QCOMPARE(text, EngineText<CompGenerate>(expected));
    QCOMPARE(app.services.Messages().size(), 0u);

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
    vrlComponent& c = app.hq().Component();
    MakeLaser(c);
    c.SetCompName("Swarm Missile");
    c.SetWeaponType("Seeking");
    c.SetWeaponTarget("Ships, Planets");
    c.SetWeaponDisplayType("Seeker");
    c.SetWeaponDisplayNum("3");
    c.SetWeaponDamageType("Normal");
    c.SetWeaponReload("{4-&complevel}");
    c.SetWeaponToHitMod("0");
    c.SetWeaponSeekerSpeed("{&complevel+5}");
    c.SetWeaponSeekerHP("&weapreload");
    c.SetWeaponDamageAtRange(1, "{&complevel*10}");
    Open<frmCompGenerate>(app);
    app.Click("cmdNext");
    QCOMPARE(app.host()->windowTitle(), QString("Component Generation Results - [Swarm Missile]"));
    const QString text = Results(app)->rtfResults()->text();
    QVERIFY(text.contains(Line("Weapon Type", "Seeking") + "\n"));
    QVERIFY(text.contains(Line("Weapon List Target Override", "Ships, Planets") + "\n"));
    QVERIFY(text.contains(Line("Weapon Damage At Rng", "30 " + QString("0 ").repeated(20)) + "\n"));
    QVERIFY(text.contains(Line("Weapon Seeker Speed", "8") + "\n"));
    QVERIFY(text.contains(Line("Weapon Seeker Dmg Res", "1") + "\n"));
    QCOMPARE(text, EngineText<CompGenerate>(c));
    // Back goes to the damage page of a weapon.
    app.CloseBox();
    app.Click("cmdBack");
    QCOMPARE(app.PageName(), QString("frmCompWeaponDamage"));
  }

  void gridComponentInOdometerOrder() {
    TestApp app;
    vrlComponent& c = app.hq().Component();
    c.SetCompName("Shield");
    c.SetGridComp(true);
    c.SetNumTechReqs(2);
    c.SetTechReqArea(1, "Shields");
    c.SetTechReqLevel(1, "&techgridlevel1");
    c.SetTechReqGridSize(1, "2");
    c.SetTechReqNumberStyle(1, "-&techgridlevel1");
    c.SetTechReqArea(2, "Armor");
    c.SetTechReqLevel(2, "&techgridlevel2");
    c.SetTechReqGridSize(2, "3");
    c.SetTechReqNumberStyle(2, ".&techgridlevel2");
    Open<frmCompGenerate>(app);
    Watch watch;
    WatchProgress(app.PageAs<GeneratePage>(), watch);
    app.Click("cmdNext");
    QCOMPARE(watch.labels.last(), QString("100% generated"));
    QCOMPARE(watch.lastMaximum, 6);
    QVERIFY(watch.buttonsDisabled);
    const QString text = Results(app)->rtfResults()->text();
    QStringList names;
    QStringList numerals;
    for (const QString& line : text.split('\n')) {
      if (line.startsWith("Name ")) names << line.mid(45);
      if (line.startsWith("Roman Numeral ")) numerals << line.mid(45);
    }
    QCOMPARE(names, (QStringList{"Shield -1.1", "Shield -1.2", "Shield -1.3", "Shield -2.1", "Shield -2.2",
                                 "Shield -2.3"}));
    QCOMPARE(numerals, (QStringList{"1", "2", "3", "2", "3", "4"}));
    QCOMPARE(text, EngineText<CompGenerate>(c));
  }

  void gridWithoutRequirementsIsRefused() {
    TestApp app;
    app.hq().Component().SetCompName("Shield");
    app.hq().Component().SetGridComp(true);
    app.hq().Component().SetNumTechReqs(0);
    Open<frmCompGenerate>(app);
    app.Click("cmdNext");
    QCOMPARE(app.services.MessageTexts(),
             QStringList{"Grid components must have tech requirements.\nComponent not generated"});
    QCOMPARE(app.services.Messages().front().title, QString("Error"));
    QCOMPARE(app.PageName(), QString("frmCompGenerate"));
    VerifyIdle(app);
  }

  void facilityToItsResultsAndBack() {
    TestApp app;
    vrlFacility& f = app.hq().Facility();
    f.SetFacName("Mine");
    f.SetNumFacLevels("2");
    f.SetNumberStyle("&faclevel");
    f.SetFacFamily("7");
    f.SetMinCost("{&faclevel*100}");
    f.SetTechReqArea(1, "Mining");
    f.SetTechReqLevel(1, "&faclevel");
    f.SetAbilName(1, "Mineral Generation");
    f.SetAbilVal1(1, "{&faclevel*5}");
    Open<frmFacGenerate>(app);
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
    vrlComponent& c = app.hq().Component();
    MakeLaser(c);
    c.SetMinCost("{&complevel*}");
    Open<frmCompGenerate>(app);
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

  void cancelAsksAndCloseBoxReturnsToMenu() {
    TestApp app;
    Open<frmFacGenerate>(app);
    app.services.QueueNo();
    app.Click("cmdCancel");
    QCOMPARE(app.PageName(), QString("frmFacGenerate"));
    QCOMPARE(app.services.MessageTexts(), QStringList{"Do you want to return to the main menu?"});
    app.CloseBox();
    QCOMPARE(app.PageName(), QString("frmMain"));
  }
};

QTEST_MAIN(GenerateTest)
#include "tst_generate.moc"
