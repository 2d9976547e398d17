// The first pages of both wizards: the start pages (with the page conventions
// they share with every wizard page: checks in order, what is stored, the
// Cancel question, select-all), the basic information pages and the vehicle
// type page: checks and questions in order with scripted answers, what is
// stored, where Next and Back lead.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "app/frmMain.h"
#include "support/TestApp.h"
#include "gui/MaskEdit.h"
#include "gui/WizardPage.h"
#include "wizard/frmCompBasicInfo.h"
#include "wizard/frmCompVehicleType.h"
#include "wizard/frmFacBasicInfo.h"

using namespace vorlane;
using namespace vorlane::test;

namespace {

// The words of one twin, so every check runs on both pages.
struct Twin {
  int option;
  QString page, noun, name, desc, levels, grid;
};

const Twin kComp{0, "frmCompStart", "component", "txtCompName", "txtCompDesc", "txtCompLevels", "chkGridComp"};
const Twin kFac{1, "frmFacStart", "facility", "txtFacName", "txtFacDesc", "txtFacLevels", "chkGridFac"};

void OpenFromMenu(TestApp& app, const Twin& twin) {
  if (app.PageName() != QLatin1String("frmMain")) {
    app.hq().ShowMainMenu();
    app.Settle();
  }
  QVERIFY(app.ChooseMenuOption(twin.option));
  QVERIFY(app.Click("cmdNext"));
}


const QString kNumberQ = QStringLiteral("Do you want to leave the numbering style blank?");
const QString kRomanQ = QStringLiteral("Do you want to leave the Roman numeral style blank?");
const QString kFamilyMsg = QStringLiteral("You must include a family number.");
const QString kGroupQ = QStringLiteral("Do you want to leave the general group blank?");
const QString kCustomMsg = QStringLiteral("You must include a custom group number.");
const QString kRestrictionsMsg = QStringLiteral("You must include a restrictions setting.");
const QString kVehicleMsg = QStringLiteral("You must select at least one vehicle type.");

void SetVehicle(TestApp& app, int index, bool on) {
  auto* box = app.Find<QCheckBox>(QStringLiteral("chkVType(%1)").arg(index));
  // Clicked on its indicator, where a user clicks.
  if (box->isChecked() != on) QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
}

}  // namespace

class StartPagesTest : public QObject {
  Q_OBJECT

 private slots:
  void componentPageRestrictionsAndTabOrder() {
    TestApp app;
    app.Show<frmCompBasicInfo>();
    auto* combo = app.Find<QComboBox>("cboRestrictions");
    QVERIFY(combo->isEditable());
    QCOMPARE(combo->count(), 11);
    QCOMPARE(combo->itemText(0), QStringLiteral("None"));
    QCOMPARE(combo->itemText(10), QStringLiteral("Ten Per Vehicle"));
    QVERIFY(combo->currentText().isEmpty());  // a new design has no restriction
    QVERIFY(app.Find<QLineEdit>("txtNumberStyle")->isEnabled());
    QVERIFY(app.Find<QLineEdit>("txtRomanStyle")->isEnabled());
    // Tab order: the six fields, then the buttons.
    QCOMPARE(app.TabOrder("txtNumberStyle", 9), (QStringList{"txtNumberStyle", "txtRomanStyle", "txtFamily", "txtGeneralGroup", "txtCustomGroup",
                                 "cboRestrictions", "cmdNext", "cmdBack", "cmdCancel"}));
  }

  void componentChecksRunInOrder() {
    TestApp app;
    auto& s = app.services;
    app.Show<frmCompBasicInfo>();
    QCOMPARE(app.Press("cmdNext", {true, true}), (QStringList{kNumberQ, kRomanQ, kFamilyMsg}));
    QCOMPARE(s.Messages()[0].buttons, MessageButtons::YesNo);
    QCOMPARE(s.Messages()[2].buttons, MessageButtons::Ok);
    // No to the first question: nothing more is asked.
    QCOMPARE(app.Press("cmdNext", {false}), QStringList{kNumberQ});

    app.Type("txtNumberStyle", "&complevel");
    app.Type("txtRomanStyle", "&complevel");
    app.Type("txtFamily", "1001");
    QCOMPARE(app.Press("cmdNext", {false}), QStringList{kGroupQ});
    QCOMPARE(app.PageName(), QStringLiteral("frmCompBasicInfo"));
    QCOMPARE(app.Press("cmdNext", {true}), (QStringList{kGroupQ, kCustomMsg}));
    app.Type("txtGeneralGroup", "Weapons");
    app.Type("txtCustomGroup", "0");
    QCOMPARE(app.Press("cmdNext"), QStringList{kRestrictionsMsg});
    QCOMPARE(app.hq().Component(), vrlComponent{});  // failed checks store nothing

    // A restriction that is not in the list is stored as typed.
    s.ClearRecords();
    QLineEdit* restrictions = app.Find<QComboBox>("cboRestrictions")->lineEdit();
    restrictions->setFocus();
    QTest::keyClicks(restrictions, "only one per vehicle");
    app.Click("cmdNext");
    QVERIFY(s.Messages().empty());
    QCOMPARE(app.PageName(), QStringLiteral("frmCompVehicleType"));
    vrlComponent expected;
    expected.SetNumberStyle("&complevel");
    expected.SetRomanStyle("&complevel");
    expected.SetFamily("1001");
    expected.SetGeneralGroup("Weapons");
    expected.SetCustomGroup("0");
    expected.SetRestrictions("only one per vehicle");
    QCOMPARE(app.hq().Component(), expected);
  }

  void entryFieldsSelectAllOnFocus() {
    TestApp app;
    app.hq().Component().SetFamily("1001");
    app.hq().Component().SetRestrictions("One Per Vehicle");
    app.Show<frmCompBasicInfo>();
    auto* family = app.Find<QLineEdit>("txtFamily");
    family->setFocus(Qt::TabFocusReason);
    app.Settle();
    QCOMPARE(family->selectedText(), QStringLiteral("1001"));
    auto* combo = app.Find<QComboBox>("cboRestrictions");
    combo->setFocus(Qt::TabFocusReason);
    app.Settle();
    QCOMPARE(combo->lineEdit()->selectedText(), QStringLiteral("One Per Vehicle"));
    QTest::mouseClick(family, Qt::LeftButton);  // a click selects all too, not only Tab
    app.Settle();
    QVERIFY(family->hasFocus());
    QCOMPARE(family->selectedText(), QStringLiteral("1001"));
  }

  void gridDesignSkipsTheStyleQuestions() {
    TestApp app;
    app.hq().Component().SetGridComp(true);
    app.Show<frmCompBasicInfo>();
    for (const char* name : {"txtNumberStyle", "lblNumberStyle", "txtRomanStyle", "lblRomanStyle"})
      QVERIFY2(!app.Find(name)->isEnabled(), name);
    QCOMPARE(app.Press("cmdNext"), QStringList{kFamilyMsg});
  }

  void backStoresWithoutChecksAndNoStillLeavesCancel() {
    TestApp app;
    app.hq().Component().SetFamily("old");
    app.Show<frmCompBasicInfo>();
    app.Type("txtFamily", "");
    app.Type("txtCustomGroup", "7");
    app.Click("cmdBack");
    QVERIFY(app.services.Messages().empty());
    QCOMPARE(app.PageName(), QStringLiteral("frmCompStart"));
    QCOMPARE(app.hq().Component().Family(), std::string());
    QCOMPARE(app.hq().Component().CustomGroup(), std::string("7"));

    app.Show<frmCompBasicInfo>();
    app.services.QueueNo();
    app.Click("cmdNext");
    app.services.QueueYes();
    app.Click("cmdCancel");
    QCOMPARE(app.PageName(), QStringLiteral("frmMain"));
  }

  void facilityPageAsksFourAndStoresSeven() {
    TestApp app;
    app.Show<frmFacBasicInfo>();
    QVERIFY(!app.Find<QWidget>("cboRestrictions"));
    QVERIFY(!app.Find<QWidget>("txtCustomGroup"));

    QCOMPARE(app.Press("cmdNext", {true, true}), (QStringList{kNumberQ, kRomanQ, kFamilyMsg}));
    app.Type("txtFamily", "3");
    app.Type("txtMinCost", "{&faclevel * 100}");
    app.Type("txtRadCost", "5");
    QCOMPARE(app.Press("cmdNext", {true, true, true}),
             (QStringList{kNumberQ, kRomanQ, QStringLiteral("Do you want to leave the facility group blank?")}));
    QCOMPARE(app.PageName(), QStringLiteral("frmFacPicture"));
    const vrlFacility& f = app.hq().Facility();
    QCOMPARE(f.FacFamily(), std::string("3"));
    QCOMPARE(f.MinCost(), std::string("{&faclevel * 100}"));
    QCOMPARE(f.OrgCost(), std::string());
    QCOMPARE(f.RadCost(), std::string("5"));
    QCOMPARE(app.hq().Component(), vrlComponent{});

    app.Show<frmFacBasicInfo>();
    QCOMPARE(app.Find<QLineEdit>("txtMinCost")->text(), QStringLiteral("{&faclevel * 100}"));
    app.Type("txtOrgCost", "2");
    app.Click("cmdBack");
    QCOMPARE(app.PageName(), QStringLiteral("frmFacStart"));
    QCOMPARE(app.hq().Facility().OrgCost(), std::string("2"));
  }

  void vehiclePageRefusesToLeaveWithNoBox() {
    TestApp app;
    app.Show<frmCompVehicleType>();
    QCOMPARE(app.Checks("chkVType(%1)", 8), QStringLiteral("00000000"));
    QCOMPARE(app.Find<QCheckBox>("chkVType(3)")->text(), QStringLiteral("&Weapon Platform"));
    app.Click("cmdNext");
    app.Click("cmdBack");
    QCOMPARE(app.services.MessageTexts(), (QStringList{kVehicleMsg, kVehicleMsg}));
    QCOMPARE(app.PageName(), QStringLiteral("frmCompVehicleType"));
    QCOMPARE(app.hq().Component().VehicleType(), std::string());
  }

  void vehicleListIsBuiltInBoxOrderAndReadBack() {
    TestApp app;
    app.Show<frmCompVehicleType>();
    SetVehicle(app, 7, true);  // Drone first, then Weapon Platform
    SetVehicle(app, 3, true);
    app.Click("cmdNext");
    QCOMPARE(app.hq().Component().VehicleType(), std::string("WeapPlatform, Drone"));
    QCOMPARE(app.PageName(), QStringLiteral("frmCompPicture"));
    app.Click("cmdBack");
    QCOMPARE(app.PageName(), QStringLiteral("frmCompVehicleType"));
    QCOMPARE(app.Checks("chkVType(%1)", 8), QStringLiteral("00010001"));

    for (int i = 0; i < 8; ++i) SetVehicle(app, i, true);
    app.Click("cmdBack");
    QCOMPARE(app.hq().Component().VehicleType(),
             std::string("Ship, Base, Satellite, WeapPlatform, Fighter, Mine, Troop, Drone"));
    QCOMPARE(app.PageName(), QStringLiteral("frmCompBasicInfo"));

    app.hq().Component().SetVehicleType("Ship");
    app.Show<frmCompVehicleType>();
    QCOMPARE(app.Checks("chkVType(%1)", 8), QStringLiteral("10000000"));
    app.hq().Component().SetVehicleType("ship, base");  // letter case counts
    app.Show<frmCompVehicleType>();
    QCOMPARE(app.Checks("chkVType(%1)", 8), QStringLiteral("00000000"));
  }
  void twins_data() {
    QTest::addColumn<int>("which");
    QTest::newRow("component") << 0;
    QTest::newRow("facility") << 1;
  }

  void newDesignOpensWithDefaults_data() { twins_data(); }
  void newDesignOpensWithDefaults() {
    QFETCH(int, which);
    const Twin& t = which == 0 ? kComp : kFac;
    TestApp app;
    OpenFromMenu(app, t);
    QCOMPARE(app.PageName(), t.page);
    QVERIFY(app.Find<QLineEdit>(t.name)->text().isEmpty());
    QVERIFY(app.Find<QLineEdit>(t.desc)->text().isEmpty());
    QCOMPARE(app.Find<MaskEdit>(t.levels)->text(), QStringLiteral("1"));
    QVERIFY(!app.Find<QCheckBox>(t.grid)->isChecked());
    QVERIFY(app.Find<MaskEdit>(t.levels)->isEnabled());
    QCOMPARE(app.Find<QLineEdit>(t.name)->maxLength(), 150);
    QCOMPARE(app.Find<QCheckBox>(t.grid)->text(),
             "&Check this if you would like to create a grid " + t.noun + ".");
  }

  void buttonsDifferBetweenTwins() {
    TestApp app;
    OpenFromMenu(app, kComp);
    for (const char* name : {"cmdBack", "cmdCancel", "cmdNext"})
      QVERIFY(app.Find<QPushButton>(name)->toolTip().isEmpty());
    QVERIFY(!app.Find<QPushButton>("cmdBack")->isEnabled());
    QVERIFY(app.Find<QLineEdit>("txtCompLevels")->toolTip().isEmpty());

    OpenFromMenu(app, kFac);
    // Back leads nowhere on either start page.
    QVERIFY(!app.Find<QPushButton>("cmdBack")->isEnabled());
    QVERIFY(app.Find<QPushButton>("cmdBack")->toolTip().isEmpty());
    QCOMPARE(app.Find<QPushButton>("cmdCancel")->text(), QStringLiteral("Cancel"));
    QCOMPARE(app.Find<QPushButton>("cmdNext")->toolTip(), QStringLiteral("Advances to the next screen."));
    const QString levelsTip = QStringLiteral("Enter the number of levels you want of your facility in the box.");
    QCOMPARE(app.Find<QLineEdit>("txtFacLevels")->toolTip(), levelsTip);
    QCOMPARE(app.Find<QLabel>("lblFacLevels")->toolTip(), levelsTip);
  }

  void checksRunInOrderAndStoreNothingUntilPassed_data() { twins_data(); }
  void checksRunInOrderAndStoreNothingUntilPassed() {
    QFETCH(int, which);
    const Twin& t = which == 0 ? kComp : kFac;
    TestApp app;
    OpenFromMenu(app, t);
    ScriptedServices& s = app.services;
    const QString nameMsg = "You must enter a name for your " + t.noun + ".";
    const QString descQ = QStringLiteral("Do you want to leave the description blank?");
    const QString levelsMsg = "You must enter a number of levels for your " + t.noun + ".";
    const QString oneMsg = "You must have at least one level for your " + t.noun + ".";

    // Name first, even with every other field empty (Return presses Next).
    app.Type(t.levels, "");
    app.Key(Qt::Key_Return);
    QCOMPARE(s.MessageTexts(), QStringList{nameMsg});
    QVERIFY(s.Messages()[0].buttons == MessageButtons::Ok);
    QCOMPARE(s.Messages()[0].title, QStringLiteral("Vorlane"));

    // The description question; No keeps the page.
    app.Type(t.name, "Laser {&complevel}");
    QCOMPARE(app.Press("cmdNext", {false}), QStringList{descQ});
    // Grid clear and no digits: the "at least one" message, not the grid one.
    QCOMPARE(app.Press("cmdNext", {true}), (QStringList{descQ, oneMsg}));
    // Grid set and no digits.
    QTest::mouseClick(app.Find<QCheckBox>(t.grid), Qt::LeftButton);
    QCOMPARE(app.Press("cmdNext", {true}), (QStringList{descQ, levelsMsg}));
    // 000 is no level either.
    QTest::mouseClick(app.Find<QCheckBox>(t.grid), Qt::LeftButton);
    app.Type(t.levels, "000");
    QCOMPARE(app.Press("cmdNext", {true}), (QStringList{descQ, oneMsg}));

    // Nothing reached the record; with a level the blank description is taken.
    if (which == 0) {
      QCOMPARE(app.hq().Component(), vrlComponent{});
    } else {
      QCOMPARE(app.hq().Facility(), vrlFacility{});
    }
    app.Type(t.levels, "2");
    QCOMPARE(app.Press("cmdNext", {true}), QStringList{descQ});
    QCOMPARE(which == 0 ? app.hq().Component().NumCompLevels() : app.hq().Facility().NumFacLevels(),
             std::string("2"));
    QCOMPARE(which == 0 ? app.hq().Component().CompDesc() : app.hq().Facility().FacDesc(), std::string());
    QCOMPARE(s.PendingAnswers(), std::size_t{0});
    QCOMPARE(s.UnexpectedQuestions(), 0);
  }

  void nextStoresTheFieldsAndOpensBasicInformation_data() { twins_data(); }
  void nextStoresTheFieldsAndOpensBasicInformation() {
    QFETCH(int, which);
    const Twin& t = which == 0 ? kComp : kFac;
    TestApp app;
    OpenFromMenu(app, t);
    app.Type(t.name, "Laser");
    app.Type(t.desc, "Cuts things");
    app.Type(t.levels, "012");
    QTest::mouseClick(app.Find<QCheckBox>(t.grid), Qt::LeftButton);
    app.Key(Qt::Key_Return);
    QVERIFY(app.services.Messages().empty());
    QCOMPARE(app.PageName(), which == 0 ? QStringLiteral("frmCompBasicInfo") : QStringLiteral("frmFacBasicInfo"));
    if (which == 0) {
      vrlComponent c;
      c.SetCompName("Laser");
      c.SetCompDesc("Cuts things");
      c.SetNumCompLevels("12");
      c.SetGridComp(true);
      QCOMPARE(app.hq().Component(), c);
    } else {
      vrlFacility f;
      f.SetFacName("Laser");
      f.SetFacDesc("Cuts things");
      f.SetNumFacLevels("12");
      f.SetGridFac(true);
      QCOMPARE(app.hq().Facility(), f);
    }
  }

  void gridBoxTogglesLevelsAndKeepsTheNumber() {
    TestApp app;
    OpenFromMenu(app, kComp);
    app.Type("txtCompLevels", "7");
    auto* grid = app.Find<QCheckBox>("chkGridComp");
    QTest::mouseClick(grid, Qt::LeftButton);
    QVERIFY(!app.Find<MaskEdit>("txtCompLevels")->isEnabled());
    QVERIFY(!app.Find<QLabel>("lblCompLevels")->isEnabled());
    QTest::keyClick(grid, Qt::Key_Space);
    QVERIFY(app.Find<MaskEdit>("txtCompLevels")->isEnabled());
    QVERIFY(app.Find<QLabel>("lblCompLevels")->isEnabled());
    QCOMPARE(app.Find<MaskEdit>("txtCompLevels")->text(), QStringLiteral("7"));
  }

  void levelsBoxAdmitsThreeDigitsAndWidensForAStoredCount() {
    TestApp app;
    OpenFromMenu(app, kComp);
    app.Type("txtCompLevels", "1a-2.5 9");
    QCOMPARE(app.Find<MaskEdit>("txtCompLevels")->text(), QStringLiteral("125"));
    auto* box = app.Find<MaskEdit>("txtCompLevels");
    box->SetMaskedText(QStringLiteral("-42"));
    QCOMPARE(box->Digits(), QStringLiteral("42"));
    box->SetMaskedText(QStringLiteral("99999"));  // no level count: cut to the mask
    QCOMPARE(box->Digits(), QStringLiteral("999"));
    box->SetMaskedText(QStringLiteral("12345"));  // a stored count widens the box
    QCOMPARE(box->Digits(), QStringLiteral("12345"));
    // A mask edit selects its text on focus like any text box.
    app.Find<QLineEdit>("txtCompName")->setFocus(Qt::TabFocusReason);
    box->setFocus(Qt::TabFocusReason);
    app.Settle();
    QCOMPARE(box->selectedText(), QStringLiteral("12345"));
  }

  void cancelledDesignReopensWithItsValues_data() { twins_data(); }
  void cancelledDesignReopensWithItsValues() {
    QFETCH(int, which);
    const Twin& t = which == 0 ? kComp : kFac;
    TestApp app;
    OpenFromMenu(app, t);
    app.Type(t.name, "Shield");
    app.Type(t.desc, "Blocks");
    app.Type(t.levels, "5");
    QTest::mouseClick(app.Find<QCheckBox>(t.grid), Qt::LeftButton);
    app.Key(Qt::Key_Return);  // stored; the next page opens
    app.services.QueueYes();
    app.Click("cmdCancel");
    QCOMPARE(app.PageName(), QStringLiteral("frmMain"));
    QVERIFY(app.PageAs<frmMain>()->optCreate(0)->isChecked());

    OpenFromMenu(app, t);
    QCOMPARE(app.Find<QLineEdit>(t.name)->text(), QStringLiteral("Shield"));
    QCOMPARE(app.Find<QLineEdit>(t.desc)->text(), QStringLiteral("Blocks"));
    QCOMPARE(app.Find<MaskEdit>(t.levels)->text(), QStringLiteral("5"));
    QVERIFY(app.Find<QCheckBox>(t.grid)->isChecked());
    QVERIFY(!app.Find<MaskEdit>(t.levels)->isEnabled());
  }

  void tabOrderRunsThroughFieldsThenButtons() {
    TestApp app;
    OpenFromMenu(app, kComp);
    QCOMPARE(app.TabOrder("txtCompName", 7), (QStringList{"txtCompName", "txtCompDesc", "txtCompLevels", "chkGridComp", "cmdNext",
                                 "cmdBack", "cmdCancel"}));
    QCOMPARE(QApplication::focusWidget(), app.Find<QWidget>("txtCompName"));
  }
};

QTEST_MAIN(StartPagesTest)
#include "tst_start_pages.moc"
