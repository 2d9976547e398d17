// The program's own services: the real message boxes and directory picker,
// driven by a timer while they wait modally.
#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/QtServices.h"
#include "app/frmDirBrowse.h"
#include "support/ScriptedServices.h"

using namespace vorlane;

namespace {

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

class ServicesTest : public QObject {
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
    QVERIFY(answer == MessageAnswer::No);
    QCOMPARE(title, QStringLiteral("Vorlane"));
    QCOMPARE(text, QStringLiteral("Line one\nline <b>two</b>"));
    QCOMPARE(icon, QMessageBox::NoIcon);
    QCOMPARE(buttons, int(QMessageBox::Yes | QMessageBox::No));

    WhenModal([&](QWidget* w) {
      auto* box = qobject_cast<QMessageBox*>(w);
      title = box->windowTitle();
      buttons = box->standardButtons();
      QTest::keyClick(box, Qt::Key_Return);
    });
    QVERIFY(services.ShowMessage(&owner, "Done", MessageButtons::Ok, "Error") == MessageAnswer::Ok);
    QCOMPARE(title, QStringLiteral("Error"));
    QCOMPARE(buttons, int(QMessageBox::Ok));
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
    QCOMPARE(scripted.Messages()[0].title, QStringLiteral("Error"));
    QCOMPARE(scripted.Messages()[0].text, QString::fromUtf8("Zahl \u00B5 fehlt"));
    QVERIFY(scripted.Messages()[1].buttons == MessageButtons::Ok);
  }

  void missingSoundPlaysNothing() {
    QtServices services;
    QWidget owner;
    QVERIFY(!services.PlaySound(&owner, "/no/such/sound.wav"));
    QVERIFY(owner.isEnabled());
  }
};

QTEST_MAIN(ServicesTest)
#include "tst_services.moc"
