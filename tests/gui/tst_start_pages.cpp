// The start, basic information and vehicle type pages: checks and questions
// in order, what is stored, where Next, Back and Cancel lead, select-all.

#include "app/frmMain.h"
#include "gui/LongLineEdit.h"
#include "gui/MaskEdit.h"
#include "support/TestApp.h"
#include "wizard/frmCompBasicInfo.h"
#include "wizard/frmCompVehicleType.h"
#include "wizard/frmFacBasicInfo.h"

using namespace vorlane;
using namespace vorlane::test;

namespace {

// The words of one twin, so every check runs on both pages.
struct Twin {
  int option;
  QString noun, name, desc, levels, grid;
};
const Twin kTwins[] = {{0, "component", "txtCompName", "txtCompDesc", "txtCompLevels", "chkGridComp"},
                       {1, "facility", "txtFacName", "txtFacDesc", "txtFacLevels", "chkGridFac"}};

const QString kNumberQ = "Do you want to leave the numbering style blank?",
              kRomanQ = "Do you want to leave the Roman numeral style blank?",
              kFamilyMsg = "You must include a family number.",
              kGroupQ = "Do you want to leave the general group blank?",
              kVehicleMsg = "You must select at least one vehicle type.";

void SetVehicle(TestApp& app, int index, bool on) {
  auto* box = app.Find<QCheckBox>(QStringLiteral("chkVType(%1)").arg(index));
  // Clicked on its indicator, where a user clicks.
  if (box->isChecked() != on) QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
}

}  // namespace

class StartPagesTest : public QObject {
  Q_OBJECT

 private slots:
  void componentBasicInformation() {
    TestApp app;
    auto& s = app.services;
    app.Show<frmCompBasicInfo>();
    auto* combo = app.Find<QComboBox>("cboRestrictions");
    QVERIFY(combo->isEditable() && combo->count() == 11 && combo->currentText().isEmpty());  // no restriction yet
    QCOMPARE(combo->itemText(0) + "|" + combo->itemText(10), QStringLiteral("None|Ten Per Vehicle"));
    QCOMPARE(app.Props({"txtNumberStyle.enabled=true", "txtRomanStyle.enabled=true"}), QString());
    QCOMPARE(app.TabOrder("txtNumberStyle", 9),
             (QStringList{"txtNumberStyle", "txtRomanStyle", "txtFamily", "txtGeneralGroup", "txtCustomGroup",
                          "cboRestrictions", "cmdNext", "cmdBack", "cmdCancel"}));
    // The checks in order; No to a question stops there.
    QCOMPARE(app.Press("cmdNext", {true, true}), (QStringList{kNumberQ, kRomanQ, kFamilyMsg}));
    QVERIFY(s.Messages()[0].buttons == MessageButtons::YesNo && s.Messages()[2].buttons == MessageButtons::Ok);
    QCOMPARE(app.Press("cmdNext", {false}), QStringList{kNumberQ});
    app.Type({{"txtNumberStyle", "&complevel"}, {"txtRomanStyle", "&complevel"}, {"txtFamily", "1001"}});
    QVERIFY(app.Press("cmdNext", {false}) == QStringList{kGroupQ} && app.PageName() == "frmCompBasicInfo");
    QCOMPARE(app.Press("cmdNext", {true}), (QStringList{kGroupQ, "You must include a custom group number."}));
    app.Type({{"txtGeneralGroup", "Weapons"}, {"txtCustomGroup", "0"}});
    QCOMPARE(app.Press("cmdNext"), QStringList{"You must include a restrictions setting."});
    QCOMPARE(app.hq().Component(), vrlComponent{});  // failed checks store nothing
    // A restriction that is not in the list is stored as typed.
    s.ClearRecords();
    combo->lineEdit()->setFocus();
    QTest::keyClicks(combo->lineEdit(), "only one per vehicle");
    app.Key(Qt::Key_Return);  // in the editable list it presses Next
    QVERIFY(s.Messages().empty() && app.PageName() == "frmCompVehicleType");
    vrlComponent expected;
    expected.SetNumberStyle("&complevel"), expected.SetRomanStyle("&complevel"), expected.SetFamily("1001");
    expected.SetGeneralGroup("Weapons"), expected.SetCustomGroup("0"), expected.SetRestrictions("only one per vehicle");
    QCOMPARE(app.hq().Component(), expected);

    // Filled fields select all on focus, by Tab or by a click.
    app.Show<frmCompBasicInfo>();
    auto* family = app.Find<QLineEdit>("txtFamily");
    combo = app.Find<QComboBox>("cboRestrictions");
    family->setFocus(Qt::TabFocusReason);
    app.Settle();
    QCOMPARE(family->selectedText(), QStringLiteral("1001"));
    combo->setFocus(Qt::TabFocusReason);
    app.Settle();
    QCOMPARE(combo->lineEdit()->selectedText(), QStringLiteral("only one per vehicle"));
    QTest::mouseClick(family, Qt::LeftButton);  // a click selects all too, not only Tab
    app.Settle();
    QVERIFY(family->hasFocus() && family->selectedText() == "1001");
  }

  void gridSkipsTheStyleQuestionsAndBackStoresUnchecked() {
    TestApp app;
    app.hq().Component().SetGridComp(true);
    app.Show<frmCompBasicInfo>();
    QCOMPARE(app.Props({"txtNumberStyle.enabled=false", "lblNumberStyle.enabled=false", "txtRomanStyle.enabled=false",
                        "lblRomanStyle.enabled=false"}),
             QString());
    QCOMPARE(app.Press("cmdNext"), QStringList{kFamilyMsg});
    app.Type("txtCustomGroup", "7");
    app.services.ClearRecords();
    app.Click("cmdBack");
    QVERIFY(app.services.Messages().empty() && app.PageName() == "frmCompStart");
    QCOMPARE(app.hq().Component().CustomGroup(), std::string("7"));
    // No to a question still leaves Cancel working, here Escape in a field.
    app.hq().Component().SetGridComp(false);
    app.Show<frmCompBasicInfo>();
    app.services.QueueNo();
    app.Click("cmdNext");
    app.services.QueueYes();
    app.Find("txtFamily")->setFocus();
    app.Key(Qt::Key_Escape);
    QCOMPARE(app.services.MessageTexts().last(), QStringLiteral("Do you want to return to the main menu?"));
    QCOMPARE(app.PageName(), QStringLiteral("frmMain"));
  }

  void facilityPageAsksFourAndStoresSeven() {
    TestApp app;
    app.Show<frmFacBasicInfo>();
    QVERIFY(!app.Find("cboRestrictions") && !app.Find("txtCustomGroup"));
    app.Type({{"txtFamily", "3"}, {"txtMinCost", "{&faclevel * 100}"}, {"txtRadCost", "5"}});
    QCOMPARE(app.Press("cmdNext", {true, true, true}),
             (QStringList{kNumberQ, kRomanQ, QStringLiteral("Do you want to leave the facility group blank?")}));
    QCOMPARE(app.PageName(), QStringLiteral("frmFacPicture"));
    const vrlFacility& f = app.hq().Facility();
    QCOMPARE(f.FacFamily() + "|" + f.MinCost() + "|" + f.OrgCost() + "|" + f.RadCost(), "3|{&faclevel * 100}||5");
    QCOMPARE(app.hq().Component(), vrlComponent{});
    app.Show<frmFacBasicInfo>();
    QCOMPARE(app.Text("txtMinCost"), QStringLiteral("{&faclevel * 100}"));
    app.Type("txtOrgCost", "2");
    app.Click("cmdBack");
    QCOMPARE(app.PageName(), QStringLiteral("frmFacStart"));
    QCOMPARE(app.hq().Facility().OrgCost(), std::string("2"));
  }

  void vehicleListIsBuiltInBoxOrderAndReadBack() {
    TestApp app;
    app.Show<frmCompVehicleType>();
    QCOMPARE(app.Checks("chkVType(%1)", 8), QStringLiteral("00000000"));
    QCOMPARE(app.Props({"chkVType(3).text=&Weapon Platform"}), QString());
    app.Click("cmdNext");  // no box: neither Next nor Back leaves
    app.Find("cmdBack")->setFocus(Qt::TabFocusReason);
    app.Key(Qt::Key_Return);  // on a focused button Return presses that button
    QCOMPARE(app.services.MessageTexts(), (QStringList{kVehicleMsg, kVehicleMsg}));
    QCOMPARE(app.PageName(), QStringLiteral("frmCompVehicleType"));
    QCOMPARE(app.hq().Component().VehicleType(), std::string());
    SetVehicle(app, 7, true);  // Drone first, then Weapon Platform
    SetVehicle(app, 3, true);
    app.Click("cmdNext");
    QCOMPARE(app.hq().Component().VehicleType(), std::string("WeapPlatform, Drone"));
    QCOMPARE(app.PageName(), QStringLiteral("frmCompPicture"));
    app.Click("cmdBack");
    QCOMPARE(app.Checks("chkVType(%1)", 8), QStringLiteral("00010001"));
    for (int i = 0; i < 8; ++i) SetVehicle(app, i, true);
    app.Click("cmdBack");
    QCOMPARE(app.hq().Component().VehicleType(),
             std::string("Ship, Base, Satellite, WeapPlatform, Fighter, Mine, Troop, Drone"));
    QCOMPARE(app.PageName(), QStringLiteral("frmCompBasicInfo"));
    for (auto [stored, checks] : {std::pair{"Ship", "10000000"}, {"ship, base", "00000000"}}) {  // letter case counts
      app.hq().Component().SetVehicleType(stored);
      app.Show<frmCompVehicleType>();
      QCOMPARE(app.Checks("chkVType(%1)", 8), QString(checks));
    }
  }

  // A new design's start page: defaults, tab order and focus; the checks in
  // order, nothing stored until they pass; Next stores the fields and opens
  // basic information; Cancel keeps them for the next visit.
  void startPageOfANewDesign_data() {
    QTest::addColumn<int>("which");
    QTest::newRow("component") << 0;
    QTest::newRow("facility") << 1;
  }
  void startPageOfANewDesign() {
    QFETCH(int, which);
    const Twin& t = kTwins[which];
    TestApp app;
    QVERIFY(app.OpenFromMenu(t.option));
    const QString levelsTip =
        which ? QStringLiteral("Enter the number of levels you want of your facility in the box.") : QString();
    QCOMPARE(app.Props({t.name + ".text=", t.desc + ".text=", t.levels + ".text=1", t.grid + ".checked=false",
                        t.levels + ".enabled=true", t.name + ".maxLength=150",
                        t.grid + ".text=&Check this if you would like to create a grid " + t.noun + ".",
                        "cmdBack.enabled=false", "cmdBack.toolTip=", "cmdCancel.text=Cancel",
                        "cmdNext.toolTip=" + QString(which ? "Advances to the next screen." : ""),
                        "cmdCancel.toolTip=" + QString(which ? "Returns to the main menu." : ""),
                        t.levels + ".toolTip=" + levelsTip,
                        (which ? "lblFacLevels" : "lblCompLevels") + QString(".toolTip=") + levelsTip}),
             QString());
    QCOMPARE(app.TabOrder(t.name, 7),
             (QStringList{t.name, t.desc, t.levels, t.grid, "cmdNext", "cmdBack", "cmdCancel"}));
    QCOMPARE(QApplication::focusWidget(), app.Find(t.name));

    ScriptedServices& s = app.services;
    const QString nameMsg = "You must enter a name for your " + t.noun + ".",
                  descQ = "Do you want to leave the description blank?",
                  levelsMsg = "You must enter a number of levels for your " + t.noun + ".",
                  oneMsg = "You must have at least one level for your " + t.noun + ".";
    // Name first, even with every other field empty (Return presses Next).
    app.Type(t.levels, "");
    app.Key(Qt::Key_Return);
    QCOMPARE(s.MessageTexts(), QStringList{nameMsg});
    QVERIFY(s.Messages()[0].buttons == MessageButtons::Ok && s.Messages()[0].title == "Vorlane");
    // The description question; No keeps the page.
    app.Type(t.name, "Laser {&complevel}");
    QCOMPARE(app.Press("cmdNext", {false}), QStringList{descQ});
    // Grid clear and no digits: the "at least one" message, not the grid one.
    QCOMPARE(app.Press("cmdNext", {true}), (QStringList{descQ, oneMsg}));
    QTest::mouseClick(app.Find<QCheckBox>(t.grid), Qt::LeftButton);  // grid set and no digits
    QCOMPARE(app.Press("cmdNext", {true}), (QStringList{descQ, levelsMsg}));
    QTest::mouseClick(app.Find<QCheckBox>(t.grid), Qt::LeftButton);
    app.Type(t.levels, "000");  // no level either
    QCOMPARE(app.Press("cmdNext", {true}), (QStringList{descQ, oneMsg}));
    // Nothing reached the record; with a level the blank description is taken.
    QVERIFY(app.hq().Component() == vrlComponent{} && app.hq().Facility() == vrlFacility{});
    app.Type(t.levels, "2");
    QCOMPARE(app.Press("cmdNext", {true}), QStringList{descQ});
    QCOMPARE(which ? app.hq().Facility().NumFacLevels() : app.hq().Component().NumCompLevels(), std::string("2"));
    QCOMPARE(which ? app.hq().Facility().FacDesc() : app.hq().Component().CompDesc(), std::string());
    QVERIFY(s.PendingAnswers() == 0 && s.UnexpectedQuestions() == 0);

    s.QueueYes();
    app.Click("cmdCancel");
    QVERIFY(app.OpenFromMenu(t.option));
    app.Type({{t.name, "Laser"}, {t.desc, "Cuts things"}, {t.levels, "012"}});
    QTest::mouseClick(app.Find<QCheckBox>(t.grid), Qt::LeftButton);
    s.ClearRecords();
    app.Key(Qt::Key_Return);
    QVERIFY(s.Messages().empty());
    QCOMPARE(app.PageName(), which ? QStringLiteral("frmFacBasicInfo") : QStringLiteral("frmCompBasicInfo"));
    vrlComponent c;
    vrlFacility f;
    c.SetCompName("Laser"), c.SetCompDesc("Cuts things"), c.SetNumCompLevels("12"), c.SetGridComp(true);
    f.SetFacName("Laser"), f.SetFacDesc("Cuts things"), f.SetNumFacLevels("12"), f.SetGridFac(true);
    QVERIFY(which ? app.hq().Facility() == f : app.hq().Component() == c);
    s.QueueYes();
    app.Click("cmdCancel");
    QVERIFY(app.PageName() == "frmMain" && app.PageAs<frmMain>()->optCreate(0)->isChecked());
    QVERIFY(app.OpenFromMenu(t.option));
    QCOMPARE(app.Props({t.name + ".text=Laser", t.desc + ".text=Cuts things", t.levels + ".text=12",
                        t.grid + ".checked=true", t.levels + ".enabled=false"}),
             QString());
  }

  // A description of megabytes is edited in the long box, whole: typing and
  // Next keep every character; a short one goes back to the line box.
  void longDescriptionIsEditedWhole() {
    TestApp app;
    const std::string text(300'000, 'x');
    app.hq().Component().SetCompName("Laser");
    app.hq().Component().SetCompDesc(text);
    app.hq().Component().SetNumCompLevels("3");
    QVERIFY(app.OpenFromMenu(kTwins[0].option));
    auto* longBox = app.Find<LongLineEdit>("txtCompDescLong");
    QVERIFY(longBox && longBox->isVisible() && !app.Find<QLineEdit>("txtCompDesc")->isVisible());
    QCOMPARE(longBox->text().size(), qsizetype(300'000));
    longBox->setFocus();
    QTest::keyClick(longBox, Qt::Key_End);
    QTest::keyClicks(longBox, "!");
    app.Key(Qt::Key_Return);
    QVERIFY(app.services.Messages().empty());
    QCOMPARE(app.PageName(), QStringLiteral("frmCompBasicInfo"));
    QCOMPARE(app.hq().Component().CompDesc(), text + "!");

    app.services.QueueYes();
    app.Click("cmdCancel");
    app.hq().Component().SetCompDesc("Short");
    QVERIFY(app.OpenFromMenu(kTwins[0].option));
    QVERIFY(!app.Find<LongLineEdit>("txtCompDescLong")->isVisible());
    QCOMPARE(app.Text("txtCompDesc"), QStringLiteral("Short"));
  }

  void levelsBoxTogglesWithTheGridAndAdmitsThreeDigits() {
    TestApp app;
    QVERIFY(app.OpenFromMenu(kTwins[0].option));
    app.Type("txtCompLevels", "7");
    auto* grid = app.Find<QCheckBox>("chkGridComp");
    QTest::mouseClick(grid, Qt::LeftButton);
    QCOMPARE(app.Props({"txtCompLevels.enabled=false", "lblCompLevels.enabled=false"}), QString());
    QTest::keyClick(grid, Qt::Key_Space);
    QCOMPARE(app.Props({"txtCompLevels.enabled=true", "lblCompLevels.enabled=true", "txtCompLevels.text=7"}),
             QString());
    app.Type("txtCompLevels", "1a-2.5 9");
    QCOMPARE(app.Text("txtCompLevels"), QStringLiteral("125"));
    auto* box = app.Find<MaskEdit>("txtCompLevels");
    // No level count is cut to the mask; a stored count widens the box.
    for (auto [set, digits] : {std::pair{"-42", "42"}, {"99999", "999"}, {"12345", "12345"}}) {
      box->SetMaskedText(set);
      QCOMPARE(box->Digits(), QString(digits));
    }
    // A mask edit selects its text on focus like any text box.
    app.Find("txtCompName")->setFocus(Qt::TabFocusReason);
    box->setFocus(Qt::TabFocusReason);
    app.Settle();
    QCOMPARE(box->selectedText(), QStringLiteral("12345"));
  }
};

QTEST_MAIN(StartPagesTest)
#include "tst_start_pages.moc"
