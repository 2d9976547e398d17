// The mod's own files through the program: File > Import from Game Data
// (the file, the searchable family list, the design in the design sheet) and
// the results window's Apply to Mod (the copy question, the change list, the
// refusal of names other entries hold, the written file and its backup).

#include "app/DesignFiles.h"
#include "gamedata/DataFile.h"
#include "generate/FacGenerate.h"
#include "sheet/DesignSheet.h"
#include "support/TestApp.h"

using namespace vorlane;
using namespace vorlane::test;

namespace {

class Quiet : public MessageSink {
 public:
  MessageAnswer Show(const std::string&, const std::string&, MessageButtons) override { return MessageAnswer::Ok; }
};

// The pump's entries for `levels` levels at `cost` minerals per level.
std::string Pump(int levels, int cost) {
  vrlFacility pump;
  pump.SetFacName("Pump");
  pump.SetNumberStyle("&faclevel");
  pump.SetLevelCount(std::to_string(levels));
  pump.SetFacFamily("7");
  pump.SetMinCost("{" + std::to_string(cost) + "*&faclevel}");
  pump.SetNumTechReqs(0);
  pump.SetNumAbils(0);
  Quiet sink;
  return FacGenerate().Generate(pump, sink).text;
}

void Write(const QString& path, const std::string& bytes) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

std::string Read(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string("<missing>");
}

const std::string kOther = "Name := Other\r\nCost Minerals := 1\r\n\r\n";

}  // namespace

class GameDataTest : public QObject {
  Q_OBJECT

 private slots:
  void importsAFamilyIntoTheDesignSheet() {
    TestApp app;
    const QString path = QDir(app.Dir()).filePath("mod/Data/Facility.txt");
    Write(path, "*BEGIN*\r\n" + kOther + Pump(3, 10) + "*END*\r\n");
    app.hq().SetModDir(QDir(app.Dir()).filePath("mod").toStdString());
    // Cancelled at the file, then at the list: nothing changes.
    QVERIFY(!app.hq().Designs().ImportFromGameData());
    app.services.QueueFile(path);
    QVERIFY(!app.hq().Designs().ImportFromGameData());
    QCOMPARE(app.services.Lists().back(), QStringList({"Other (1 entry, line 2)", "Pump 1..3 (3 entries, line 5)"}));
    QCOMPARE(app.services.FileRequests().front().startDir, QDir(app.Dir()).filePath("mod/Data"));
    app.services.QueueFile(path);
    app.services.QueueListChoice("pump 2");  // an entry's name finds its family
    QVERIFY(app.hq().Designs().ImportFromGameData());
    QCOMPARE(app.PageName(), QStringLiteral("DesignSheet"));
    QCOMPARE(app.hq().Facility().FacName(), std::string("Pump"));
    QCOMPARE(app.hq().Facility().MinCost(), std::string("{10*&faclevel}"));
    QCOMPARE(app.hq().Facility().LevelCount(), std::string("3"));
    QVERIFY(app.hq().Designs().HasUnsavedChanges(DesignKind::Facility));
    // Everything came back except the keys the file lacks, which are listed.
    QCOMPARE(app.services.Messages().size(), std::size_t{0});
    // A file that is no data file: after the question about the imported
    // design's unsaved changes, the reason, and nothing imported.
    Write(path, "no begin\r\n");
    app.services.QueueSaveAnswer(SaveAnswer::Discard);
    app.services.QueueFile(path);
    QVERIFY(!app.hq().Designs().ImportFromGameData());
    QVERIFY(app.services.MessageTexts().back().contains("no \"*BEGIN*\" line"));
  }

  void appliesTheResultsToTheMod() {
    TestApp app;
    const QString mod = QDir(app.Dir()).filePath("mod");
    const QString game = QDir(app.Dir()).filePath("game");
    const std::string original = "*BEGIN*\r\n" + kOther + Pump(2, 10) + "*END*\r\n";
    Write(game + "/DATA/facility.TXT", original);
    QDir().mkpath(mod);
    app.hq().SetModDir(mod.toStdString());
    app.hq().SetSEIVDir(game.toStdString());
    frmDisplayResults* results = app.ShowResults(QByteArray::fromStdString(Pump(3, 12)));
    QVERIFY(results);
    results->ResultKind = QStringLiteral("Facility");
    // Asked before the game's file is copied into the mod; No copies nothing.
    QStringList shown = app.Press("cmdApply", {false});
    QCOMPARE(shown,
             QStringList{"The mod has no Data/Facility.txt.\nDo you want to copy the game's file into the mod?"});
    QVERIFY(!QFileInfo::exists(mod + "/Data/Facility.txt"));
    // Copied; then "Pump 1" and "Pump 2" belong to entries this design did
    // not write: asked, and No writes nothing.
    shown = app.Press("cmdApply", {true, false});
    QCOMPARE(shown.size(), 2);
    QVERIFY(shown[1].startsWith("Entries this design did not write hold its names:\n\"Pump 1\": the entry at line 5"));
    const QString copied = mod + "/Data/Facility.txt";
    QCOMPARE(Read(copied), original);
    // Yes to replacing them, Yes to the changes: written, with a backup.
    shown = app.Press("cmdApply", {true, true});
    QCOMPARE(shown.size(), 3);
    QVERIFY(shown[1].contains("replaced \"Pump 1\" (line 5)\n  key \"Cost Minerals\": \"10\" -> \"12\""));
    QVERIFY(shown[1].contains("added \"Pump 3\""));
    QVERIFY(shown[2].startsWith("Written."));
    QCOMPARE(Read(copied + ".bak"), original);
    std::string error;
    auto file = ParseDataFile(Read(copied), error);
    QVERIFY(file);
    QCOMPARE(file->entries.size(), std::size_t{4});
    QCOMPARE(file->entries[3].name, std::string("Pump 3"));
    // The design remembers the names; a second apply has nothing to do.
    QCOMPARE(app.hq().Facility().Written().back().names, (std::vector<std::string>{"Pump 1", "Pump 2", "Pump 3"}));
    shown = app.Press("cmdApply");
    QCOMPARE(shown.size(), 1);
    QVERIFY(shown[0].endsWith("already holds these entries; nothing to change."));
  }
};

QTEST_MAIN(GameDataTest)
#include "tst_game_data.moc"
