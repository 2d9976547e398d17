// Design files through the program: the File menu on every page, saving what
// a page shows, reopening, the unsaved-change mark and questions, refusal of
// broken files, and the command-line generator on a file the program saved.
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenuBar>
#include <QProcess>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include "app/DesignFiles.h"
#include "app/frmMain.h"
#include "generate/CompGenerate.h"
#include "generate/DesignFile.h"
#include "generate/FacGenerate.h"
#include "generate_ui/frmCompGenerate.h"
#include "support/TestApp.h"

using namespace vorlane;
using namespace vorlane::test;

namespace {

const QString kLoseComponent =
    QStringLiteral("The component design has unsaved changes.\nDo you want to lose your changes?");

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

// A component the generator makes three full entries of.
void FillComponent(vrlComponent& c) {
  c.SetCompName("Laser");
  c.SetCompDesc("A beam weapon.");
  c.SetNumCompLevels("3");
  c.SetVehicleType("Ship");
  c.SetNumberStyle("&complevel");
  c.SetRomanStyle("&complevel");
  c.SetGeneralGroup("Weapons");
  c.SetFamily("100");
  c.SetPicNum("12");
  c.SetTechReqArea(1, "Lasers");
  c.SetTechReqLevel(1, "&complevel");
  c.SetMinCost("{&complevel*10}");
  c.SetOrgCost("0");
  c.SetRadCost("{&complevel*5}");
  c.SetSize("10");
  c.SetHP("{&size*2}");
  c.SetSupplyUse("0");
  c.SetAbilName(1, "Armor");
  c.SetAbilDesc(1, "Absorbs &abil1val1 damage.");
  c.SetAbilVal1(1, "{&complevel*10}");
  c.SetAbilVal2(1, "0");
  c.SetWeaponType("None");
}

class SilentSink : public MessageSink {
 public:
  MessageAnswer Show(const std::string& title, const std::string& text, MessageButtons) override {
    messages += title + ": " + text + "\n";
    return MessageAnswer::Ok;
  }
  std::string messages;
};

}  // namespace

class DesignFilesTest : public QObject {
  Q_OBJECT

 private slots:
  void fileMenuOnEveryPage() {
    TestApp app;
    DesignFiles& designs = app.hq().Designs();
    QCOMPARE(designs.OpenAction()->text(), QStringLiteral("Open Design…"));
    QCOMPARE(designs.SaveAsAction()->text(), QStringLiteral("Save Design As…"));
    QCOMPARE(designs.SaveAction()->text(), QStringLiteral("Save Design"));
    QCOMPARE(designs.QuitAction()->text(), QStringLiteral("Quit"));
    QCOMPARE(designs.OpenAction()->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
    QCOMPARE(designs.SaveAsAction()->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+S")));
    QCOMPARE(designs.SaveAction()->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
    QCOMPARE(designs.QuitAction()->shortcut(), QKeySequence(QStringLiteral("Ctrl+Q")));
    QVERIFY(!designs.SaveAction()->isEnabled());

    // The menu stays through every kind of page, and Ctrl+Shift+S reaches it
    // from each; the dialog offers design files only.
    for (int option = 0; option < 4; ++option) {
      app.hq().ShowMainMenu();
      app.Settle();
      app.PageAs<frmMain>()->optCreate(option)->setChecked(true);
      app.Click("cmdNext");
      QVERIFY(app.host()->menuBar()->isVisible());
      app.services.ClearRecords();
      app.Key(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
      QCOMPARE(app.services.FileRequests().size(), std::size_t{1});
      QVERIFY(app.services.FileRequests()[0].save);
      QCOMPARE(app.services.FileRequests()[0].filter, QStringLiteral("Vorlane designs (*.vorlane.json)"));
    }
    // A page of the facility wizard is a facility design; on the main menu
    // the selected option decides.
    app.hq().ShowMainMenu();
    app.Settle();
    QCOMPARE(designs.CurrentKind(), DesignKind::Component);
    app.PageAs<frmMain>()->optCreate(1)->setChecked(true);
    QCOMPARE(designs.CurrentKind(), DesignKind::Facility);
    app.PageAs<frmMain>()->optCreate(3)->setChecked(true);
    QCOMPARE(designs.CurrentKind(), DesignKind::Facility);
    QCOMPARE(app.services.UnexpectedQuestions(), 0);
  }

  void saveKeepsWhatThePageShowsAndReopens() {
    TestApp app;
    DesignFiles& designs = app.hq().Designs();
    FillComponent(app.hq().Component());
    app.Click("cmdNext");
    QCOMPARE(app.PageName(), QStringLiteral("frmCompStart"));
    // Without a file the page's own title stays.
    QCOMPARE(app.host()->windowTitle(), QStringLiteral("Vorlane v2.0 - Component Design"));

    // On screen only: an empty description, which Next would ask about.
    app.Type("txtCompName", "Pulse Laser");
    app.Type("txtCompDesc", "");
    app.Type("txtCompLevels", "4");
    const QString chosen = QDir(app.Dir()).filePath("pulse");
    const QString path = chosen + ".vorlane.json";
    app.services.QueueFile(chosen);
    app.Key(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(app.services.Messages().empty());
    QVERIFY(QFile::exists(path));
    QCOMPARE(designs.FilePath(DesignKind::Component), path);
    QVERIFY(designs.SaveAction()->isEnabled());
    QCOMPARE(app.PageName(), QStringLiteral("frmCompStart"));
    QCOMPARE(app.host()->windowTitle(), QStringLiteral("Vorlane v2.0 - Component Design - pulse.vorlane.json"));
    // The save dialog suggested the design's name, in the home folder.
    QCOMPARE(app.services.FileRequests().back().startDir,
             QDir(QDir::homePath()).filePath(QStringLiteral("Pulse Laser.vorlane.json")));

    std::string error;
    std::optional<Design> saved = LoadDesignFile(path.toStdString(), error);
    QVERIFY2(saved, error.c_str());
    QCOMPARE(saved->kind, DesignKind::Component);
    QCOMPARE(saved->component.CompName(), std::string("Pulse Laser"));
    QCOMPARE(saved->component.CompDesc(), std::string());
    QCOMPARE(saved->component.NumCompLevels(), std::string("4"));
    QCOMPARE(saved->component.MinCost(), std::string("{&complevel*10}"));
    QVERIFY(saved->component == app.hq().Component());

    // An edit marks the title; typing the old text back clears the mark.
    app.Type("txtCompName", "Beam");
    QCOMPARE(app.host()->windowTitle(), QStringLiteral("Vorlane v2.0 - Component Design - pulse.vorlane.json *"));
    app.Type("txtCompName", "Pulse Laser");
    QCOMPARE(app.host()->windowTitle(), QStringLiteral("Vorlane v2.0 - Component Design - pulse.vorlane.json"));

    // Ctrl+S writes the same file without a dialog.
    app.Type("txtCompName", "Beam");
    app.Key(Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(app.services.FileRequests().size(), std::size_t{1});
    QVERIFY(LoadDesignFile(path.toStdString(), error)->component.CompName() == "Beam");
    QCOMPARE(app.host()->windowTitle(), QStringLiteral("Vorlane v2.0 - Component Design - pulse.vorlane.json"));

    // Changed again, then reopened: the question, then the file's design on
    // the start page.
    app.hq().ShowMainMenu();
    app.Settle();
    app.hq().Component().SetMinCost("7");
    app.hq().Component().SetCompName("Scrap");
    app.services.ClearRecords();
    app.services.QueueFile(path);
    app.services.QueueYes();
    app.Key(Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(app.services.MessageTexts(), QStringList{kLoseComponent});
    QCOMPARE(app.PageName(), QStringLiteral("frmCompStart"));
    QCOMPARE(app.Find<QLineEdit>("txtCompName")->text(), QStringLiteral("Beam"));
    QCOMPARE(app.hq().Component().MinCost(), std::string("{&complevel*10}"));
    QCOMPARE(app.host()->windowTitle(), QStringLiteral("Vorlane v2.0 - Component Design - pulse.vorlane.json"));
  }

  void openingReplacesOnlyTheRecordOfItsKind() {
    TestApp app;
    vrlFacility mine;
    mine.SetFacName("Mine");
    mine.SetNumFacLevels("2");
    const QString path = QDir(app.Dir()).filePath("mine.vorlane.json");
    std::string error;
    QVERIFY(SaveDesignFile(path.toStdString(), mine, error));

    // Opened from a component page: that page keeps what it shows, as Back
    // would, and the facility wizard starts with the file's design.
    app.Click("cmdNext");
    app.Type("txtCompName", "Shield");
    app.services.QueueFile(path);
    QVERIFY(app.hq().Designs().Open());
    QCOMPARE(app.hq().Component().CompName(), std::string("Shield"));
    QVERIFY(app.hq().Facility() == mine);
    QCOMPARE(app.PageName(), QStringLiteral("frmFacStart"));
    QCOMPARE(app.Find<QLineEdit>("txtFacName")->text(), QStringLiteral("Mine"));
    QCOMPARE(app.hq().Designs().CurrentKind(), DesignKind::Facility);
    QCOMPARE(app.host()->windowTitle(), QStringLiteral("Vorlane v2.0 - Facility Design - mine.vorlane.json"));
    QVERIFY(app.services.Messages().empty());

    // Saving from the main menu follows the selected option.
    app.hq().ShowMainMenu();
    app.Settle();
    app.PageAs<frmMain>()->optCreate(1)->setChecked(true);
    app.Settle();
    QVERIFY(app.hq().Designs().SaveAction()->isEnabled());
    app.hq().Facility().SetFacDesc("Digs.");
    QVERIFY(app.hq().Designs().Save());
    QCOMPARE(LoadDesignFile(path.toStdString(), error)->facility.FacDesc(), std::string("Digs."));
    QCOMPARE(app.host()->windowTitle(), QStringLiteral("Vorlane v2.0 - mine.vorlane.json"));
    // The component design has no file: option 0 offers no Save.
    app.PageAs<frmMain>()->optCreate(0)->setChecked(true);
    app.Settle();
    QVERIFY(!app.hq().Designs().SaveAction()->isEnabled());
    QCOMPARE(app.host()->windowTitle(), QStringLiteral("Vorlane v2.0"));
  }

  void unsavedChangesAskBeforeQuitting() {
    {
      // Nothing changed: Ctrl+Q ends at once; merely opening a page (which
      // shows a level count of 0 as 1) changes nothing.
      TestApp app;
      app.Click("cmdNext");
      QVERIFY(!app.hq().Designs().HasUnsavedChanges(DesignKind::Component));
      app.Key(Qt::Key_Q, Qt::ControlModifier);
      QVERIFY(!app.host()->isVisible());
      QVERIFY(app.services.Messages().empty());
    }
    TestApp app;
    app.Click("cmdNext");
    app.Type("txtCompName", "Laser");
    QVERIFY(app.hq().Designs().HasUnsavedChanges(DesignKind::Component));
    app.services.QueueNo();
    app.hq().Designs().QuitAction()->trigger();
    app.Settle();
    QCOMPARE(app.services.MessageTexts(), QStringList{kLoseComponent});
    QVERIFY(app.host()->isVisible());
    QCOMPARE(app.PageName(), QStringLiteral("frmCompStart"));
    QCOMPARE(app.Find<QLineEdit>("txtCompName")->text(), QStringLiteral("Laser"));

    // The close box of a wizard page returns to the menu and asks nothing;
    // the typed name was never written, so nothing is unsaved any more.
    app.services.ClearRecords();
    app.CloseBox();
    QCOMPARE(app.PageName(), QStringLiteral("frmMain"));
    QVERIFY(app.services.Messages().empty());
    QCOMPARE(app.host()->windowTitle(), QStringLiteral("Vorlane v2.0"));

    // Both designs changed: one question names both; the menu's Close and
    // the close box ask it too.
    app.hq().Component().SetCompName("Laser");
    app.hq().Facility().SetFacName("Mine");
    app.services.QueueNo();
    app.Click("cmdClose");
    app.services.QueueNo();
    app.CloseBox();
    QVERIFY(app.host()->isVisible());
    const QString both =
        QStringLiteral("The component and facility designs have unsaved changes.\nDo you want to lose your changes?");
    QCOMPARE(app.services.MessageTexts(), (QStringList{both, both}));
    app.services.QueueYes();
    app.Key(Qt::Key_Escape);
    QVERIFY(!app.host()->isVisible());
    QCOMPARE(app.services.UnexpectedQuestions(), 0);
  }

  void openingOverUnsavedChangesAsksFirst() {
    TestApp app;
    const QString path = QDir(app.Dir()).filePath("laser.vorlane.json");
    vrlComponent laser;
    FillComponent(laser);
    std::string error;
    QVERIFY(SaveDesignFile(path.toStdString(), laser, error));
    app.Click("cmdNext");
    app.Type("txtCompName", "Unsaved");
    const vrlComponent before = app.hq().Component();

    // No: the page and the record stay as they were.
    app.services.QueueFile(path);
    app.services.QueueNo();
    QVERIFY(!app.hq().Designs().Open());
    QCOMPARE(app.services.MessageTexts(), QStringList{kLoseComponent});
    QCOMPARE(app.PageName(), QStringLiteral("frmCompStart"));
    QCOMPARE(app.Find<QLineEdit>("txtCompName")->text(), QStringLiteral("Unsaved"));
    QVERIFY(app.hq().Component() == before);
    QVERIFY(app.hq().Designs().FilePath(DesignKind::Component).isEmpty());

    // Changes to the facility design do not stand in the way of a component.
    app.CloseBox();
    app.hq().Facility().SetFacName("Mine");
    app.services.ClearRecords();
    QVERIFY(app.hq().Designs().OpenFile(path));
    QVERIFY(app.services.Messages().empty());
    QVERIFY(app.hq().Component() == laser);

    // Setup edits are asked about as the setup page's Cancel does.
    app.hq().ShowMainMenu();
    app.Settle();
    app.PageAs<frmMain>()->optCreate(3)->setChecked(true);
    app.Click("cmdNext");
    app.Type("txtSEIVDir", "/games/se4");
    app.services.QueueNo();
    QVERIFY(!app.hq().Designs().OpenFile(path));
    QCOMPARE(app.services.MessageTexts().back(), QStringLiteral("Do you want to lose your changes?"));
    QCOMPARE(app.PageName(), QStringLiteral("frmSetup"));
  }

  void brokenFilesAreRefusedAndChangeNothing() {
    TestApp app;
    vrlComponent laser;
    FillComponent(laser);
    const QString good = QDir(app.Dir()).filePath("good.vorlane.json");
    std::string error;
    QVERIFY(SaveDesignFile(good.toStdString(), laser, error));
    QVERIFY(app.hq().Designs().OpenFile(good));
    app.Type("txtCompName", "On screen");
    const vrlComponent before = app.hq().Component();

    const struct {
      const char* file;
      QByteArray content;  // empty: the file does not exist
      const char* reason;
    } cases[] = {
        {"missing.vorlane.json", {}, "No such file"},
        {"truncated.vorlane.json", R"({"kind": "component", "CompName": "X")", "malformed JSON"},
        {"unknown.vorlane.json", R"({"kind": "component", "Colour": "red"})", "/Colour: unknown key"},
        {"kindless.vorlane.json", R"({"CompName": "X"})", "/kind"},
        {"wrongtype.vorlane.json", R"({"kind": "facility", "FacName": 5})", "/FacName"},
    };
    for (const auto& c : cases) {
      const QString path = QDir(app.Dir()).filePath(c.file);
      if (!c.content.isEmpty()) WriteFile(path, c.content);
      app.services.ClearRecords();
      app.services.QueueFile(path);
      QVERIFY(!app.hq().Designs().Open());
      QCOMPARE(app.services.Messages().size(), std::size_t{1});
      const RecordedMessage& m = app.services.Messages()[0];
      QCOMPARE(m.title, QStringLiteral("Vorlane"));
      QCOMPARE(m.buttons, MessageButtons::Ok);
      QVERIFY2(m.text.startsWith(QStringLiteral("The design could not be opened.\n")), qPrintable(m.text));
      QVERIFY2(m.text.contains(path), qPrintable(m.text));
      QVERIFY2(m.text.contains(QString::fromLatin1(c.reason)), qPrintable(m.text));
      QVERIFY(app.hq().Component() == before);
      QVERIFY(app.hq().Facility() == vrlFacility{});
      QCOMPARE(app.PageName(), QStringLiteral("frmCompStart"));
      QCOMPARE(app.Find<QLineEdit>("txtCompName")->text(), QStringLiteral("On screen"));
      QCOMPARE(app.hq().Designs().FilePath(DesignKind::Component), good);
      QCOMPARE(app.host()->windowTitle(), QStringLiteral("Vorlane v2.0 - Component Design - good.vorlane.json *"));
    }
  }

  void failedOrDeclinedSavesKeepTheDesignUnsaved() {
    TestApp app;
    app.hq().Component().SetCompName("Laser");
    app.Settle();
    // A folder that does not exist.
    const QString nowhere = QDir(app.Dir()).filePath("no/such/dir/laser.vorlane.json");
    app.services.QueueFile(nowhere);
    QVERIFY(!app.hq().Designs().SaveAs());
    QCOMPARE(app.services.Messages().size(), std::size_t{1});
    QVERIFY(app.services.Messages()[0].text.startsWith(QStringLiteral("The design could not be saved.\n")));
    QVERIFY(app.services.Messages()[0].text.contains(QStringLiteral("no/such/dir")));
    QVERIFY(app.hq().Designs().FilePath(DesignKind::Component).isEmpty());
    QVERIFY(!app.hq().Designs().SaveAction()->isEnabled());
    QCOMPARE(app.host()->windowTitle(), QStringLiteral("Vorlane v2.0"));
    QVERIFY(app.hq().Designs().HasUnsavedChanges(DesignKind::Component));

    // A cancelled dialog writes nothing; Save without a file asks for one.
    app.services.ClearRecords();
    QVERIFY(!app.hq().Designs().Save());
    QCOMPARE(app.services.FileRequests().size(), std::size_t{1});

    // The ending added to a chosen name may hit an existing file: asked.
    const QString existing = QDir(app.Dir()).filePath("laser.vorlane.json");
    WriteFile(existing, "keep");
    app.services.ClearRecords();
    app.services.QueueFile(QDir(app.Dir()).filePath("laser"));
    app.services.QueueNo();
    QVERIFY(!app.hq().Designs().SaveAs());
    QCOMPARE(app.services.MessageTexts(),
             QStringList{QStringLiteral("\"laser.vorlane.json\" already exists.\nDo you want to replace it?")});
    QCOMPARE(ReadAll(existing), QByteArray("keep"));
    app.services.QueueFile(QDir(app.Dir()).filePath("laser"));
    app.services.QueueYes();
    QVERIFY(app.hq().Designs().SaveAs());
    QVERIFY(ReadAll(existing).contains("\"Laser\""));
  }

  void savedDesignGeneratesTheSameTextOnTheCommandLine() {
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath("beam.vorlane.json");
    {
      TestApp app;
      FillComponent(app.hq().Component());
      app.Click("cmdNext");
      app.Type("txtCompName", "Beam Laser");
      app.services.QueueFile(path);
      QVERIFY(app.hq().Designs().SaveAs());
    }

    // A fresh run opens the file and generates on its generate page; the
    // results window saves what it shows.
    TestApp app;
    app.services.QueueFile(path);
    app.Key(Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(app.PageName(), QStringLiteral("frmCompStart"));
    app.host()->ShowPage(new frmCompGenerate(app.hq()));
    app.Settle();
    // While the generation runs, the file commands wait.
    bool refused = true;
    connect(app.PageAs<GeneratePage>(), &GeneratePage::Progressed, this, [&] {
      refused = refused && !app.hq().Designs().OpenFile(path) && !app.hq().Designs().Save();
      app.hq().Designs().Quit();
    });
    app.Click("cmdNext");
    QVERIFY(refused);
    QVERIFY(app.host()->isVisible());
    QCOMPARE(app.PageName(), QStringLiteral("frmDisplayResults"));
    QCOMPARE(app.host()->windowTitle(),
             QStringLiteral("Component Generation Results - [Beam Laser] - beam.vorlane.json"));
    const QString results = QDir(dir.path()).filePath("beam.txt");
    app.services.QueueFile(results);
    app.Click("cmdSaveAs");
    const QByteArray shown = ReadAll(results);
    QVERIFY(shown.contains("Beam Laser 2\r\n"));
    QVERIFY(app.services.Messages().empty());

    // The engine on the saving run's record agrees.
    SilentSink sink;
    CompGenerate generator;
    vrlComponent record;
    FillComponent(record);
    record.SetCompName("Beam Laser");
    QCOMPARE(QByteArray::fromStdString(generator.Generate(record, sink).text), shown);

#ifdef VORLANE_GEN_PROGRAM
    QProcess gen;
    gen.start(QStringLiteral(VORLANE_GEN_PROGRAM), {path});
    QVERIFY(gen.waitForFinished(30000));
    QCOMPARE(gen.exitCode(), 0);
    QCOMPARE(gen.readAllStandardOutput(), shown);
#else
    QSKIP("vorlane-gen is not built");
#endif
  }

  void facilityDesignRoundTrip() {
    TestApp app;
    app.PageAs<frmMain>()->optCreate(1)->setChecked(true);
    app.Click("cmdNext");
    app.Type("txtFacName", "Mineral Miner");
    app.Type("txtFacLevels", "2");
    app.hq().Facility().SetNumTechReqs(0);
    app.hq().Facility().SetNumAbils(0);
    app.hq().Facility().SetMinCost("{&faclevel*100}");
    const QString path = QDir(app.Dir()).filePath("miner.vorlane.json");
    app.services.QueueFile(path);
    QVERIFY(app.hq().Designs().SaveAs());
    std::string error;
    std::optional<Design> saved = LoadDesignFile(path.toStdString(), error);
    QVERIFY2(saved, error.c_str());
    QCOMPARE(saved->kind, DesignKind::Facility);
    QCOMPARE(saved->facility.FacName(), std::string("Mineral Miner"));
    QCOMPARE(saved->facility.NumFacLevels(), std::string("2"));
    QVERIFY(app.hq().Component() == vrlComponent{});

    SilentSink sink;
    FacGenerate generator;
    const GenerationResult here = generator.Generate(app.hq().Facility(), sink);
    QVERIFY2(here.Generated(), sink.messages.c_str());
    FacGenerate other;
    QCOMPARE(other.Generate(saved->facility, sink).text, here.text);
  }
};

QTEST_MAIN(DesignFilesTest)
#include "tst_design_files.moc"
