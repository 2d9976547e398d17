// The main menu, the vehicle page and the host window that shows them; and
// the page base that every wizard page builds on.
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "app/frmMain.h"
#include "app/frmSetup.h"
#include "wizard/frmVehStart.h"
#include "gui/WizardPage.h"
#include "support/DesignWalk.h"
#include "support/TestApp.h"
#include "wizard/frmCompBasicInfo.h"
#include "wizard/frmCompCost.h"
#include "wizard/frmCompWeaponDamage.h"
#include "wizard/frmCompWeaponInfo2.h"

using namespace vorlane;
using namespace vorlane::test;

class ShellTest : public QObject {
  Q_OBJECT

 private slots:
  // The page base on real pages. A refused Next stays and writes nothing;
  // Cancel asks and writes nothing; the close box returns to the menu
  // without a question.
  void refusedNextAndCancelWriteNothing() {
    TestApp app;
    app.Show<frmCompCost>();
    app.Type("txtSize", "3");
    app.Key(Qt::Key_Return);
    QCOMPARE(app.services.MessageTexts(), QStringList{"You must enter a hitpoint start value."});
    QCOMPARE(app.PageName(), QStringLiteral("frmCompCost"));
    QVERIFY(!app.PageAs<WizardPage>()->Navigating());
    app.services.QueueNo();
    app.Click("cmdCancel");
    QCOMPARE(app.PageName(), QStringLiteral("frmCompCost"));
    app.services.QueueYes();
    app.Key(Qt::Key_Escape);
    QCOMPARE(app.PageName(), QStringLiteral("frmMain"));
    QVERIFY(app.hq().Component() == vrlComponent{} && app.services.Messages().size() == 3);
    app.Show<frmCompCost>();
    app.CloseBox();
    QVERIFY(app.host()->isVisible() && app.services.Messages().size() == 3);
    QCOMPARE(app.PageName(), QStringLiteral("frmMain"));
  }

  // Next and Back close the page as navigated and show the next in the same
  // place, with its title and the focus in its first field.
  void nextAndBackReplaceThePageInPlace() {
    TestApp app;
    app.Show<frmCompCost>();
    app.host()->move(40, 50);
    const QPoint where = app.host()->pos();
    app.Type("txtHP", "5");
    QPointer<WizardPage> first = app.PageAs<WizardPage>();
    QTest::mouseClick(first->NextButton(), Qt::LeftButton);
    QVERIFY(first && first->Navigating());  // closed as navigated, deleted later
    app.Settle();
    QVERIFY(!first && app.PageName() == "frmCompAbility" && app.hq().Component().HP() == "5");
    app.Click("cmdBack");
    QCOMPARE(app.host()->windowTitle(), QStringLiteral("Vorlane v2.0 - Component Design - Component Cost"));
    QVERIFY(app.host()->pos() == where && QApplication::focusWidget() == app.Find("txtMinCost"));
    QCOMPARE(app.Text("txtHP"), QStringLiteral("5"));
  }

  // Enter in an editable combo box presses Next; on a focused button it
  // presses that button; Escape in any field asks to leave.
  void enterAndEscapeReachThePageFromEveryField() {
    TestApp app;
    app.hq().Component().SetGridComp(true);
    app.Show<frmCompBasicInfo>();
    for (const char* field : {"txtFamily", "txtGeneralGroup", "txtCustomGroup"}) app.Type(field, "1");
    auto* combo = app.Find<QComboBox>("cboRestrictions");
    combo->setFocus(Qt::TabFocusReason);
    app.Settle();
    QTest::keyClicks(combo, "Plasma");
    app.Key(Qt::Key_Return);
    QCOMPARE(app.PageName(), QStringLiteral("frmCompVehicleType"));
    QCOMPARE(app.hq().Component().Restrictions(), std::string("Plasma"));
    app.Find<QPushButton>("cmdBack")->setFocus(Qt::TabFocusReason);
    app.Key(Qt::Key_Return);
    QCOMPARE(app.services.MessageTexts(), QStringList{"You must select at least one vehicle type."});
    app.Find("chkVType(0)")->setProperty("checked", true);
    app.Find<QPushButton>("cmdBack")->setFocus(Qt::TabFocusReason);
    app.Key(Qt::Key_Return);
    QCOMPARE(app.PageName(), QStringLiteral("frmCompBasicInfo"));
    app.services.ClearRecords();
    app.services.QueueNo();
    app.Find("txtFamily")->setFocus();
    app.Key(Qt::Key_Escape);
    QCOMPARE(app.services.MessageTexts(), QStringList{"Do you want to return to the main menu?"});
  }

  void menuOpensTheChosenPageInTheSameWindow() {
    TestApp app;
    QCOMPARE(app.PageName(), QStringLiteral("frmMain"));
    QCOMPARE(app.host()->windowTitle(), QStringLiteral("Vorlane v2.0"));
    QVERIFY(app.hq().SEIVDir().empty() && app.hq().ModDir().empty());
    QStringList captions;
    for (int i = 0; i < 4; ++i) captions << app.PageAs<frmMain>()->optCreate(i)->text();
    QCOMPARE(captions, (QStringList{"Design a component.", "Design a facility.", "Design a vehicle.",
                                    "Setup the Vorlane"}));
    QVERIFY(app.PageAs<frmMain>()->optCreate(0)->isChecked());
    QCOMPARE(app.Props({"cmdBack.enabled=false", "cmdClose.text=&Close"}), QString());
    app.host()->move(123, 77);
    const QPoint where = app.host()->pos();
    app.Key(Qt::Key_Return);  // the component is chosen
    QCOMPARE(app.PageName(), QStringLiteral("frmCompStart"));
    QCOMPARE(app.host()->windowTitle(), QStringLiteral("Vorlane v2.0 - Component Design"));
    QVERIFY(app.host()->pos() == where && app.host()->isVisible());
    const std::pair<const char*, const char*> choices[] = {{"frmFacStart", "Vorlane v2.0 - Facility Design"},
                                                           {"frmVehStart", "Vorlane v2.0 - Vehicle Design"},
                                                           {"frmSetup", "Vorlane v2.0 - Component Design"}};
    for (int option = 1; option <= 3; ++option) {
      QVERIFY(app.OpenFromMenu(option));
      QCOMPARE(app.PageName() + "|" + app.host()->windowTitle(),
               QString(choices[option - 1].first) + "|" + choices[option - 1].second);
    }
  }

  // Page after page the window keeps its size and Next its place; only the
  // results window may be larger.
  void everyPageHasOneWindowSize() {
    TestApp app;
    const QSize size = app.host()->size();
    QPoint nextAt;
    QStringList moved;
    auto check = [&](HostedPage* page) {
      app.Settle();
      if (app.host()->size() != size) moved << page->objectName() + " size";
      auto* next = page->findChild<QPushButton*>("cmdNext");
      if (next && nextAt.isNull()) nextAt = next->mapTo(app.host(), QPoint());
      if (next && next->mapTo(app.host(), QPoint()) != nextAt) moved << page->objectName() + " Next";
    };
    connect(app.host(), &HostWindow::PageChanged, this, check);
    DesignWalk walk;
    walk.name = "Laser";
    walk.desc = "Burns.";
    walk.techs = {{"Lasers", "1", "", ""}};
    walk.abilities = {{"Armor", "", "1", ""}};
    QVERIFY(walk.WalkComponent(app));
    for (auto* page : std::initializer_list<HostedPage*>{new frmCompWeaponInfo2(app.hq()), new frmCompWeaponDamage(app.hq()),
                                                          new frmSetup(app.hq()), new frmVehStart(app.hq()),
                                                          new frmMain(app.hq())})
      app.host()->ShowPage(page);
    QVERIFY(walk.WalkFacility(app));
    QVERIFY2(moved.isEmpty(), qPrintable(moved.join(", ")));
    app.Click("cmdNext");
    QCOMPARE(app.PageName(), QStringLiteral("frmDisplayResults"));
    QVERIFY(app.host()->width() >= size.width() && app.host()->height() >= size.height());
    app.Key(Qt::Key_Escape);
    QCOMPARE(app.host()->size(), size);
  }

  void escapeAndCloseEndTheProgramWithoutAQuestion() {
    for (int way = 0; way < 4; ++way) {  // Escape, Close, the menu's and the vehicle page's close box
      TestApp app;
      if (way == 0) app.Key(Qt::Key_Escape);
      if (way == 1) QVERIFY(app.Click("cmdClose"));
      if (way == 3) QVERIFY(app.OpenFromMenu(2));
      if (way >= 2) app.CloseBox();
      QVERIFY(!app.host()->isVisible() && app.services.Messages().empty());
    }
  }

  void vehiclePageOffersOnlyTheWayBack() {
    TestApp app;
    QVERIFY(app.OpenFromMenu(2));
    QCOMPARE(app.PageName(), QStringLiteral("frmVehStart"));
    QCOMPARE(app.Props({"cmdBack.text=<<< &Back", "cmdBack.toolTip=Returns to the previous screen.",
                        "cmdCancel.toolTip=Returns to the main menu.", "cmdNext.toolTip=Advances to the next screen."}),
             QString());
    QVERIFY(app.Click("cmdBack") && app.Click("cmdNext"));
    app.Key(Qt::Key_Return);
    QCOMPARE(app.PageName(), QStringLiteral("frmVehStart"));
    QVERIFY(app.services.Messages().empty());
    app.services.QueueNo();
    app.Key(Qt::Key_Escape);
    QCOMPARE(app.services.MessageTexts(), QStringList{"Do you want to return to the main menu?"});
    QVERIFY(app.services.Messages().back().title == "Vorlane" &&
            app.services.Messages().back().buttons == MessageButtons::YesNo);
    QCOMPARE(app.PageName(), QStringLiteral("frmVehStart"));
    app.services.QueueYes();
    QVERIFY(app.Click("cmdCancel"));
    QCOMPARE(app.PageName(), QStringLiteral("frmMain"));
    QVERIFY(app.PageAs<frmMain>()->optCreate(0)->isChecked());
    QCOMPARE(app.host()->windowTitle(), QStringLiteral("Vorlane v2.0"));
  }
};

QTEST_MAIN(ShellTest)
#include "tst_shell.moc"
