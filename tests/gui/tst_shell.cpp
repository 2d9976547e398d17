// The main menu, the vehicle page and the host window that shows them.
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "app/frmMain.h"
#include "app/frmSetup.h"
#include "wizard/frmVehStart.h"
#include "support/DesignWalk.h"
#include "support/TestApp.h"
#include "wizard/frmCompWeaponDamage.h"
#include "wizard/frmCompWeaponInfo2.h"

using namespace vorlane;
using namespace vorlane::test;

class ShellTest : public QObject {
  Q_OBJECT

 private slots:
  void firstStartShowsMenuWithComponentChosen() {
    TestApp app;
    QCOMPARE(app.PageName(), QStringLiteral("frmMain"));
    QCOMPARE(app.host()->windowTitle(), QStringLiteral("Vorlane v2.0"));
    QVERIFY(app.hq().SEIVDir().empty() && app.hq().ModDir().empty());
    auto* menu = app.PageAs<frmMain>();
    QVERIFY(menu->optCreate(0)->isChecked());
    QStringList captions;
    for (int i = 0; i < 4; ++i) captions << menu->optCreate(i)->text();
    QCOMPARE(captions, (QStringList{"Design a component.", "Design a facility.", "Design a vehicle.",
                                    "Setup the Vorlane"}));
    QVERIFY(!app.Find<QPushButton>("cmdBack")->isEnabled());
    QCOMPARE(app.Find<QPushButton>("cmdClose")->text(), QStringLiteral("&Close"));
  }

  void enterOpensTheChosenPageInTheSameWindow() {
    TestApp app;
    app.host()->move(123, 77);
    const QPoint where = app.host()->pos();
    app.Key(Qt::Key_Return);
    QCOMPARE(app.PageName(), QStringLiteral("frmCompStart"));
    QCOMPARE(app.host()->windowTitle(), QStringLiteral("Vorlane v2.0 - Component Design"));
    QCOMPARE(app.host()->pos(), where);
    QVERIFY(app.host()->isVisible());

    const struct {
      int option;
      const char* page;
      const char* title;
    } choices[] = {{1, "frmFacStart", "Vorlane v2.0 - Facility Design"},
                   {2, "frmVehStart", "Vorlane v2.0 - Vehicle Design"},
                   {3, "frmSetup", "Vorlane v2.0 - Component Design"}};
    for (const auto& choice : choices) {
      app.hq().ShowMainMenu();
      app.Settle();
      QVERIFY(app.ChooseMenuOption(choice.option));
      QVERIFY(app.Click("cmdNext"));
      QCOMPARE(app.PageName(), QString::fromLatin1(choice.page));
      QCOMPARE(app.host()->windowTitle(), QString::fromLatin1(choice.title));
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
    {
      TestApp app;
      app.Key(Qt::Key_Escape);
      QVERIFY(!app.host()->isVisible());
    }
    {
      TestApp app;
      QVERIFY(app.Click("cmdClose"));
      QVERIFY(!app.host()->isVisible());
    }
    for (int option : {0, 2}) {  // the menu's and the vehicle page's close box
      TestApp app;
      if (option) QVERIFY(app.OpenFromMenu(option));
      app.CloseBox();
      QVERIFY(!app.host()->isVisible());
      QVERIFY(app.services.Messages().empty());
    }
  }

  void vehiclePageOffersOnlyTheWayBack() {
    TestApp app;
    QVERIFY(app.OpenFromMenu(2));
    QCOMPARE(app.PageName(), QStringLiteral("frmVehStart"));
    QCOMPARE(app.Find<QPushButton>("cmdBack")->text(), QStringLiteral("<<< &Back"));
    QCOMPARE(app.Find<QPushButton>("cmdBack")->toolTip(), QStringLiteral("Returns to the previous screen."));
    QCOMPARE(app.Find<QPushButton>("cmdCancel")->toolTip(), QStringLiteral("Returns to the main menu."));
    QCOMPARE(app.Find<QPushButton>("cmdNext")->toolTip(), QStringLiteral("Advances to the next screen."));

    QVERIFY(app.Click("cmdBack"));
    QVERIFY(app.Click("cmdNext"));
    app.Key(Qt::Key_Return);
    QCOMPARE(app.PageName(), QStringLiteral("frmVehStart"));
    QVERIFY(app.services.Messages().empty());

    app.services.QueueNo();
    app.Key(Qt::Key_Escape);
    QCOMPARE(app.services.MessageTexts(), QStringList{"Do you want to return to the main menu?"});
    QCOMPARE(app.services.Messages().back().title, QStringLiteral("Vorlane"));
    QVERIFY(app.services.Messages().back().buttons == MessageButtons::YesNo);
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
