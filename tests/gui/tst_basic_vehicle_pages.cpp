// The basic information pages and the vehicle type page: checks and
// questions in order with scripted answers, what is stored, where Next and
// Back lead.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "support/TestApp.h"
#include "wizard/frmCompBasicInfo.h"
#include "wizard/frmCompVehicleType.h"
#include "wizard/frmFacBasicInfo.h"

using namespace vorlane;
using namespace vorlane::test;

namespace {

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

class BasicVehiclePagesTest : public QObject {
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
    auto& s = app.services;
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
};

QTEST_MAIN(BasicVehiclePagesTest)
#include "tst_basic_vehicle_pages.moc"
