// Undo and redo across the wizard's pages and the design sheet, and the
// recovery copies of unsaved designs: kept while a design has unsaved
// changes, offered at the next start after a kill, restored or discarded.
//
// Run with "--child STATE DESIGN" the program opens DESIGN, edits it in the
// sheet and on a wizard page, writes its recovery copy to STATE, saves what
// it would save as DESIGN.expected, prints "ready" and waits to be killed.

#include <QProcess>
#include <cstdio>

#include "app/DesignFiles.h"
#include "app/DesignHistory.h"
#include "app/DesignRecovery.h"
#include "generate/DesignFile.h"
#include "support/DesignWalk.h"
#include "support/TestApp.h"

using namespace vorlane;
using namespace vorlane::test;

namespace {

QString SaveLaser(const QString& dir) {
  const QString path = QDir(dir).filePath(QStringLiteral("laser.vorlane.json"));
  std::string error;
  return SaveDesignFile(path.toStdString(), LaserRecord(), error) ? path : QString();
}

QByteArray SavedBytes(const QString& path, const vrlComponent& record) {
  std::string error;
  return SaveDesignFile(path.toStdString(), record, error) ? ReadAll(path) : QByteArray("<not saved>");
}

QStringList CopiesIn(const QString& folder) {
  return QDir(folder).entryList({QStringLiteral("*.vorlane.json")}, QDir::Files);
}

// What the tests type: on the wizard's start page, technology page and cost
// page, then in the design sheet.
void EditAcrossPages(TestApp& app) {
  QCOMPARE(app.PageName(), QStringLiteral("frmCompStart"));
  QVERIFY(app.Type({{"txtCompName", "Maser"}, {"txtCompDesc", "Beam"}}));
  QVERIFY(WalkUntouched(app, "frmCompTech"));
  QVERIFY(app.Type("txtTechLevel", "5"));
  QVERIFY(WalkUntouched(app, "frmCompCost"));
  QVERIFY(app.Type("txtMinCost", "50"));
  app.Key(Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
  QCOMPARE(app.PageName(), QStringLiteral("DesignSheet"));
  QVERIFY(app.Type("OrgCost", "7"));
}

int RunChild(const QString& state, const QString& design) {
  TestApp app(std::nullopt, state);
  if (!app.hq().Designs().OpenFile(design)) return 2;
  // In the sheet, then on a wizard page that has not written its fields yet.
  app.Key(Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
  app.Type("OrgCost", "7");
  app.Key(Qt::Key_W, Qt::ControlModifier | Qt::ShiftModifier);
  app.Type("txtCompName", "Maser");
  if (!app.hq().Recovery() || !app.hq().Recovery()->Pending()) return 3;
  app.hq().Recovery()->Flush();
  app.hq().Recovery()->Wait();
  SavedBytes(design + ".expected", app.hq().Designs().ShownComponent());
  std::fputs("ready\n", stdout);
  std::fflush(stdout);
  return QApplication::exec();
}

}  // namespace

class UndoRecoveryTest : public QObject {
  Q_OBJECT

 private slots:
  // Five changes on three wizard pages and the sheet, undone and redone with
  // the keys and the menu: each undo shows the page of its change, the
  // design as it was opened saves byte for byte as its file, and redone as
  // it was edited.
  void undoAndRedoAcrossPagesRestoreTheDesign() {
    TestApp app;
    DesignFiles& designs = app.hq().Designs();
    DesignHistory& history = app.hq().History();
    const QString original = SaveLaser(app.Dir());
    QVERIFY(designs.OpenFile(original));
    QCOMPARE(history.UndoName(), QString());
    EditAcrossPages(app);
    QCOMPARE(history.UndoName(), QStringLiteral("Organics Cost"));
    QVERIFY(app.host()->windowTitle().endsWith(" *"));

    // The focused box undoes its own typing first: the step is gone with it.
    app.Key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(app.Text("OrgCost"), QStringLiteral("0"));
    QCOMPARE(history.UndoName(), QStringLiteral("Minerals Cost"));
    QCOMPARE(history.UndoAction()->text(), QStringLiteral("&Undo Minerals Cost"));
    const vrlComponent edited = designs.ShownComponent();
    QCOMPARE(edited.MinCost(), std::string("50"));

    // Then the keys reach the design: the sheet shows it.
    app.Key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(app.PageName(), QStringLiteral("DesignSheet"));
    QCOMPARE(app.Text("MinCost"), QStringLiteral("{&complevel*10}"));
    QCOMPARE(history.RedoAction()->text(), QStringLiteral("&Redo Minerals Cost"));

    // In the wizard each undo opens the page of its change, at its field.
    app.Key(Qt::Key_W, Qt::ControlModifier | Qt::ShiftModifier);
    const std::pair<const char*, const char*> undone[] = {
        {"frmCompTech", "txtTechLevel"}, {"frmCompStart", "txtCompDesc"}, {"frmCompStart", "txtCompName"}};
    for (const auto& [page, field] : undone) {
      app.Key(Qt::Key_Z, Qt::ControlModifier);
      QCOMPARE(app.PageName(), QString::fromLatin1(page));
      QCOMPARE(QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString(),
               QString::fromLatin1(field));
    }
    QCOMPARE(app.Text("txtCompName"), QStringLiteral("Laser"));
    QVERIFY(!history.UndoAction()->isEnabled());
    QVERIFY2(!app.host()->windowTitle().endsWith(" *"), qPrintable(app.host()->windowTitle()));
    QVERIFY(designs.SaveTo(QDir(app.Dir()).filePath("undone.vorlane.json")));
    QCOMPARE(ReadAll(QDir(app.Dir()).filePath("undone.vorlane.json")), ReadAll(original));

    // Redo, with both of its keys, where the focus has nothing to redo.
    for (int i = 0; i < 4; ++i) {
      app.Key(i % 2 ? Qt::Key_Y : Qt::Key_Z, i % 2 ? Qt::ControlModifier : Qt::ControlModifier | Qt::ShiftModifier);
    }
    QVERIFY(!history.RedoAction()->isEnabled());
    QCOMPARE(app.PageName(), QStringLiteral("frmCompCost"));
    QCOMPARE(app.Text("txtMinCost"), QStringLiteral("50"));
    QVERIFY(app.host()->windowTitle().endsWith(" *"));
    QVERIFY(designs.SaveTo(QDir(app.Dir()).filePath("redone.vorlane.json")));
    QCOMPARE(ReadAll(QDir(app.Dir()).filePath("redone.vorlane.json")),
             SavedBytes(QDir(app.Dir()).filePath("edited.vorlane.json"), edited));
    QCOMPARE(app.services.UnexpectedQuestions(), 0);
  }

  // Typing in one field is one step, whatever number of keys; a new entry's
  // fields go with its Add; going back to what was saved clears the mark.
  void typingMergesIntoOneNamedStep() {
    TestApp app;
    DesignHistory& history = app.hq().History();
    QVERIFY(app.hq().Designs().OpenFile(SaveLaser(app.Dir())));
    app.Click("cmdNext");
    QVERIFY(WalkUntouched(app, "frmCompTech"));
    app.Click("cmdAddTechReq");
    QVERIFY(app.Type("txtTechArea", "Optics"));
    QVERIFY(app.Type("txtTechLevel", "2"));
    // Away from the box, which would undo its own typing first.
    app.Find("cmdNext")->setFocus();
    QCOMPARE(history.UndoName(), QStringLiteral("Technology Requirement 2 \u2013 Tech Level"));
    history.Undo();
    QCOMPARE(history.UndoName(), QStringLiteral("Add Technology Requirement"));
    QCOMPARE(app.Text("txtTechArea"), QStringLiteral("Optics"));
    history.Undo();
    QCOMPARE(app.Text("txtTechArea"), QString());
    QVERIFY(!history.UndoAction()->isEnabled());
    QVERIFY(!app.host()->windowTitle().endsWith(" *"));
  }

  // Edit > Undo from the menu with the focus in a box that has typed: the
  // box's typing goes back, and with it the step; the menu's coming and going
  // does not end the typing.
  void menuUndoTakesBackTheFocusedBoxsTyping() {
    TestApp app;
    DesignHistory& history = app.hq().History();
    QVERIFY(app.hq().Designs().OpenFile(SaveLaser(app.Dir())));
    QVERIFY(app.Type("txtCompName", "Maser"));
    QCOMPARE(history.UndoName(), QStringLiteral("Component Name"));
    app.Key(Qt::Key_E, Qt::AltModifier);
    auto* menu = app.host()->findChild<QMenu*>("mnuEdit");
    QVERIFY(menu && menu->isVisible());
    QCOMPARE(menu->activeAction(), history.UndoAction());
    QTest::keyClick(menu, Qt::Key_Return);
    app.Settle();
    QCOMPARE(app.Text("txtCompName"), QStringLiteral("Laser"));
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("txtCompName"));
    app.hq().History().Observe();
    QCOMPARE(history.UndoName(), QString());
    QCOMPARE(history.RedoName(), QString());
    QVERIFY(!app.host()->windowTitle().endsWith(" *"));
  }

  // A killed program's copy is offered at the next start; the box closed
  // without an answer keeps it; Restore brings the design back as unsaved
  // changes to its file, and saving it writes what was typed and ends the copy.
  void killedProgramIsRestoredAtTheNextStart() {
    QTemporaryDir dir;
    const QString state = dir.filePath("state");
    const QString design = SaveLaser(dir.path());
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {"-platform", "offscreen", "--child", state, design});
    QVERIFY(child.waitForStarted());
    QByteArray out;
    // (Windows writes the child's line end as CR LF.)
    while (!out.contains("ready") && child.state() == QProcess::Running && child.waitForReadyRead(60000)) {
      out += child.readAllStandardOutput();
    }
    QVERIFY2(out.contains("ready"), out.constData());
    child.kill();
    QVERIFY(child.waitForFinished());
    QCOMPARE(CopiesIn(state).size(), qsizetype{1});
    const QByteArray expected = ReadAll(design + ".expected");
    QVERIFY(expected.contains("\"Maser\"") && expected.contains("\"OrgCost\": \"7\""));

    TestApp app(std::nullopt, state);
    QCOMPARE(app.services.Messages().size(), std::size_t{1});
    const RecordedMessage& offer = app.services.Messages().front();
    QVERIFY2(offer.text.startsWith("Vorlane was closed without saving your design.\n\nComponent \"Maser\" "
                                   "(laser.vorlane.json), last changed "),
             qPrintable(offer.text));
    QCOMPARE(offer.choices, QStringList({"&Restore", "&Discard"}));
    QCOMPARE(app.PageName(), QStringLiteral("frmMain"));

    app.services.ClearRecords();
    app.services.QueueChoice(0);
    app.hq().Recovery()->OfferOrphans();
    QCOMPARE(app.services.Messages().size(), std::size_t{1});
    QCOMPARE(app.PageName(), QStringLiteral("frmCompStart"));
    QCOMPARE(app.Text("txtCompName"), QStringLiteral("Maser"));
    QVERIFY(app.host()->windowTitle().endsWith(" - laser.vorlane.json *"));
    QCOMPARE(CopiesIn(state).size(), qsizetype{1});  // this instance's own
    app.Key(Qt::Key_S, Qt::ControlModifier);
    app.hq().Recovery()->Wait();
    QCOMPARE(ReadAll(design), expected);
    QVERIFY(CopiesIn(state).isEmpty());
    QCOMPARE(app.services.UnexpectedQuestions(), 0);
  }

  // Copies follow the unsaved changes: written after the pause, gone once
  // undone to the file's state, at a confirmed Discard, or discarded at the
  // next start; a program that ends without the question keeps them.
  void copiesFollowTheUnsavedChanges() {
    QTemporaryDir dir;
    const QString state = dir.filePath("state");
    const QString design = SaveLaser(dir.path());
    {
      TestApp app(std::nullopt, state);
      DesignRecovery& recovery = *app.hq().Recovery();
      QVERIFY(app.hq().Designs().OpenFile(design));
      QVERIFY(!recovery.Pending());
      QVERIFY(app.Type("txtCompName", "Maser"));
      app.Find("cmdNext")->setFocus();
      QVERIFY(recovery.Pending());
      recovery.Flush();
      recovery.Wait();
      QCOMPARE(CopiesIn(state).size(), qsizetype{1});
      app.hq().History().Undo();
      QVERIFY(recovery.Pending());
      recovery.Flush();
      recovery.Wait();
      QVERIFY(CopiesIn(state).isEmpty());
      app.hq().History().Redo();
      recovery.Flush();
      recovery.Wait();
      QCOMPARE(CopiesIn(state).size(), qsizetype{1});
      // Quit, Discard.
      app.services.QueueSaveAnswer(SaveAnswer::Discard);
      app.hq().Designs().Quit();
      QVERIFY(CopiesIn(state).isEmpty());
    }
    {
      TestApp app(std::nullopt, state);
      QVERIFY(app.services.Messages().empty());
      QVERIFY(app.hq().Designs().OpenFile(design));
      QVERIFY(app.Type("txtCompName", "Maser"));
      app.hq().Recovery()->Flush();
    }  // ends without the question, as a crash would
    TestApp app(std::nullopt, state);
    QCOMPARE(app.services.Messages().size(), std::size_t{1});
    app.services.QueueChoice(1);
    app.hq().Recovery()->OfferOrphans();
    QVERIFY(CopiesIn(state).isEmpty());
    QCOMPARE(app.PageName(), QStringLiteral("frmMain"));
    QCOMPARE(ReadAll(design), SavedBytes(dir.filePath("laser2.vorlane.json"), LaserRecord()));
  }
};

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  if (argc == 4 && QByteArray(argv[1]) == "--child") {
    return RunChild(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
  }
  UndoRecoveryTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "tst_undo_recovery.moc"
