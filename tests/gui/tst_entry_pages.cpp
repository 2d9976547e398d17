// The technology requirements, cost and abilities pages: walking through the
// entries with Add, Next and Back, the removal questions, the grid-only
// fields, arrival at the last entry from the following page; and a component
// design walked from the main menu through every page and back.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QTest>

#include "app/frmMain.h"
#include "support/TestApp.h"
#include "gui/MaskEdit.h"
#include "wizard/frmCompAbility.h"
#include "wizard/frmCompCost.h"
#include "wizard/frmCompTech.h"
#include "wizard/frmFacAbility.h"
#include "wizard/frmFacTech.h"

using namespace vorlane;
using namespace vorlane::test;

namespace {

const QString kTechAddMsg =
    QStringLiteral("You must provide a tech area for this tech requirement\nbefore adding a new requirement.");
const QString kTechDeleteQ = QStringLiteral("This and all following tech requirements will be deleted.\nContinue?");
const QString kGridMsg = QStringLiteral("You must include a tech grid size for this tech req.");
const QString kAbilAddMsg = QStringLiteral("You must fill in a type for this ability\nbefore adding another ability.");
const QString kAbilRemoveQ = QStringLiteral("This and all following abilities will be lost?\nContinue?");

template <class Page>
Page* Open(TestApp& app) {
  auto* page = new Page(app.hq());
  app.host()->ShowPage(page);
  app.Settle();
  return page;
}

QString Text(TestApp& app, const char* name) { return app.Find<QLineEdit>(name)->text(); }
QString Caption(TestApp& app, const char* name) { return app.Find<QLabel>(name)->text(); }

template <class Record>
void SetTechReqs(Record& r, const QStringList& areas) {
  r.SetNumTechReqs(static_cast<std::int16_t>(areas.size()));
  for (int i = 0; i < areas.size(); ++i) {
    const auto n = static_cast<std::int16_t>(i + 1);
    r.SetTechReqArea(n, areas[i].toStdString());
    r.SetTechReqLevel(n, "L" + std::to_string(n));
  }
}

template <class Record>
void SetAbils(Record& r, const QStringList& names) {
  r.SetNumAbils(static_cast<std::int16_t>(names.size()));
  for (int i = 0; i < names.size(); ++i) {
    const auto n = static_cast<std::int16_t>(i + 1);
    r.SetAbilName(n, names[i].toStdString());
    r.SetAbilVal1(n, std::to_string(n * 10));
  }
}

}  // namespace

class EntryPagesTest : public QObject {
  Q_OBJECT

 private slots:
  void newRecordNextOffersToDropTheEmptyRequirement() {
    TestApp app;
    auto& s = app.services;
    Open<frmCompTech>(app);
    s.QueueNo();
    app.Click("cmdNext");
    QCOMPARE(s.MessageTexts(), QStringList{kTechDeleteQ});
    QCOMPARE(s.Messages()[0].title, QStringLiteral("Delete Tech Reqs?"));
    QCOMPARE(s.Messages()[0].buttons, MessageButtons::YesNo);
    QCOMPARE(app.PageName(), QStringLiteral("frmCompTech"));
    QCOMPARE(app.hq().Component().NumTechReqs(), std::int16_t{1});
    s.QueueYes();
    app.Click("cmdNext");
    QCOMPARE(app.hq().Component().NumTechReqs(), std::int16_t{0});
    QCOMPARE(app.PageName(), QStringLiteral("frmCompCost"));

    // Back from the cost page with no requirement: entry 1, empty.
    app.Type("txtHP", "5");
    app.Click("cmdBack");
    QCOMPARE(app.PageName(), QStringLiteral("frmCompTech"));
    QCOMPARE(Caption(app, "lblTechReqNum"), QStringLiteral("Technology Requirement 1"));
    QVERIFY(Text(app, "txtTechArea").isEmpty());
  }

  void nextAndBackWalkThroughTheRequirements() {
    TestApp app;
    auto& c = app.hq().Component();
    SetTechReqs(c, {"A", "B", "C"});
    Open<frmCompTech>(app);
    QCOMPARE(Text(app, "txtTechArea"), QStringLiteral("A"));
    app.Type("txtTechLevel", "{&complevel}");
    app.Click("cmdNext");
    QCOMPARE(Caption(app, "lblTechReqNum"), QStringLiteral("Technology Requirement 2"));
    QCOMPARE(Text(app, "txtTechArea"), QStringLiteral("B"));
    QCOMPARE(c.TechReqLevel(1), std::optional<std::string>("{&complevel}"));
    app.Click("cmdNext");
    QCOMPARE(Text(app, "txtTechArea"), QStringLiteral("C"));
    app.Click("cmdNext");
    QCOMPARE(app.PageName(), QStringLiteral("frmCompCost"));
    QVERIFY(app.services.Messages().empty());

    // The cost page's Back lands on the last requirement.
    app.Click("cmdBack");
    QCOMPARE(app.PageName(), QStringLiteral("frmCompTech"));
    QCOMPARE(Caption(app, "lblTechReqNum"), QStringLiteral("Technology Requirement 3"));
    QCOMPARE(Text(app, "txtTechArea"), QStringLiteral("C"));
    QCOMPARE(app.PageAs<frmCompTech>()->CurrentTechReq(), std::int16_t{3});
    app.Click("cmdBack");
    QCOMPARE(Text(app, "txtTechArea"), QStringLiteral("B"));
    app.Click("cmdBack");
    QCOMPARE(Text(app, "txtTechArea"), QStringLiteral("A"));
    QCOMPARE(Text(app, "txtTechLevel"), QStringLiteral("{&complevel}"));
    app.Click("cmdBack");
    QCOMPARE(app.PageName(), QStringLiteral("frmCompPicture"));
    QCOMPARE(c.NumTechReqs(), std::int16_t{3});
  }

  void clearingAnAreaDropsItAndAllAfterIt() {
    TestApp app;
    auto& c = app.hq().Component();
    SetTechReqs(c, {"A", "B", "C"});
    Open<frmCompTech>(app);
    app.Click("cmdNext");
    app.Type("txtTechArea", "");
    app.services.QueueYes();
    app.Click("cmdNext");
    QCOMPARE(c.NumTechReqs(), std::int16_t{1});
    QCOMPARE(c.TechReqArea(1), std::optional<std::string>("A"));
    QCOMPARE(app.PageName(), QStringLiteral("frmCompCost"));
  }

  void addSavesAndMovesToABlankEntry() {
    TestApp app;
    auto& c = app.hq().Component();
    SetTechReqs(c, {"A", "B", "C"});
    auto* page = Open<frmCompTech>(app);
    page->SetCurrentTechReq(3);
    page->RefreshForm();
    app.Type("txtTechArea", "C2");
    app.Click("cmdAddTechReq");
    QCOMPARE(Caption(app, "lblTechReqNum"), QStringLiteral("Technology Requirement 4"));
    QVERIFY(Text(app, "txtTechArea").isEmpty());
    QVERIFY(Text(app, "txtTechLevel").isEmpty());
    QVERIFY(app.Find<QLineEdit>("txtTechArea")->hasFocus());
    QCOMPARE(c.TechReqArea(3), std::optional<std::string>("C2"));
    QCOMPARE(c.NumTechReqs(), std::int16_t{3});

    // Add on the empty entry refuses and changes nothing.
    app.Click("cmdAddTechReq");
    QCOMPARE(app.services.MessageTexts(), QStringList{kTechAddMsg});
    QCOMPARE(app.services.Messages()[0].title, QStringLiteral("Vorlane"));
    QCOMPARE(Caption(app, "lblTechReqNum"), QStringLiteral("Technology Requirement 4"));

    // Back stores the blank entry as requirement 4 and shows 3.
    app.Type("txtTechLevel", "2");
    app.Click("cmdBack");
    QCOMPARE(c.NumTechReqs(), std::int16_t{4});
    QCOMPARE(c.TechReqArea(4), std::optional<std::string>(""));
    QCOMPARE(c.TechReqLevel(4), std::optional<std::string>("2"));
    QCOMPARE(Caption(app, "lblTechReqNum"), QStringLiteral("Technology Requirement 3"));
    QCOMPARE(Text(app, "txtTechArea"), QStringLiteral("C2"));

    // Add on an earlier entry moves to the next existing one.
    page->SetCurrentTechReq(1);
    page->RefreshForm();
    app.Click("cmdAddTechReq");
    QCOMPARE(Text(app, "txtTechArea"), QStringLiteral("B"));
  }

  void gridFieldsOnlyForGridDesigns() {
    TestApp app;
    auto& c = app.hq().Component();
    SetTechReqs(c, {"A"});
    c.SetTechReqGridSize(1, "4");
    c.SetTechReqNumberStyle(1, "&techlevel1");
    Open<frmCompTech>(app);
    for (const char* name : {"txtTechGridSize", "lblTechGridSize", "txtTechNumberStyle", "lblTechNumberStyle"})
      QVERIFY2(!app.Find<QWidget>(name)->isEnabled(), name);
    QCOMPARE(app.Find<MaskEdit>("txtTechGridSize")->text(), QStringLiteral("4"));
    app.Click("cmdNext");  // written back unchanged
    QCOMPARE(c.TechReqGridSize(1), std::optional<std::string>("4"));
    QCOMPARE(c.TechReqNumberStyle(1), std::optional<std::string>("&techlevel1"));

    c.SetGridComp(true);
    c.SetTechReqGridSize(1, "");
    Open<frmCompTech>(app);
    for (const char* name : {"txtTechGridSize", "lblTechGridSize", "txtTechNumberStyle", "lblTechNumberStyle"})
      QVERIFY2(app.Find<QWidget>(name)->isEnabled(), name);
    app.Click("cmdNext");
    QCOMPARE(app.services.MessageTexts(), QStringList{kGridMsg});
    QCOMPARE(app.services.Messages()[0].title, QStringLiteral("Error"));
    QCOMPARE(app.PageName(), QStringLiteral("frmCompTech"));
    app.Click("cmdAddTechReq");  // Add does not ask for the grid size
    QCOMPARE(Caption(app, "lblTechReqNum"), QStringLiteral("Technology Requirement 2"));
    app.Click("cmdBack");
    app.Type("txtTechGridSize", "1a2b3");  // digits only, two at most
    QCOMPARE(app.Find<MaskEdit>("txtTechGridSize")->text(), QStringLiteral("12"));
    app.services.ClearRecords();
    app.Click("cmdNext");
    QCOMPARE(c.TechReqGridSize(1), std::optional<std::string>("12"));
    QCOMPARE(Caption(app, "lblTechReqNum"), QStringLiteral("Technology Requirement 2"));
  }

  void facilityTechLeadsToAbilitiesAndBackToEntryOne() {
    TestApp app;
    auto& f = app.hq().Facility();
    SetTechReqs(f, {"A", "B"});
    f.SetGridFac(true);
    f.SetTechReqGridSize(1, "3");
    f.SetTechReqGridSize(2, "5");
    Open<frmFacTech>(app);
    app.Type("txtTechNumberStyle", "&techlevel1");
    app.Click("cmdNext");
    app.Click("cmdNext");
    QCOMPARE(app.PageName(), QStringLiteral("frmFacAbility"));
    QCOMPARE(f.TechReqNumStyle(1), std::optional<std::string>("&techlevel1"));
    app.Click("cmdBack");
    QCOMPARE(app.PageName(), QStringLiteral("frmFacTech"));
    QCOMPARE(Caption(app, "lblTechReqNum"), QStringLiteral("Technology Requirement 1"));
    QCOMPARE(Text(app, "txtTechArea"), QStringLiteral("A"));
    app.Click("cmdBack");
    QCOMPARE(app.PageName(), QStringLiteral("frmFacPicture"));
    QCOMPARE(app.hq().Component().NumTechReqs(), std::int16_t{1});
  }

  void costPageChecksOnlyTheHitpoints() {
    TestApp app;
    auto& c = app.hq().Component();
    Open<frmCompCost>(app);
    // The page's own tab order: costs, the buttons, then supply, hitpoints, size.
    QStringList order;
    QWidget* w = app.Find<QWidget>("txtMinCost");
    while (order.size() < 10) {
      if ((w->focusPolicy() & Qt::TabFocus) && !w->objectName().isEmpty()) order << w->objectName();
      w = w->nextInFocusChain();
    }
    QCOMPARE(order, (QStringList{"txtMinCost", "txtOrgCost", "txtRadCost", "cmdNext", "cmdBack", "cmdCancel",
                                 "txtSupplyUse", "txtHP", "txtSize", "txtMinCost"}));

    for (const char* name : {"txtMinCost", "txtOrgCost", "txtRadCost", "txtSize", "txtSupplyUse"})
      app.Type(name, QStringLiteral("{1}"));
    app.Click("cmdNext");
    QCOMPARE(app.services.MessageTexts(), QStringList{QStringLiteral("You must enter a hitpoint start value.")});
    QCOMPARE(c.MinCost(), std::string());

    for (const char* name : {"txtMinCost", "txtOrgCost", "txtRadCost", "txtSize", "txtSupplyUse"}) app.Type(name, "");
    app.Type("txtHP", "{&complevel * 5}");
    app.Click("cmdNext");
    QCOMPARE(app.PageName(), QStringLiteral("frmCompAbility"));
    QCOMPARE(c.HP(), std::string("{&complevel * 5}"));
    QCOMPARE(c.Size(), std::string());

    c.SetSize("3");
    Open<frmCompCost>(app);
    QCOMPARE(Text(app, "txtSize"), QStringLiteral("3"));
    app.Type("txtHP", "");
    app.Click("cmdBack");  // no check on Back
    QCOMPARE(app.PageName(), QStringLiteral("frmCompTech"));
    QCOMPARE(c.HP(), std::string());
  }

  void abilitiesWalkAndRemoval() {
    TestApp app;
    auto& c = app.hq().Component();
    auto& s = app.services;
    Open<frmCompAbility>(app);
    QCOMPARE(Caption(app, "lblAbilNum"), QStringLiteral("Component Ability 1"));

    s.QueueNo();
    app.Click("cmdNext");
    QCOMPARE(s.MessageTexts(), QStringList{kAbilRemoveQ});
    QCOMPARE(s.Messages()[0].title, QStringLiteral("Remove Abilities?"));
    QCOMPARE(c.NumAbils(), std::int16_t{1});
    s.QueueYes();
    app.Click("cmdNext");
    QCOMPARE(c.NumAbils(), std::int16_t{0});
    QCOMPARE(app.PageName(), QStringLiteral("frmCompWeaponInfo"));

    // X and Y: Next on X shows Y; Back on Y shows X; Back on X leaves.
    SetAbils(c, {"X", "Y", "Z"});
    Open<frmCompAbility>(app);
    QCOMPARE(Text(app, "txtAbilType"), QStringLiteral("X"));
    QCOMPARE(Text(app, "txtVal1"), QStringLiteral("10"));
    app.Type("txtAbilDesc", "first");
    app.Click("cmdNext");
    QCOMPARE(Caption(app, "lblAbilNum"), QStringLiteral("Component Ability 2"));
    QCOMPARE(Text(app, "txtAbilType"), QStringLiteral("Y"));
    app.Click("cmdBack");
    QCOMPARE(Text(app, "txtAbilDesc"), QStringLiteral("first"));
    app.Click("cmdBack");
    QCOMPARE(app.PageName(), QStringLiteral("frmCompCost"));

    // Clearing the type of ability 2 of three leaves one.
    Open<frmCompAbility>(app);
    app.Click("cmdNext");
    app.Type("txtAbilType", "");
    s.ClearRecords();
    s.QueueYes();
    app.Click("cmdNext");
    QCOMPARE(c.NumAbils(), std::int16_t{1});
    QCOMPARE(c.AbilName(1), std::optional<std::string>("X"));
  }

  void addAbilityAndArrivalAtTheLast() {
    TestApp app;
    auto& c = app.hq().Component();
    SetAbils(c, {"X", "Y", "Z"});
    auto* page = Open<frmCompAbility>(app);
    // The weapon information page's Back opens the page at its last ability.
    page->SetCurrentAbil(c.NumAbils());
    page->RefreshForm();
    QCOMPARE(Caption(app, "lblAbilNum"), QStringLiteral("Component Ability 3"));
    QCOMPARE(Text(app, "txtAbilType"), QStringLiteral("Z"));

    app.Click("cmdAddAbility");
    QCOMPARE(Caption(app, "lblAbilNum"), QStringLiteral("Component Ability 4"));
    QVERIFY(Text(app, "txtAbilType").isEmpty());
    QVERIFY(app.Find<QLineEdit>("txtAbilType")->hasFocus());
    app.Click("cmdAddAbility");
    QCOMPARE(app.services.MessageTexts(), QStringList{kAbilAddMsg});
    QCOMPARE(c.NumAbils(), std::int16_t{3});
    app.Type("txtAbilType", "W");
    app.Type("txtVal2", "{&complevel}");
    app.Click("cmdBack");
    QCOMPARE(c.NumAbils(), std::int16_t{4});
    QCOMPARE(c.AbilName(4), std::optional<std::string>("W"));
    QCOMPARE(c.AbilVal2(4), std::optional<std::string>("{&complevel}"));
    QCOMPARE(Caption(app, "lblAbilNum"), QStringLiteral("Component Ability 3"));

    // The last ability's Next stores it and leaves; the weapon page's Back
    // comes back to it.
    app.Click("cmdNext");
    app.Type("txtAbilDesc", "last");
    app.Click("cmdNext");
    QCOMPARE(c.AbilDesc(4), std::optional<std::string>("last"));
    QCOMPARE(app.PageName(), QStringLiteral("frmCompWeaponInfo"));
    app.Click("cmdBack");
    QCOMPARE(app.PageName(), QStringLiteral("frmCompAbility"));
    QCOMPARE(Caption(app, "lblAbilNum"), QStringLiteral("Component Ability 4"));
    QCOMPARE(Text(app, "txtAbilDesc"), QStringLiteral("last"));
  }

  void facilityAbilitiesTwin() {
    TestApp app;
    auto& f = app.hq().Facility();
    Open<frmFacAbility>(app);
    QCOMPARE(Caption(app, "lblAbilNum"), QStringLiteral("Facility Ability 1"));
    app.Type("txtAbilType", "Supply Generation");
    app.Click("cmdAddAbility");
    QCOMPARE(Caption(app, "lblAbilNum"), QStringLiteral("Facility Ability 2"));
    app.Type("txtAbilType", "Extra");
    app.Click("cmdNext");
    QCOMPARE(app.PageName(), QStringLiteral("frmFacGenerate"));
    app.Click("cmdBack");  // the generate page comes back to entry 1
    QCOMPARE(app.PageName(), QStringLiteral("frmFacAbility"));
    QCOMPARE(Text(app, "txtAbilType"), QStringLiteral("Supply Generation"));
    app.Click("cmdBack");
    QCOMPARE(app.PageName(), QStringLiteral("frmFacTech"));
    QCOMPARE(f.NumAbils(), std::int16_t{2});
    QCOMPARE(f.AbilName(2), std::optional<std::string>("Extra"));
    QCOMPARE(app.hq().Component().NumAbils(), std::int16_t{1});
  }

  // A component design from the main menu through every page of the wizard
  // up to the abilities, back to the start page and forward again: every
  // value typed is still there.
  void componentWalkKeepsEverything() {
    TestApp app;
    auto& s = app.services;
    QTest::mouseClick(app.PageAs<frmMain>()->optCreate(0), Qt::LeftButton);
    app.Click("cmdNext");
    QCOMPARE(app.PageName(), QStringLiteral("frmCompStart"));
    app.Type("txtCompName", "Laser");
    app.Type("txtCompDesc", "A beam weapon");
    app.Type("txtCompLevels", "3");
    app.Click("cmdNext");
    QCOMPARE(app.PageName(), QStringLiteral("frmCompBasicInfo"));
    app.Type("txtNumberStyle", "&complevel");
    app.Type("txtRomanStyle", "&complevel");
    app.Type("txtFamily", "100");
    app.Type("txtGeneralGroup", "Weapons");
    app.Type("txtCustomGroup", "0");
    app.Find<QComboBox>("cboRestrictions")->setCurrentIndex(0);
    app.Click("cmdNext");
    QCOMPARE(app.PageName(), QStringLiteral("frmCompVehicleType"));
    auto* ship = app.Find<QCheckBox>("chkVType(0)");
    QTest::mouseClick(ship, Qt::LeftButton, {}, QPoint(8, ship->height() / 2));
    app.Click("cmdNext");
    QCOMPARE(app.PageName(), QStringLiteral("frmCompPicture"));
    app.Find<QSlider>("sldPicNum")->setValue(12);
    app.Click("cmdNext");
    QCOMPARE(app.PageName(), QStringLiteral("frmCompTech"));
    app.Type("txtTechArea", "Lasers");
    app.Type("txtTechLevel", "&complevel");
    app.Click("cmdNext");
    QCOMPARE(app.PageName(), QStringLiteral("frmCompCost"));
    app.Type("txtMinCost", "{&complevel*10}");
    app.Type("txtHP", "10");
    app.Click("cmdNext");
    QCOMPARE(app.PageName(), QStringLiteral("frmCompAbility"));
    app.Type("txtAbilType", "Direct Fire");
    app.Type("txtVal1", "5");
    QVERIFY(s.Messages().empty());

    const QStringList backwards{"frmCompCost",        "frmCompTech",      "frmCompPicture",
                                "frmCompVehicleType", "frmCompBasicInfo", "frmCompStart"};
    for (const QString& page : backwards) {
      app.Click("cmdBack");
      QCOMPARE(app.PageName(), page);
    }
    QCOMPARE(Text(app, "txtCompName"), QStringLiteral("Laser"));
    app.Click("cmdNext");
    QCOMPARE(Text(app, "txtFamily"), QStringLiteral("100"));
    QCOMPARE(app.Find<QComboBox>("cboRestrictions")->currentText(), QStringLiteral("None"));
    app.Click("cmdNext");
    QVERIFY(app.Find<QCheckBox>("chkVType(0)")->isChecked());
    app.Click("cmdNext");
    QCOMPARE(app.Find<QSlider>("sldPicNum")->value(), 12);
    app.Click("cmdNext");
    QCOMPARE(Text(app, "txtTechArea"), QStringLiteral("Lasers"));
    app.Click("cmdNext");
    QCOMPARE(Text(app, "txtMinCost"), QStringLiteral("{&complevel*10}"));
    app.Click("cmdNext");
    QCOMPARE(Text(app, "txtAbilType"), QStringLiteral("Direct Fire"));
    QCOMPARE(Text(app, "txtVal1"), QStringLiteral("5"));
    QVERIFY(s.Messages().empty());

    const vrlComponent& c = app.hq().Component();
    QCOMPARE(c.VehicleType(), std::string("Ship"));
    QCOMPARE(c.PicNum(), std::string("12"));
    QCOMPARE(c.NumTechReqs(), std::int16_t{1});
    QCOMPARE(c.NumAbils(), std::int16_t{1});

    s.QueueYes();
    app.Key(Qt::Key_Escape);
    QCOMPARE(app.PageName(), QStringLiteral("frmMain"));
  }
};

QTEST_MAIN(EntryPagesTest)
#include "tst_entry_pages.moc"
