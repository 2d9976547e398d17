// Design files through the program: the File menu, saving what a page shows,
// reopening, the unsaved-change mark and questions, broken files, and the
// command-line generator on a file the program saved.

#include "app/DesignFiles.h"
#include "app/frmMain.h"
#include "generate/DesignFile.h"
#include "generate_ui/frmCompGenerate.h"
#include "support/DesignWalk.h"
#include "support/TestApp.h"
#include "wizard/frmCompTech.h"
#include "wizard/frmFacAbility.h"

using namespace vorlane;
using namespace vorlane::test;

namespace {

const QString kSaveComponent =
    QStringLiteral("The component design has unsaved changes.\nDo you want to save your changes?");
const QString kTitle = QStringLiteral("Vorlane v2.0 - Component Design - ");

// Saves `record` as `name` in the app's folder: its path, empty when that failed.
template <class Record>
QString SaveAt(TestApp& app, const QString& name, const Record& record) {
  const QString path = QDir(app.Dir()).filePath(name);
  std::string error;
  return SaveDesignFile(path.toStdString(), record, error) ? path : QString();
}

Design Load(const QString& path) {
  std::string error;
  return LoadDesignFile(path.toStdString(), error).value_or(Design{});
}

vrlFacility Mine() {
  vrlFacility mine;
  mine.SetFacName("Mine");
  return mine;
}

}  // namespace

class DesignFilesTest : public QObject {
  Q_OBJECT

 private slots:
  void menuOnEveryPageFollowsTheShownDesign() {
    TestApp app;
    DesignFiles& designs = app.hq().Designs();
    const std::pair<QAction*, const char*> actions[] = {{designs.OpenAction(), "Open Design…|Ctrl+O"},
                                                        {designs.SaveAsAction(), "Save Design As…|Ctrl+Shift+S"},
                                                        {designs.SaveAction(), "Save Design|Ctrl+S"},
                                                        {designs.QuitAction(), "Quit|Ctrl+Q"}};
    for (const auto& [action, expected] : actions)
      QCOMPARE(action->text() + "|" + action->shortcut().toString(), QString::fromUtf8(expected));

    // Ctrl+S and Ctrl+Shift+S work on every design's page (without a file:
    // as Save As); the setup and vehicle pages have nothing to save.
    const QString facilityFile = SaveAt(app, "mine.vorlane.json", Mine());
    QVERIFY(designs.OpenFile(facilityFile));
    app.hq().Facility().SetFacDesc("Unsaved");
    for (int option = 0; option < 4; ++option) {
      QVERIFY(app.OpenFromMenu(option));
      app.services.ClearRecords();
      const bool design = option < 2;
      QVERIFY(designs.SaveAction()->isEnabled() == design && designs.SaveAsAction()->isEnabled() == design);
      QCOMPARE(app.host()->windowTitle().contains("vorlane.json"), option == 1);
      for (auto keys : {Qt::ControlModifier | Qt::ShiftModifier, Qt::KeyboardModifiers(Qt::ControlModifier)})
        if (option != 1 || keys != Qt::ControlModifier) app.Key(Qt::Key_S, keys);
      QCOMPARE(app.services.FileRequests().size(), std::size_t{option == 0 ? 2u : design ? 1u : 0u});
      for (const RecordedFileRequest& request : app.services.FileRequests())
        QCOMPARE(request.filter, QStringLiteral("Vorlane designs (*.vorlane.json)"));
      if (design) QCOMPARE(designs.CurrentKind(), option == 0 ? DesignKind::Component : DesignKind::Facility);
    }
    QCOMPARE(Load(facilityFile).facility.FacDesc(), std::string());
  }

  // Save As suggests the name without its formulas, in the folder last used.
  void saveAsSuggestsThePlainNameInTheLastFolder() {
    TestApp app;
    const std::pair<const char*, const char*> names[] = {
        {"Ion Cannon T{&complevel+100}", "Ion Cannon T.vorlane.json"},
        {"{&complevel} Beam &compname{", "Beam.vorlane.json"},
        {"AT&&T {1{2}3} Laser &abil1val1", "AT&T Laser.vorlane.json"},
        {"{&complevel}", "design.vorlane.json"},
    };
    for (const auto& [name, file] : names) {
      app.hq().Component().SetCompName(name);
      app.services.ClearRecords();
      QVERIFY(!app.hq().Designs().Save());
      QCOMPARE(QFileInfo(app.services.FileRequests().at(0).startDir).fileName(), QString::fromUtf8(file));
    }
    QVERIFY(QDir(app.Dir()).mkdir("a") && QDir(app.Dir()).mkdir("b"));
    app.services.QueueFile(QDir(app.Dir()).filePath("a/laser.vorlane.json"));
    QVERIFY(app.hq().Designs().SaveAs());
    QVERIFY(app.hq().Designs().OpenFile(SaveAt(app, "b/mine.vorlane.json", vrlFacility{})));
    app.hq().ShowMainMenu();
    app.Settle();
    app.services.ClearRecords();
    app.hq().Designs().SaveAs();
    app.hq().Designs().Open();
    QCOMPARE(app.services.FileRequests().size(), std::size_t{2});
    QCOMPARE(app.services.FileRequests()[0].startDir, QDir(app.Dir()).filePath("b/laser.vorlane.json"));
    QCOMPARE(app.services.FileRequests()[1].startDir, QDir(app.Dir()).filePath("b"));
  }

  // A blank entry that Add leaves past the last one is not part of the design.
  void addAloneLeavesTheDesignUnchanged() {
    for (bool facility : {false, true}) {
      TestApp app;
      vrlFacility mine = Mine();
      mine.SetAbilName(1, "Mining");
      const QString path =
          facility ? SaveAt(app, "f.vorlane.json", mine) : SaveAt(app, "c.vorlane.json", LaserRecord());
      const QByteArray before = ReadAll(path);
      QVERIFY(app.hq().Designs().OpenFile(path));
      facility ? (void)app.Show<frmFacAbility>() : (void)app.Show<frmCompTech>();
      QVERIFY(app.Click(facility ? "cmdAddAbility" : "cmdAddTechReq") && !app.host()->windowTitle().endsWith('*'));
      app.Key(Qt::Key_S, Qt::ControlModifier);
      QVERIFY(ReadAll(path) == before && app.services.Messages().empty());
    }
  }

  void saveKeepsWhatThePageShowsAndReopens() {
    TestApp app;
    DesignFiles& designs = app.hq().Designs();
    app.hq().Component() = LaserRecord();
    app.Click("cmdNext");
    // On screen only, with an empty description that Next would ask about.
    app.Type({{"txtCompName", "Pulse Laser"}, {"txtCompDesc", ""}, {"txtCompLevels", "4"}});
    const QString path = QDir(app.Dir()).filePath("pulse.vorlane.json");
    app.services.QueueFile(QDir(app.Dir()).filePath("pulse"));  // the ending is added
    app.Key(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(app.services.Messages().empty());
    QCOMPARE(QFileInfo(app.services.FileRequests()[0].startDir).fileName(), QStringLiteral("Pulse Laser.vorlane.json"));
    QCOMPARE(designs.FilePath(DesignKind::Component), path);
    QCOMPARE(app.host()->windowTitle(), kTitle + "pulse.vorlane.json");
    vrlComponent expected = LaserRecord();
    expected.SetCompName("Pulse Laser"), expected.SetCompDesc(""), expected.SetNumCompLevels("4");
    QVERIFY(Load(path).kind == DesignKind::Component && Load(path).component == expected);

    // An edit marks the title, the old text clears it; Ctrl+S needs no dialog.
    app.Type("txtCompName", "Beam");
    QCOMPARE(app.host()->windowTitle(), kTitle + "pulse.vorlane.json *");
    app.Type("txtCompName", "Pulse Laser");
    QCOMPARE(app.host()->windowTitle(), kTitle + "pulse.vorlane.json");
    app.Type("txtCompName", "Beam");
    app.Key(Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(app.services.FileRequests().size(), std::size_t{1});
    QCOMPARE(Load(path).component.CompName(), std::string("Beam"));
    QCOMPARE(app.host()->windowTitle(), kTitle + "pulse.vorlane.json");

    // Changed, then reopened: Cancel keeps it (asked before the dialog),
    // Discard brings the file's design on the start page.
    app.hq().ShowMainMenu();
    app.Settle();
    app.hq().Component().SetMinCost("7");
    const vrlComponent changed = app.hq().Component();
    app.services.ClearRecords();
    app.services.QueueSaveAnswer(SaveAnswer::Cancel);
    app.Key(Qt::Key_O, Qt::ControlModifier);
    QVERIFY(app.services.FileRequests().empty() && app.hq().Component() == changed && app.PageName() == "frmMain");
    app.services.QueueFile(path);
    app.services.QueueSaveAnswer(SaveAnswer::Discard);
    app.Key(Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(app.services.MessageTexts(), (QStringList{kSaveComponent, kSaveComponent}));
    QCOMPARE(app.PageName() + "|" + app.Text("txtCompName"), QStringLiteral("frmCompStart|Beam"));
    QCOMPARE(app.hq().Component().MinCost(), std::string("{&complevel*10}"));
  }

  void openingReplacesOnlyTheRecordOfItsKind() {
    TestApp app;
    const QString path = SaveAt(app, "mine.vorlane.json", Mine());

    // Asked about the component page's edits, which a facility file leaves
    // as the page shows them (as Back would); the facility wizard starts.
    app.Click("cmdNext");
    app.Type("txtCompName", "Shield");
    app.services.QueueFile(path);
    app.services.QueueSaveAnswer(SaveAnswer::Discard);
    QVERIFY(app.hq().Designs().Open());
    QCOMPARE(app.services.MessageTexts(), QStringList{kSaveComponent});
    QVERIFY(app.hq().Component().CompName() == "Shield" && app.hq().Facility() == Mine());
    QCOMPARE(app.Text("txtFacName"), QStringLiteral("Mine"));
    QCOMPARE(app.host()->windowTitle(), QStringLiteral("Vorlane v2.0 - Facility Design - mine.vorlane.json"));

    // Save on the main menu follows the selected option.
    app.hq().ShowMainMenu();
    app.Settle();
    app.PageAs<frmMain>()->optCreate(1)->setChecked(true);
    app.hq().Facility().SetFacDesc("Digs.");
    app.Settle();
    app.Key(Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(Load(path).facility.FacDesc(), std::string("Digs."));

    // Setup edits are asked about as the setup page's Cancel does.
    QVERIFY(app.OpenFromMenu(3));
    app.Type("txtSEIVDir", "/games/se4");
    app.services.ClearRecords();
    app.services.QueueNo();
    app.Key(Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(app.services.MessageTexts(), QStringList{"Do you want to lose your changes?"});
    QVERIFY(app.services.FileRequests().empty());  // asked before the dialog
    app.services.QueueNo();
    QVERIFY(!app.hq().Designs().OpenFile(path) && app.PageName() == "frmSetup");
  }

  void unsavedChangesAskBeforeQuitting() {
    TestApp app;
    app.Click("cmdNext");
    app.Type("txtCompName", "Laser");
    app.services.QueueSaveAnswer(SaveAnswer::Cancel);
    app.Key(Qt::Key_Q, Qt::ControlModifier);
    QCOMPARE(app.services.MessageTexts(), QStringList{kSaveComponent});
    QCOMPARE(app.Text("txtCompName"), QStringLiteral("Laser"));

    // The close box returns to the menu unasked; the name was never written.
    app.services.ClearRecords();
    app.CloseBox();
    QVERIFY(app.PageName() == "frmMain" && !app.hq().Designs().HasUnsavedChanges(DesignKind::Component));

    // Both changed: Close and the close box ask, naming both; Save saves both.
    app.hq().Component().SetCompName("Laser"), app.hq().Facility().SetFacName("Mine");
    app.services.QueueSaveAnswer(SaveAnswer::Cancel);
    app.Click("cmdClose");
    app.services.QueueSaveAnswer(SaveAnswer::Save);  // the dialog is cancelled
    app.CloseBox();
    QVERIFY(app.host()->isVisible());
    const QString both =
        QStringLiteral("The component and facility designs have unsaved changes.\nDo you want to save your changes?");
    QCOMPARE(app.services.MessageTexts(), (QStringList{both, both}));
    app.services.QueueSaveAnswer(SaveAnswer::Save);
    const QString laser = QDir(app.Dir()).filePath("laser.vorlane.json");
    const QString mine = QDir(app.Dir()).filePath("mine.vorlane.json");
    app.services.QueueFile(laser), app.services.QueueFile(mine);
    app.Key(Qt::Key_Escape);
    QVERIFY(!app.host()->isVisible());
    QVERIFY(Load(laser).component.CompName() == "Laser" && Load(mine).facility.FacName() == "Mine");
  }

  void brokenFilesAndFailedSavesChangeNothing() {
    TestApp app;
    const QString good = SaveAt(app, "good.vorlane.json", LaserRecord());
    QVERIFY(app.hq().Designs().OpenFile(good));
    app.Type("txtCompName", "On screen");
    const vrlComponent before = app.hq().Component();

    const std::pair<QByteArray, const char*> cases[] = {
        {{}, "No such file"}, {R"({"kind": "component", "Colour": "red"})", "/Colour: unknown key"}};
    for (const auto& [content, reason] : cases) {
      const QString path = QDir(app.Dir()).filePath(QString::fromLatin1(reason).remove('/') + ".vorlane.json");
      if (!content.isEmpty()) QVERIFY(WriteAll(path, content));
      app.services.ClearRecords();
      QVERIFY(!app.hq().Designs().OpenFile(path));
      const QString text = app.services.MessageTexts().join('|');
      QVERIFY2(text.startsWith(QStringLiteral("The design could not be opened.\n")) &&
                   QDir::fromNativeSeparators(text).contains(path) && text.contains(QString::fromLatin1(reason)),
               qPrintable(text));
      QVERIFY(app.hq().Component() == before && app.hq().Facility() == vrlFacility{});
      QVERIFY(app.Text("txtCompName") == "On screen" && app.hq().Designs().FilePath(DesignKind::Component) == good);
    }

    // A failed save keeps the old file name; an added ending may hit a file: asked.
    app.services.ClearRecords();
    app.services.QueueFile(QDir(app.Dir()).filePath("no/such/dir/x.vorlane.json"));
    QVERIFY(!app.hq().Designs().SaveAs());
    QVERIFY(app.services.MessageTexts().join('|').startsWith(QStringLiteral("The design could not be saved.\n")));
    QCOMPARE(app.hq().Designs().FilePath(DesignKind::Component), good);
    QCOMPARE(app.host()->windowTitle(), kTitle + "good.vorlane.json *");
    app.services.ClearRecords();
    app.services.QueueFile(QDir(app.Dir()).filePath("good"));
    app.services.QueueNo();
    QVERIFY(!app.hq().Designs().SaveAs());
    QCOMPARE(app.services.MessageTexts(),
             QStringList{QStringLiteral("\"good.vorlane.json\" already exists.\nDo you want to replace it?")});
    QCOMPARE(Load(good).component.CompName(), std::string("Laser"));
  }

  void savedDesignGeneratesTheSameTextOnTheCommandLine() {
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath("beam.vorlane.json");
    {
      TestApp app;
      app.hq().Component() = LaserRecord();
      app.Click("cmdNext");
      app.Type("txtCompName", "Beam Laser");
      app.services.QueueFile(path);
      QVERIFY(app.hq().Designs().SaveAs());
    }

    TestApp app;
    app.services.QueueFile(path);
    app.Key(Qt::Key_O, Qt::ControlModifier);
    app.host()->ShowPage(new frmCompGenerate(app.hq()));
    app.Settle();
    // While the generation runs, the file commands wait.
    bool refused = true;
    connect(app.PageAs<GeneratePage>(), &GeneratePage::Progressed, this, [&] {
      refused = refused && !app.hq().Designs().OpenFile(path) && !app.hq().Designs().Save();
      app.hq().Designs().Quit();
    });
    app.Click("cmdNext");
    QVERIFY(refused && app.host()->isVisible());
    QCOMPARE(app.host()->windowTitle(),
             QStringLiteral("Component Generation Results - [Beam Laser] - beam.vorlane.json"));
    const QString results = QDir(dir.path()).filePath("beam.txt");
    app.services.QueueFile(results);
    app.Click("cmdSaveAs");
    const QByteArray shown = ReadAll(results);
    QVERIFY(shown.contains("Beam Laser 2\r\n"));

#ifdef VORLANE_GEN_PROGRAM
    QProcess gen;
    gen.start(QStringLiteral(VORLANE_GEN_PROGRAM), {path});
    QVERIFY(gen.waitForFinished(30000));
    QVERIFY2(gen.exitCode() == 0, gen.readAllStandardError().constData());
    QCOMPARE(gen.readAllStandardOutput(), shown);
#else
    QSKIP("vorlane-gen is not built");
#endif
  }
};

QTEST_MAIN(DesignFilesTest)
#include "tst_design_files.moc"
