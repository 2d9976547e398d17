// The main menu, the vehicle page and the host window; the setup page, its
// settings file and the directory picker; the program's real message boxes
// and picker, driven by a timer while they wait modally.
#include <functional>

#include "app/QtServices.h"
#include "app/frmDirBrowse.h"
#include "app/frmMain.h"
#include "app/frmSetup.h"
#include "support/TestApp.h"

using namespace vorlane;
using namespace vorlane::test;

namespace {

QStringList Entries(QListWidget* list) {
  QStringList entries;
  for (int i = 0; i < list->count(); ++i) entries << list->item(i)->text().trimmed();
  return entries;
}

// Runs `act` on the modal window once it is shown.
void WhenModal(std::function<void(QWidget*)> act) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal->isVisible()) {
      timer->stop();
      timer->deleteLater();
      act(modal);
    }
  });
  timer->start();
}

}  // namespace

class ShellTest : public QObject {
  Q_OBJECT

 private slots:
  void menuOpensTheChosenPageInTheSameWindow() {
    TestApp app;
    QCOMPARE(app.PageName(), QStringLiteral("frmMain"));
    QCOMPARE(app.host()->windowTitle(), QStringLiteral("Vorlane v2.0"));
    QVERIFY(app.hq().SEIVDir().empty() && app.hq().ModDir().empty());
    QStringList captions;
    for (int i = 0; i < 4; ++i) captions << app.PageAs<frmMain>()->optCreate(i)->text();
    QCOMPARE(captions,
             (QStringList{"Design a component.", "Design a facility.", "Design a vehicle.", "Setup the Vorlane"}));
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

  // Every page keeps the window's size and Next its place; only the results
  // window may be larger, and leaving it brings the size back.
  void everyPageHasOneWindowSize() {
    TestApp app;
    const QSize size = app.host()->size();
    QPoint nextAt;
    for (const HQ::PageMaker& make : HQ::PageMakers()) {
      app.host()->ShowPage(make(app.hq()));
      app.Settle();
      QVERIFY2(app.host()->size() == size, qPrintable(app.PageName()));
      QWidget* next = app.Find("cmdNext");
      if (next && nextAt.isNull()) nextAt = next->mapTo(app.host(), QPoint());
      QVERIFY2(!next || next->mapTo(app.host(), QPoint()) == nextAt, qPrintable(app.PageName()));
    }
    app.ShowResults(QByteArray("Name := Mine\r\n").repeated(99));
    QVERIFY(app.host()->width() >= size.width() && app.host()->height() >= size.height());
    app.Key(Qt::Key_Escape);
    QVERIFY(app.PageName() == "frmFacGenerate" && app.host()->size() == size);
  }

  // Escape, Close, the close box on the menu, vehicle and setup pages (setup
  // edits unsaved), Ctrl+Q on a page merely opened (its level 0 shown as 1).
  void escapeAndCloseEndTheProgramWithoutAQuestion() {
    for (int way = 0; way < 6; ++way) {
      TestApp app;
      if (way == 0) app.Key(Qt::Key_Escape);
      if (way == 5) QVERIFY(app.Click("cmdNext"));
      if (way == 5) app.Key(Qt::Key_Q, Qt::ControlModifier);
      if (way == 1) QVERIFY(app.Click("cmdClose"));
      if (way >= 3) QVERIFY(app.OpenFromMenu(way == 3 ? 2 : 3));
      if (way == 4) QVERIFY(app.Type("txtSEIVDir", "/x"));
      if (way >= 2 && way < 5) app.CloseBox();
      QVERIFY(!app.host()->isVisible() && app.services.Messages().empty() && !app.SettingsBytes());
    }
  }

  void vehiclePageOffersOnlyTheWayBack() {
    TestApp app;
    QVERIFY(app.OpenFromMenu(2));
    QCOMPARE(app.Props({"cmdBack.text=<<< &Back", "cmdBack.toolTip=Returns to the previous screen.",
                        "cmdCancel.toolTip=Returns to the main menu.", "cmdNext.toolTip=Advances to the next screen."}),
             QString());
    QVERIFY(app.Click("cmdBack") && app.Click("cmdNext"));
    app.Key(Qt::Key_Return);
    QVERIFY(app.PageName() == "frmVehStart" && app.services.Messages().empty());
    app.services.QueueNo();
    app.Key(Qt::Key_Escape);
    QCOMPARE(app.services.MessageTexts(), QStringList{"Do you want to return to the main menu?"});
    QVERIFY(app.services.Messages().back().title == "Vorlane" && app.PageName() == "frmVehStart" &&
            app.services.Messages().back().buttons == MessageButtons::YesNo);
    app.services.QueueYes();
    QVERIFY(app.Click("cmdCancel") && app.PageName() == "frmMain");
  }

  // A real question box has Yes and No and no icon; Return presses its
  // default button, never the one that throws work away; Escape cancels. The
  // real picker returns only after OK; a missing sound plays nothing.
  void realServicesKeepTheWork() {
    QtServices qt;
    Services& services = qt;
    QWidget owner;
    owner.show();
    QString seen;                           // the last box's title, text, icon, standard buttons and captions
    const auto answer = [&seen](int key) {  // then presses `key` in it (0: clicks No)
      WhenModal([&seen, key](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        seen = QStringList{box->windowTitle(), box->text(), QString::number(box->icon()),
                           QString::number(box->standardButtons().toInt()), ""}
                   .join('|');
        for (QAbstractButton* b : box->buttons()) seen += b->text() + '|';
        key ? QTest::keyClick(box, Qt::Key(key)) : box->button(QMessageBox::No)->click();
      });
    };
    answer(0);
    QVERIFY(services.ShowMessage(&owner, "Line one\nline <b>two</b>", MessageButtons::YesNo) == MessageAnswer::No);
    const QString yesNo = QString::number(int(QMessageBox::Yes | QMessageBox::No));
    QVERIFY2(seen.startsWith("Vorlane|Line one\nline <b>two</b>|0|" + yesNo + "|"), qPrintable(seen));
    answer(Qt::Key_Return);
    QVERIFY(services.ShowMessage(&owner, "Done", MessageButtons::Ok, "Error") == MessageAnswer::Ok);
    QCOMPARE(seen.section('|', 0, 0) + "|" + seen.section('|', 3, 3), "Error|" + QString::number(int(QMessageBox::Ok)));
    for (int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
      answer(key);
      QVERIFY(!services.Ask(&owner, "Do you want to lose your changes?"));
      answer(key);
      QVERIFY(services.AskToSave(&owner, "The component design has unsaved changes.") == SaveAnswer::Cancel);
      for (const char* text : {"|&Save|", "|&Discard|", "|Cancel|"}) QVERIFY2(seen.contains(text), qPrintable(seen));
    }
    QVERIFY(!services.PlaySound(&owner, "/no/such/sound.wav") && owner.isEnabled());

    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkdir("Mod"));
    WhenModal([&](QWidget* w) {
      auto* picker = qobject_cast<frmDirBrowse*>(w);
      QVERIFY(picker);
      QCOMPARE(picker->Path(), QDir::cleanPath(root.path()));
      picker->SetPath(QDir(root.path()).filePath("Mod"));
      QTest::mouseClick(picker->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
    });
    QCOMPARE(services.ChooseDirectory(nullptr, root.path()),
             std::optional<QString>(QDir::cleanPath(root.path()) + "/Mod"));
    WhenModal([&](QWidget* w) { QTest::mouseClick(w->findChild<QPushButton*>("cmdCancel"), Qt::LeftButton); });
    QCOMPARE(services.ChooseDirectory(nullptr, root.path()), std::optional<QString>());
  }

  void coreMessagesReachTheMessageBoxes() {
    test::ScriptedServices scripted;
    ServicesMessageSink sink(scripted, nullptr);
    scripted.QueueYes();
    QVERIFY(sink.Show("Error", "Zahl \xC2\xB5 fehlt", MessageButtons::YesNo) == MessageAnswer::Yes);
    QVERIFY(sink.Show("Error", "Component not generated.", MessageButtons::Ok) == MessageAnswer::Ok);
    QVERIFY(scripted.Messages().size() == 2 && scripted.Messages()[1].buttons == MessageButtons::Ok);
    QCOMPARE(scripted.Messages()[0].title + "|" + scripted.Messages()[0].text,
             QString::fromUtf8("Error|Zahl \u00B5 fehlt"));
  }

  void okWritesTheFileAndUpdatesTheProgram() {
    TestApp app(QByteArray("/games/SE IV\r\n/mods/Big Mod\r\n"));
    QCOMPARE(app.hq().SEIVDir(), std::string("/games/SE IV"));
    QVERIFY(app.OpenFromMenu(3));
    QCOMPARE(app.Props({"txtSEIVDir.text=/games/SE IV", "txtModDir.text=/mods/Big Mod"}), QString());
    QVERIFY(!app.PageAs<frmSetup>()->DirsChanged);
    app.Type({{"txtSEIVDir", ""}, {"txtModDir", ""}});
    app.Key(Qt::Key_Return);  // nothing typed: one empty line
    QVERIFY(app.PageName() == "frmMain" && app.SettingsBytes() == QByteArray("\r\n"));

    QVERIFY(app.OpenFromMenu(3));
    app.Type({{"txtSEIVDir", "/Games/SEIV Gold "}, {"txtModDir", "/Mods/Star Wars"}});
    app.Key(Qt::Key_Return);
    QCOMPARE(app.SettingsBytes(), std::optional<QByteArray>("/Games/SEIV Gold \r\n/Mods/Star Wars\r\n"));
    QCOMPARE(app.hq().SEIVDir() + "|" + app.hq().ModDir(), std::string("/Games/SEIV Gold |/Mods/Star Wars"));
    TestApp again(*app.SettingsBytes());  // a fresh start reads them back
    QVERIFY(app.services.Messages().empty() && again.hq().ModDir() == "/Mods/Star Wars");
  }

  // Cancel asks only after edits; the picker starts in the box's directory
  // (empty: the current one); its Cancel changes nothing.
  void cancelAsksOnlyAfterEditsAndBrowseWaitsForOk() {
    TestApp app(QByteArray("/seiv\r\n"));
    QVERIFY(app.OpenFromMenu(3));
    app.services.QueueDirectory(std::nullopt);
    app.Click("cmdBrowseMod");
    QCOMPARE(app.services.DirectoryRequests(), QStringList{QDir::currentPath()});
    QVERIFY(app.Text("txtModDir").isEmpty() && !app.PageAs<frmSetup>()->DirsChanged);
    app.Key(Qt::Key_Escape);
    QVERIFY(app.PageName() == "frmMain" && app.services.Messages().empty());

    QVERIFY(app.OpenFromMenu(3));
    app.Type("txtModDir", "/m");
    QVERIFY(app.PageAs<frmSetup>()->DirsChanged);
    app.services.QueueNo();
    app.Click("cmdCancel");
    QCOMPARE(app.services.MessageTexts(), QStringList{"Do you want to lose your changes?"});
    QVERIFY(app.services.Messages()[0].buttons == MessageButtons::YesNo && app.Text("txtModDir") == "/m");

    app.services.QueueYes();
    app.Key(Qt::Key_Escape);
    QVERIFY(app.PageName() == "frmMain" && app.hq().ModDir().empty() && app.SettingsBytes() == QByteArray("/seiv\r\n"));

    QVERIFY(app.OpenFromMenu(3));
    app.services.QueueDirectory(QStringLiteral("/chosen/mod dir"));
    app.Click("cmdBrowseMod");
    QVERIFY(app.Text("txtModDir") == "/chosen/mod dir" && app.PageAs<frmSetup>()->DirsChanged);
    app.services.QueueDirectory(std::nullopt);  // a filled box starts the picker there
    app.Click("cmdBrowseMod");
    QCOMPARE(app.services.DirectoryRequests().last() + "|" + app.Text("txtModDir"),
             QStringLiteral("/chosen/mod dir|/chosen/mod dir"));
  }

  void unwritableSettingsFileIsReported() {
    TestApp app;
    QVERIFY(QDir(app.Dir()).mkdir("Vorlane.ini"));  // the file's place is taken
    QVERIFY(app.OpenFromMenu(3));
    app.Type("txtSEIVDir", "/seiv");
    app.Click("cmdOK");
    const RecordedMessage& m = app.services.Messages().at(0);
    QVERIFY(app.services.Messages().size() == 1 && m.buttons == MessageButtons::Ok && m.title == "Vorlane");
#ifdef Q_OS_WIN
    const QString reason = QStringLiteral("Permission denied");  // the C runtime's word for a folder in the way
#else
    const QString reason = QStringLiteral("Is a directory");
#endif
    QVERIFY2(QDir::fromNativeSeparators(m.text).contains(app.SettingsPath()) && m.text.contains(reason),
             qPrintable(m.text));
    QVERIFY(app.hq().SEIVDir() == "/seiv" && app.PageName() == "frmMain");  // still applied for this run
  }

  void pickerDescendsClimbsAndChooses() {
    QTemporaryDir root;
    for (const char* dir : {"Game/Pictures", "Game/.hidden wine", "Game/Sounds"})
      QVERIFY(QDir(root.path()).mkpath(dir));
    const QString game = QDir(root.path()).filePath("Game");

    frmDirBrowse picker;
    QCOMPARE(picker.windowTitle() + "|" + picker.findChild<QPushButton*>("cmdOK")->text(), "Select directory:|&OK");
    // It starts at the nearest directory that exists.
    picker.Start(game + "/gone/deeper");
    QCOMPARE(picker.Path(), game);
    picker.Start(QString());
    QCOMPARE(picker.Path(), QDir::cleanPath(QDir::currentPath()));
    // The drive list holds the file system's root, and the drive of the path.
    auto* drives = picker.findChild<QComboBox*>("drvDrive");
#ifndef Q_OS_WIN
    QVERIFY(frmDirBrowse::Drives().contains("/"));
#endif
    QVERIFY(picker.Path().startsWith(drives->currentText()));
    // Choosing a drive moves to it; coming back returns where the list was.
    picker.SetPath(root.path());
    const int rootDrive = drives->currentIndex();  // the drive of the temporary folder
    QVERIFY(QDir::cleanPath(root.path()).startsWith(drives->currentText()));
    const int other = drives->count() > 1 ? (rootDrive == 0 ? 1 : 0) : rootDrive;
    drives->setCurrentIndex(other);
    emit drives->activated(other);
    QVERIFY(picker.Path().startsWith(drives->itemText(other)));
    if (other != rootDrive) {
      drives->setCurrentIndex(rootDrive);
      emit drives->activated(rootDrive);
      QCOMPARE(picker.Path(), QDir::cleanPath(root.path()));
    }

    picker.Start(game);
    picker.show();
    QVERIFY(picker.Cancelled() && picker.Path() == game);
    auto* list = picker.findChild<QListWidget*>("dirDirectory");
    QStringList entries = Entries(list);
    QCOMPARE(entries.mid(entries.size() - 4), (QStringList{"Game", ".hidden wine", "Pictures", "Sounds"}));
    QCOMPARE(list->currentItem()->text().trimmed(), QStringLiteral("Game"));

    // Descend into Pictures, then climb back to the temporary directory.
    emit list->itemActivated(list->item(entries.indexOf("Pictures")));
    QCOMPARE(picker.Path(), game + "/Pictures");
    entries = Entries(list);
    emit list->itemActivated(list->item(entries.indexOf(QFileInfo(root.path()).fileName())));
    QVERIFY(picker.Path() == QDir::cleanPath(root.path()) && Entries(list).endsWith("Game"));

    // Enter in the list only opens entries; on the focused OK it chooses.
    list->setCurrentRow(0);
    QTest::keyClick(list, Qt::Key_Return);
    const QString top = QDir::cleanPath(root.path()).section('/', 0, 0) + '/';  // "/", or "C:/" on Windows
    QVERIFY2(picker.isVisible() && picker.Path() == top, qPrintable(picker.Path()));
    picker.SetPath(root.path());
    picker.findChild<QPushButton*>("cmdOK")->setFocus();
    QTest::keyClick(picker.findChild<QPushButton*>("cmdOK"), Qt::Key_Return);
    QVERIFY(!picker.Cancelled() && !picker.isVisible() && picker.ChosenPath() == QDir::cleanPath(root.path()));
  }
};

QTEST_MAIN(ShellTest)
#include "tst_shell.moc"
