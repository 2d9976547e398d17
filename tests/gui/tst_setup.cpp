// The setup page, the settings file it writes and the directory picker; and
// the program's own services: the real message boxes and directory picker,
// driven by a timer while they wait modally.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
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

class SetupTest : public QObject {
  Q_OBJECT

 private slots:
  void questionBoxHasYesNoAndNoIcon() {
    QtServices qt;
    Services& services = qt;
    QWidget owner;
    owner.show();
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::Warning;
    int buttons = 0;
    WhenModal([&](QWidget* w) {
      auto* box = qobject_cast<QMessageBox*>(w);
      QVERIFY(box);
      title = box->windowTitle();
      text = box->text();
      icon = box->icon();
      buttons = box->standardButtons();
      box->button(QMessageBox::No)->click();
    });
    const MessageAnswer answer = services.ShowMessage(&owner, "Line one\nline <b>two</b>", MessageButtons::YesNo);
    QVERIFY(answer == MessageAnswer::No && icon == QMessageBox::NoIcon);
    QCOMPARE(title + "|" + text, QStringLiteral("Vorlane|Line one\nline <b>two</b>"));
    QCOMPARE(buttons, int(QMessageBox::Yes | QMessageBox::No));

    WhenModal([&](QWidget* w) {
      auto* box = qobject_cast<QMessageBox*>(w);
      title = box->windowTitle();
      buttons = box->standardButtons();
      QTest::keyClick(box, Qt::Key_Return);
    });
    QVERIFY(services.ShowMessage(&owner, "Done", MessageButtons::Ok, "Error") == MessageAnswer::Ok);
    QVERIFY(title == "Error" && buttons == int(QMessageBox::Ok));
  }

  // Return presses the default button of a real box: never the one that
  // throws work away; Escape cancels.
  void returnInARealQuestionKeepsTheWork() {
    QtServices qt;
    Services& services = qt;
    QWidget owner;
    owner.show();
    for (int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
      WhenModal([key](QWidget* w) { QTest::keyClick(w, Qt::Key(key)); });
      QVERIFY(!services.Ask(&owner, "Do you want to lose your changes?"));
      QString buttons;
      WhenModal([key, &buttons](QWidget* w) {
        for (QAbstractButton* b : qobject_cast<QMessageBox*>(w)->buttons()) buttons += b->text() + '|';
        QTest::keyClick(w, Qt::Key(key));
      });
      QVERIFY(services.AskToSave(&owner, "The component design has unsaved changes.") == SaveAnswer::Cancel);
      for (const char* text : {"&Save|", "&Discard|", "Cancel|"}) QVERIFY2(buttons.contains(text), qPrintable(buttons));
    }
  }

  void directoryPickerReturnsOnlyAfterOk() {
    QtServices services;
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

    WhenModal([&](QWidget* w) { QTest::keyClick(w->findChild<QListWidget*>(), Qt::Key_Escape); });
    QCOMPARE(services.ChooseDirectory(nullptr, root.path()), std::optional<QString>());
  }

  void coreMessagesReachTheMessageBoxes() {
    test::ScriptedServices scripted;
    ServicesMessageSink sink(scripted, nullptr);
    scripted.QueueYes();
    QVERIFY(sink.Show("Error", "Zahl \xC2\xB5 fehlt", MessageButtons::YesNo) == MessageAnswer::Yes);
    QVERIFY(sink.Show("Error", "Component not generated.", MessageButtons::Ok) == MessageAnswer::Ok);
    QCOMPARE(scripted.Messages().size(), std::size_t{2});
    QCOMPARE(scripted.Messages()[0].title + "|" + scripted.Messages()[0].text, QString::fromUtf8("Error|Zahl \u00B5 fehlt"));
    QVERIFY(scripted.Messages()[1].buttons == MessageButtons::Ok);
    QtServices services;
    QWidget owner;
    QVERIFY(!services.PlaySound(&owner, "/no/such/sound.wav") && owner.isEnabled());  // a missing sound plays nothing
  }

  void okWritesTheFileAndUpdatesTheProgram() {
    TestApp app(QByteArray("/games/SE IV\r\n/mods/Big Mod\r\n"));
    QCOMPARE(app.hq().SEIVDir(), std::string("/games/SE IV"));
    QVERIFY(app.OpenFromMenu(3));
    QCOMPARE(app.PageName(), QStringLiteral("frmSetup"));
    QCOMPARE(app.Props({"txtSEIVDir.text=/games/SE IV", "txtModDir.text=/mods/Big Mod"}), QString());
    QVERIFY(!app.PageAs<frmSetup>()->DirsChanged);
    app.Type("txtSEIVDir", "");
    app.Type("txtModDir", "");
    app.Key(Qt::Key_Return);  // nothing typed: one empty line
    QCOMPARE(app.PageName(), QStringLiteral("frmMain"));
    QCOMPARE(app.SettingsBytes(), std::optional<QByteArray>("\r\n"));

    QVERIFY(app.OpenFromMenu(3));
    app.Type("txtSEIVDir", "/Games/SEIV Gold ");
    app.Type("txtModDir", "/Mods/Star Wars");
    app.Key(Qt::Key_Return);
    QCOMPARE(app.SettingsBytes(), std::optional<QByteArray>("/Games/SEIV Gold \r\n/Mods/Star Wars\r\n"));
    QCOMPARE(app.hq().SEIVDir() + "|" + app.hq().ModDir(), std::string("/Games/SEIV Gold |/Mods/Star Wars"));
    QVERIFY(app.services.Messages().empty());

    // A fresh start reads the same directories back.
    TestApp again(*app.SettingsBytes());
    QCOMPARE(again.hq().ModDir(), std::string("/Mods/Star Wars"));
  }

  void cancelAsksOnlyAfterEdits() {
    TestApp app(QByteArray("/seiv\r\n"));
    QVERIFY(app.OpenFromMenu(3));
    app.Key(Qt::Key_Escape);
    QCOMPARE(app.PageName(), QStringLiteral("frmMain"));
    QVERIFY(app.services.Messages().empty());

    QVERIFY(app.OpenFromMenu(3));
    app.Type("txtModDir", "/m");
    QVERIFY(app.PageAs<frmSetup>()->DirsChanged);
    app.services.QueueNo();
    app.Click("cmdCancel");
    QCOMPARE(app.services.MessageTexts(), QStringList{"Do you want to lose your changes?"});
    QVERIFY(app.services.Messages()[0].buttons == MessageButtons::YesNo);
    QCOMPARE(app.PageName() + "|" + app.Text("txtModDir"), QStringLiteral("frmSetup|/m"));

    app.services.QueueYes();
    app.Key(Qt::Key_Escape);
    QCOMPARE(app.PageName(), QStringLiteral("frmMain"));
    QCOMPARE(app.hq().ModDir(), std::string());
    QCOMPARE(app.SettingsBytes(), std::optional<QByteArray>("/seiv\r\n"));
  }

  void browseWaitsForThePickersOk() {
    TestApp app;
    QVERIFY(app.OpenFromMenu(3));
    // An empty box starts the picker in the current directory; Cancel changes nothing.
    app.services.QueueDirectory(std::nullopt);
    app.Click("cmdBrowseSEIV");
    QCOMPARE(app.services.DirectoryRequests(), QStringList{QDir::currentPath()});
    QVERIFY(app.Text("txtSEIVDir").isEmpty() && !app.PageAs<frmSetup>()->DirsChanged);
    app.Click("cmdCancel");
    QCOMPARE(app.PageName(), QStringLiteral("frmMain"));
    QVERIFY(app.services.Messages().empty());

    QVERIFY(app.OpenFromMenu(3));
    app.services.QueueDirectory(QStringLiteral("/chosen/mod dir"));
    app.Click("cmdBrowseMod");
    QCOMPARE(app.Text("txtModDir"), QStringLiteral("/chosen/mod dir"));
    QVERIFY(app.PageAs<frmSetup>()->DirsChanged);
    // A filled box starts the picker there.
    app.services.QueueDirectory(std::nullopt);
    app.Click("cmdBrowseMod");
    QCOMPARE(app.services.DirectoryRequests().last() + "|" + app.Text("txtModDir"),
             QStringLiteral("/chosen/mod dir|/chosen/mod dir"));
    app.services.QueueNo();
    app.Click("cmdCancel");
    QCOMPARE(app.services.MessageTexts(), QStringList{"Do you want to lose your changes?"});
  }

  void closeBoxEndsTheProgramWithoutSaving() {
    TestApp app;
    QVERIFY(app.OpenFromMenu(3));
    app.Type("txtSEIVDir", "/x");
    app.CloseBox();
    QVERIFY(!app.host()->isVisible() && !app.SettingsBytes() && app.services.Messages().empty());
  }

  void unwritableSettingsFileIsReported() {
    TestApp app;
    QVERIFY(QDir(app.Dir()).mkdir("Vorlane.ini"));  // the file's place is taken
    QVERIFY(app.OpenFromMenu(3));
    app.Type("txtSEIVDir", "/seiv");
    app.Click("cmdOK");
    QCOMPARE(app.services.Messages().size(), std::size_t{1});
    const RecordedMessage& m = app.services.Messages()[0];
    QVERIFY(m.buttons == MessageButtons::Ok && m.title == "Vorlane");
    QVERIFY2(m.text.contains(app.SettingsPath()) && m.text.contains("Is a directory"), qPrintable(m.text));
    // The directories still apply for this run.
    QVERIFY(app.hq().SEIVDir() == "/seiv" && app.PageName() == "frmMain");
  }

  void pickerDescendsClimbsAndChooses() {
    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkpath("Game/Pictures"));
    QVERIFY(QDir(root.path()).mkpath("Game/.hidden wine"));
    QVERIFY(QDir(root.path()).mkpath("Game/Sounds"));
    const QString game = QDir(root.path()).filePath("Game");

    frmDirBrowse picker;
    QCOMPARE(picker.windowTitle() + "|" + picker.findChild<QPushButton*>("cmdOK")->text(), "Select directory:|&OK");
    picker.Start(game);
    picker.show();
    QVERIFY(picker.Cancelled() && picker.Path() == game);
    auto* list = picker.findChild<QListWidget*>("dirDirectory");
    QStringList entries = Entries(list);
    QCOMPARE(entries.mid(entries.size() - 4),
             (QStringList{"Game", ".hidden wine", "Pictures", "Sounds"}));
    QCOMPARE(list->currentItem()->text().trimmed(), QStringLiteral("Game"));

    // Descend into Pictures, then climb back to the temporary directory.
    emit list->itemActivated(list->item(entries.indexOf("Pictures")));
    QCOMPARE(picker.Path(), game + "/Pictures");
    entries = Entries(list);
    emit list->itemActivated(list->item(entries.indexOf(QFileInfo(root.path()).fileName())));
    QCOMPARE(picker.Path(), QDir::cleanPath(root.path()));
    QVERIFY(Entries(list).endsWith("Game"));

    // Enter in the list only opens entries; on the focused OK it chooses.
    list->setCurrentRow(0);
    QTest::keyClick(list, Qt::Key_Return);
    QVERIFY(picker.isVisible() && picker.Path() == "/");
    picker.SetPath(root.path());
    picker.findChild<QPushButton*>("cmdOK")->setFocus();
    QTest::keyClick(picker.findChild<QPushButton*>("cmdOK"), Qt::Key_Return);
    QVERIFY(!picker.Cancelled() && !picker.isVisible());
    QCOMPARE(picker.ChosenPath(), QDir::cleanPath(root.path()));
  }

  void pickerCancelsByEscapeAndCloseBox() {
    QTemporaryDir root;
    for (int way = 0; way < 3; ++way) {
      frmDirBrowse picker;
      picker.Start(root.path());
      picker.show();
      if (way == 0) QTest::keyClick(picker.findChild<QListWidget*>("dirDirectory"), Qt::Key_Escape);
      if (way == 1) QTest::mouseClick(picker.findChild<QPushButton*>("cmdCancel"), Qt::LeftButton);
      if (way == 2) picker.close();
      QVERIFY(!picker.isVisible() && picker.Cancelled() && picker.ChosenPath().isEmpty());
    }
  }

  void pickerStartsAtTheNearestExistingDirectory() {
    QTemporaryDir root;
    frmDirBrowse picker;
    picker.Start(QDir(root.path()).filePath("gone/deeper"));
    QCOMPARE(picker.Path(), QDir::cleanPath(root.path()));
    picker.Start(QString());
    QCOMPARE(picker.Path(), QDir::cleanPath(QDir::currentPath()));
    // The drive list holds the file system's root, and the drive of the path.
    auto* drives = picker.findChild<QComboBox*>("drvDrive");
    QVERIFY(frmDirBrowse::Drives().contains("/"));
    QVERIFY(QDir::cleanPath(root.path()).startsWith(drives->currentText()));
    // Choosing a drive moves to it; coming back returns where the list was.
    picker.SetPath(root.path());
    const int rootDrive = drives->findText("/");
    const int other = drives->count() > 1 ? (rootDrive == 0 ? 1 : 0) : rootDrive;
    drives->setCurrentIndex(other);
    emit drives->activated(other);
    QVERIFY(picker.Path().startsWith(drives->itemText(other)));
    if (drives->currentText() != "/") {
      drives->setCurrentIndex(rootDrive);
      emit drives->activated(rootDrive);
      QCOMPARE(picker.Path(), QDir::cleanPath(root.path()));
    }
  }
};

QTEST_MAIN(SetupTest)
#include "tst_setup.moc"
