// The main menu, the vehicle page and the host window that shows them; and
// the page base that every wizard page builds on, exercised through a
// two-page wizard made for the test.
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>
#include <QRadioButton>
#include <QTest>

#include "app/frmMain.h"
#include "app/frmSetup.h"
#include "wizard/frmVehStart.h"
#include "gui/WizardPage.h"
#include "support/DesignWalk.h"
#include "support/TestApp.h"
#include "wizard/frmCompWeaponDamage.h"
#include "wizard/frmCompWeaponInfo2.h"

using namespace vorlane;
using namespace vorlane::test;

namespace {

class SecondPage;

// Edits CompName; refuses Next while the name is "bad".
class FirstPage : public WizardPage {
 public:
  explicit FirstPage(Session& session) : WizardPage(session) {
    setObjectName("FirstPage");
    setWindowTitle(kComponentDesignTitle + " - First");
    name = new QLineEdit(Body());
    name->setObjectName("txtName");
    combo = new QComboBox(Body());
    combo->setObjectName("cboGroup");
    combo->setEditable(true);
    combo->addItems({"Armor", "Shields"});
    plain = new QLineEdit(Body());
    plain->setObjectName("txtPlain");
    SetSelectAllOnFocus(plain, false);
    auto* layout = new QVBoxLayout(Body());
    for (QWidget* w : {static_cast<QWidget*>(name), static_cast<QWidget*>(combo), static_cast<QWidget*>(plain)})
      layout->addWidget(w);
    name->setText(QString::fromStdString(session.Component().CompName()));
    combo->setEditText(QString::fromStdString(session.Component().Family()));
  }

  QLineEdit* name;
  QComboBox* combo;
  QLineEdit* plain;

 protected:
  bool CheckFields() override {
    if (name->text() == "bad") {
      session().services().Inform(this, "Bad name.");
      return false;
    }
    return true;
  }
  void SaveFields() override {
    session().Component().SetCompName(name->text().toStdString());
    session().Component().SetFamily(combo->currentText().toStdString());
  }
  HostedPage* CreateNextPage() override;
};

// Edits CompDesc; Back returns to the first page.
class SecondPage : public WizardPage {
 public:
  explicit SecondPage(Session& session) : WizardPage(session) {
    setObjectName("SecondPage");
    setWindowTitle(kComponentDesignTitle + " - Second");
    desc = new QLineEdit(Body());
    desc->setObjectName("txtDesc");
    desc->setText(QString::fromStdString(session.Component().CompDesc()));
    (new QVBoxLayout(Body()))->addWidget(desc);
  }
  QLineEdit* desc;

 protected:
  void SaveFields() override { session().Component().SetCompDesc(desc->text().toStdString()); }
  HostedPage* CreatePreviousPage() override { return new FirstPage(session()); }
};

HostedPage* FirstPage::CreateNextPage() { return new SecondPage(session()); }

void OpenFirst(TestApp& app) {
  app.host()->ShowPage(new FirstPage(app.hq()));
  app.Settle();
}

}  // namespace

class ShellTest : public QObject {
  Q_OBJECT

 private slots:
  // A refused Next stays and writes nothing; Cancel asks and writes nothing;
  // the close box returns to the menu without a question.
  void refusedNextAndCancelWriteNothing() {
    TestApp app;
    OpenFirst(app);
    app.Type("txtName", "bad");
    app.Key(Qt::Key_Return);
    QCOMPARE(app.services.MessageTexts(), QStringList{"Bad name."});
    QCOMPARE(app.PageName(), QStringLiteral("FirstPage"));
    QVERIFY(!app.PageAs<WizardPage>()->Navigating());
    app.services.QueueNo();
    app.Click("cmdCancel");
    QCOMPARE(app.PageName(), QStringLiteral("FirstPage"));
    app.services.QueueYes();
    app.Key(Qt::Key_Escape);
    QCOMPARE(app.PageName(), QStringLiteral("frmMain"));
    QCOMPARE(app.hq().Component().CompName(), std::string());
    QCOMPARE(app.services.Messages().size(), std::size_t{3});
    OpenFirst(app);
    app.CloseBox();
    QVERIFY(app.host()->isVisible());
    QCOMPARE(app.PageName(), QStringLiteral("frmMain"));
    QCOMPARE(app.services.Messages().size(), std::size_t{3});
  }

  void nextAndBackCarryTheFieldsThroughTheRecord() {
    TestApp app;
    OpenFirst(app);
    app.host()->move(40, 50);
    const QPoint where = app.host()->pos();
    app.Type("txtName", "Laser");
    QPointer<WizardPage> first = app.PageAs<WizardPage>();
    QTest::mouseClick(first->NextButton(), Qt::LeftButton);
    QVERIFY(first && first->Navigating());  // closed as navigated, deleted later
    app.Settle();
    QVERIFY(!first);
    QCOMPARE(app.PageName(), QStringLiteral("SecondPage"));
    QCOMPARE(app.host()->windowTitle(), QStringLiteral("Vorlane v2.0 - Component Design - Second"));
    QCOMPARE(app.host()->pos(), where);
    QCOMPARE(QApplication::focusWidget(), app.Find<QWidget>("txtDesc"));
    QCOMPARE(app.hq().Component().CompName(), std::string("Laser"));

    // Back writes without checks and shows the previous page from the record.
    app.Type("txtDesc", "typed before Back");
    app.Click("cmdBack");
    QCOMPARE(app.PageName(), QStringLiteral("FirstPage"));
    QCOMPARE(app.hq().Component().CompDesc(), std::string("typed before Back"));
    QCOMPARE(app.Find<QLineEdit>("txtName")->text(), QStringLiteral("Laser"));
    app.Key(Qt::Key_Return);
    QCOMPARE(app.Find<QLineEdit>("txtDesc")->text(), QStringLiteral("typed before Back"));
  }

  void enterAndEscapeReachThePageFromEveryField() {
    TestApp app;
    OpenFirst(app);
    auto* page = static_cast<FirstPage*>(app.page());
    // Enter in the editable combo box presses Next too.
    page->combo->setFocus(Qt::TabFocusReason);
    app.Settle();
    QTest::keyClicks(page->combo, "Plasma");
    app.Key(Qt::Key_Return);
    QCOMPARE(app.PageName(), QStringLiteral("SecondPage"));
    QCOMPARE(app.hq().Component().Family(), std::string("Plasma"));

    // Enter on a focused button presses that button.
    app.Find<QPushButton>("cmdBack")->setFocus(Qt::TabFocusReason);
    app.Key(Qt::Key_Return);
    QCOMPARE(app.PageName(), QStringLiteral("FirstPage"));

    app.services.QueueNo();
    static_cast<FirstPage*>(app.page())->plain->setFocus();
    app.Key(Qt::Key_Escape);
    QCOMPARE(app.services.MessageTexts(), QStringList{"Do you want to return to the main menu?"});
  }

  void fieldsSelectAllOnFocusUnlessExcepted() {
    TestApp app;
    app.hq().Component().SetFamily("Beam Weapons");
    OpenFirst(app);
    auto* page = static_cast<FirstPage*>(app.page());
    page->plain->setText("keep caret");
    page->combo->setFocus(Qt::TabFocusReason);
    app.Settle();
    QCOMPARE(page->combo->lineEdit()->selectedText(), QStringLiteral("Beam Weapons"));
    QTest::mouseClick(page->plain, Qt::LeftButton, {}, QPoint(4, page->plain->height() / 2));
    app.Settle();
    QVERIFY(page->plain->hasFocus());
    QVERIFY(page->plain->selectedText().isEmpty());
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
      app.hq().ShowMainMenu();
      app.Settle();
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
