// The generate pages and the results window: progress, the engine's messages
// in order, the results text, coming back, closing while generating; the
// results' text view and its Copy All, Save As and Check.

#include <QScrollBar>

#include "app/DesignFiles.h"
#include "generate/CompGenerate.h"
#include "generate/FacGenerate.h"
#include "generate_ui/ResultsExport.h"
#include "generate_ui/frmCompGenerate.h"
#include "generate_ui/frmFacGenerate.h"
#include "gui/LineTextView.h"
#include "support/DesignWalk.h"
#include "support/TestApp.h"
#include "wizard/frmCompWeaponInfo.h"

using namespace vorlane;
using namespace vorlane::test;

namespace {

// What the engine itself makes of a record, with the view's LF line ends.
template <class Module, class Record>
QString EngineText(const Record& record) {
  struct Quiet : MessageSink {
    MessageAnswer Show(const std::string&, const std::string&, MessageButtons) override { return MessageAnswer::Ok; }
  } sink;
  Module module;
  QString text = QString::fromStdString(module.Generate(record, sink).text);
  return text.replace("\r\n", "\n");
}

struct Watch {
  QStringList labels;
  int lastMaximum = -1;
  bool buttonsDisabled = true;
  bool barShown = true;
};

// Records what the page shows after every progress report.
void WatchProgress(GeneratePage* page, Watch& watch) {
  QObject::connect(page, &GeneratePage::Progressed, page, [page, &watch](int, int maximum, const QString& text) {
    watch.labels << text;
    watch.lastMaximum = maximum;
    for (const char* name : {"cmdNext", "cmdBack", "cmdCancel"})
      watch.buttonsDisabled = watch.buttonsDisabled && !page->findChild<QWidget*>(name)->isEnabled();
    watch.barShown = watch.barShown && page->pbarProgress()->isVisible() && page->lblGenerating()->isVisible() &&
                     page->lblGenerating()->text() == text;
  });
}

frmDisplayResults* Results(TestApp& app) { return app.PageAs<frmDisplayResults>(); }

bool Idle(TestApp& app) {
  auto* page = app.PageAs<GeneratePage>();
  for (const char* name : {"cmdNext", "cmdBack", "cmdCancel"})
    if (!page || !app.Find(name)->isEnabled()) return false;
  return !page->pbarProgress()->isVisible() && !page->lblGenerating()->isVisible();
}

// The values of `key` in the generated entries, in turn.
QStringList Values(const QString& text, const QString& key) {
  QStringList values;
  for (const QString& line : text.split('\n'))
    if (line.startsWith(test::EntryLine(key, ""))) values << line.mid(45);
  return values;
}

}  // namespace

class GenerateTest : public QObject {
  Q_OBJECT

 private slots:
  void designToItsResultsAndBack_data() {
    QTest::addColumn<int>("row");
    QTest::newRow("laser") << 0;
    QTest::newRow("grid shield, odometer order") << 1;
    QTest::newRow("facility") << 2;
  }
  void designToItsResultsAndBack() {
    QFETCH(int, row);
    DesignWalk walk = LaserWalk();
    QList<std::pair<QString, QStringList>> values;  // a key's values in the entries, in turn
    QStringList progress{"33% generated", "67% generated", "100% generated"};
    if (row == 1) {
      walk.name = "Shield", walk.grid = true;
      walk.techs = {{"Shields", "&techgridlevel1", "2", "-&techgridlevel1"},
                    {"Armor", "&techgridlevel2", "3", ".&techgridlevel2"}};
      walk.abilities << DesignWalk::Ability{"Direct Fire", "", "5", ""};
      values = {{"Name", {"Shield -1.1", "Shield -1.2", "Shield -1.3", "Shield -2.1", "Shield -2.2", "Shield -2.3"}},
                {"Roman Numeral", {"1", "2", "3", "2", "3", "4"}}};
      progress = {"100% generated"};  // the last of the cells' reports
    } else if (row == 2) {
      walk = DesignWalk{};
      walk.name = "Mine", walk.desc = "Digs.", walk.levels = "2", walk.family = "7", walk.minCost = "{&faclevel*100}";
      walk.numberStyle = walk.romanStyle = "&faclevel";
      walk.techs = {{"Mining", "&faclevel", "", ""}, {"Optics", "2", "", ""}};
      walk.abilities = {{"Mineral Generation", "", "{&faclevel*5}", ""}, {"Armor", "Absorbs", "1", "2"}};
      values = {{"Name", {"Mine 1", "Mine 2"}},
                {"Cost Minerals", {"100", "200"}},
                {"Ability 1 Val 1", {"5", "10"}},
                {"Ability 2 Val 1", {"1", "1"}},
                {"Tech Area Req 2", {"Optics", "Optics"}}};
      progress = {"50% generated", "100% generated"};
    }
    const bool component = row != 2;
    TestApp app;
    QVERIFY(walk.Walk(app, component) && app.services.Messages().empty());
    // Back and forth keeps every value (the weapon page's Back stores its number).
    vrlComponent typed = app.hq().Component();
    if (component) typed.SetWeaponDisplayNum("0");
    const vrlFacility typedFacility = app.hq().Facility();
    const QStringList back =
        component ? QStringList{"frmCompAbility",     "frmCompCost",      "frmCompTech", "frmCompPicture",
                                "frmCompVehicleType", "frmCompBasicInfo", "frmCompStart"}
                  : QStringList{"frmFacAbility", "frmFacTech", "frmFacPicture", "frmFacBasicInfo", "frmFacStart"};
    QCOMPARE(WalkBack(app), back);
    QVERIFY(app.hq().Component() == typed && app.Text(component ? "txtCompName" : "txtFacName") == walk.name);
    QVERIFY(WalkUntouched(app, component ? "frmCompWeaponInfo" : "frmFacGenerate"));
    QVERIFY(app.hq().Component() == typed && app.hq().Facility() == typedFacility && app.services.Messages().empty());
    QVERIFY(component || typed == vrlComponent{});
    if (component) app.Click("cmdNext");
    const QString noun = component ? "Component" : "Facility", page = component ? "frmCompGenerate" : "frmFacGenerate";
    QCOMPARE(app.PageName(), page);
    QCOMPARE(app.host()->windowTitle(), "Vorlane v2.0 - " + noun + " Design - Generate " + noun);
    QCOMPARE(app.Find<QLabel>(component ? "lblCompGenerate" : "lblFacGenerate")->text(),
             "You're done! Now you can either go back to double-check your entries or click Next to generate the " +
                 noun.toLower() + ".");
    QVERIFY(app.PageAs<GeneratePage>()->lblGenerating()->text() == "Generating " + noun.toLower() && Idle(app));
    Watch watch;
    WatchProgress(app.PageAs<GeneratePage>(), watch);
    app.Click("cmdNext");

    QCOMPARE(row == 1 ? watch.labels.mid(watch.labels.size() - 1) : watch.labels, progress);
    QVERIFY(watch.lastMaximum == (row == 1 ? 6 : progress.size()) && watch.buttonsDisabled && watch.barShown);
    QCOMPARE(app.PageName() + "|" + app.host()->windowTitle() + "|" + Results(app)->ResultKind,
             "frmDisplayResults|" + noun + " Generation Results - [" + walk.name + "]|" + noun);
    const QString text = Results(app)->rtfResults()->text();
    for (const auto& [key, inTurn] : values) QCOMPARE(Values(text, key), inTurn);
    QCOMPARE(text,
             component ? EngineText<CompGenerate>(app.hq().Component()) : EngineText<FacGenerate>(app.hq().Facility()));
    if (row == 0) QVERIFY(app.hq().Component() == LaserRecord());
    app.CloseBox();  // back on the generate page, ready again
    QVERIFY(app.PageName() == page && Idle(app));
    app.Click("cmdNext");
    QVERIFY(app.PageName() == "frmDisplayResults" && Results(app)->rtfResults()->text() == text);
  }

  void seekingWeaponEntries() {
    TestApp app;
    DesignWalk walk = LaserWalk();
    walk.name = "Swarm Missile";
    QVERIFY(walk.WalkComponent(app));
    auto* info = app.PageAs<frmCompWeaponInfo>();
    info->cboWeapType()->setCurrentText("Seeking");
    QTest::mouseClick(info->chkWeapTarg(0), Qt::LeftButton, {}, QPoint(8, 8));
    QTest::mouseClick(info->chkWeapTarg(1), Qt::LeftButton, {}, QPoint(8, 8));
    info->cboDispType()->setCurrentText("Seeker");
    app.Type({{"txtDispNum", "3"}, {"txtWeapFam", "12"}, {"txtSoundFile", "missile.wav"}});
    app.Click("cmdNext");
    app.Find<QComboBox>("cboDmgType")->setCurrentText("Normal");
    app.Type("txtReload", "{4-&complevel}");
    app.Type({{"txtToHit", "0"}, {"txtSeekerSpeed", "{&complevel+5}"}, {"txtSeekerHP", "&weapreload"}});
    app.Click("cmdNext");
    app.Type("txtRange", "{&complevel*10}");
    app.Key(Qt::Key_Up);
    QTest::keyClicks(app.Find<QLineEdit>("txtRange"), "&weapdmg1");
    app.Click("cmdNext");
    app.Click("cmdNext");
    QCOMPARE(app.host()->windowTitle(), QString("Component Generation Results - [Swarm Missile]"));
    const QString text = Results(app)->rtfResults()->text();
    QStringList shown;  // level 3 of what was typed on the three weapon pages
    for (const char* key :
         {"Weapon List Target Override", "Weapon Damage At Rng", "Weapon Reload Rate", "Weapon Display Type",
          "Weapon Display", "Weapon Sound", "Weapon Family", "Weapon Seeker Speed", "Weapon Seeker Dmg Res"})
      shown << Values(text, key).value(2);
    QCOMPARE(shown, (QStringList{"Ships, Planets", "30 30 " + QString("0 ").repeated(19), "1", "Seeker", "3",
                                 "missile.wav", "12", "8", "1"}));
  }

  void formulaErrorShowsItsChainAndNoResults() {
    TestApp app;
    DesignWalk walk = LaserWalk();
    walk.minCost = "{&complevel*}";
    QVERIFY(walk.WalkComponent(app));
    app.Click("cmdNext");
    bool disabledDuringMessages = true;
    app.services.onMessage = [&](const RecordedMessage& m) {
      if (m.buttons != MessageButtons::Ok) return;  // the offer comes after the generation
      for (const char* name : {"cmdNext", "cmdBack", "cmdCancel"})
        disabledDuringMessages = disabledDuringMessages && !app.Find(name)->isEnabled();
    };
    app.services.QueueNo();
    app.Click("cmdNext");
    // The chain as it always was, then the offer of the sheet at the field.
    QCOMPARE(app.services.MessageTexts(),
             (QStringList{"Error parsing string for evaluation:\n{1*}", "Error parsing string: \n{1*}",
                          "Error during parsing.", "Component not generated.",
                          "Do you want to open the design sheet at the field that failed?"}));
    const auto& shown = app.services.Messages();
    for (std::size_t i = 0; i + 1 < shown.size(); ++i)
      QVERIFY(shown[i].title == "Error" && shown[i].buttons == MessageButtons::Ok);
    QVERIFY(shown.back().buttons == MessageButtons::YesNo && disabledDuringMessages && Idle(app));
    // Yes: the sheet, with the cursor in the failing field.
    app.services.ClearRecords();
    app.services.QueueYes();
    app.Click("cmdNext");
    auto* failing = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QVERIFY(app.PageName() == "DesignSheet" && failing && failing->text() == "{&complevel*}");
    QCOMPARE(failing->cursorPosition(), 0);  // a missing argument has no place of its own: the group's start
    app.hq().ShowPage(app.hq().CreatePage(PageId::CompGenerate));
    app.hq().Component().SetMinCost("{&complevel*10}");  // mended, the same page generates
    app.services.ClearRecords();
    app.Click("cmdNext");
    QVERIFY(app.PageName() == "frmDisplayResults" && app.services.Messages().empty());
    // A group written as 0: the results as always, after a warning that names it.
    app.hq().ShowPage(app.hq().CreatePage(PageId::CompGenerate));
    app.hq().Component().SetMinCost("{1/(&complevel-2)}");
    app.services.ClearRecords();
    app.Click("cmdNext");
    QVERIFY(app.PageName() == "frmDisplayResults" && app.services.Messages().size() == 1);
    const RecordedMessage& warning = app.services.Messages()[0];
    QVERIFY2(warning.title == "Warning" &&
                 warning.text.startsWith("A brace group counted something as 0 (a failed evaluation, or a name that "
                                         "nothing assigns):\n"
                                         "Minerals Cost, level 2: Evaluation error <") &&
                 warning.text.endsWith("{1/(2-2)} written as 0 (character 3)"),
             qPrintable(warning.text));
    // The results window's Check lists it as a warning of its entry.
    app.services.ClearRecords();
    QVERIFY(app.Click("cmdCheck"));
    QVERIFY(app.services.Messages().size() == 1 && app.services.Messages()[0].title == "Game Check");
    QVERIFY2(
        app.services.Messages()[0].text.contains(
            "warning: entry 2 \"Laser 2\": Minerals Cost, level 2: Evaluation error < 1 / 0 >; {1/(2-2)} written as 0"),
        qPrintable(app.services.Messages()[0].text));
  }

  void closingWhileGeneratingCancels() {
    TestApp app;
    vrlComponent& c = app.hq().Component();
    c = LaserRecord();
    c.SetNumCompLevels("999");
    auto* page = app.Show<frmCompGenerate>();
    int reports = 0;
    QObject::connect(page, &GeneratePage::Progressed, page, [&](int position) {
      ++reports;
      if (position == 5) app.host()->close();
    });
    app.Click("cmdNext");
    QVERIFY(app.PageName() == "frmMain" && reports <= 6 && app.services.Messages().empty() && app.host()->isVisible());
    // Nothing is left running: a new generation starts afresh.
    app.Show<frmCompGenerate>();
    c.SetNumCompLevels("2");
    app.Click("cmdNext");
    QVERIFY(Results(app) && Results(app)->rtfResults()->text().count(test::EntryLine("Name", "Laser")) == 2);
    // Back and Cancel arriving while it runs (a delayed click) leave the page be.
    auto* running = app.Show<frmCompGenerate>();
    QStringList during;
    QObject::connect(running, &GeneratePage::Progressed, running, [&] {
      emit running->BackButton()->clicked();
      emit running->CancelButton()->clicked();
      during << app.PageName();
    });
    app.Click("cmdNext");
    QCOMPARE(during.filter("frmCompGenerate").size(), during.size());
    QVERIFY(app.PageName() == "frmDisplayResults" && app.services.Messages().empty());
    // A click still under way when the page is replaced (a mnemonic's delayed
    // click) no longer reaches it: no generation starts on a page on its way out.
    auto* replaced = app.Show<frmCompGenerate>();
    app.hq().ShowMainMenu();
    replaced->NextButton()->click();
    QCOMPARE(app.PageName(), QString("frmMain"));
  }

  // The text view: line ends, selection, copy, a grid-sized text.
  void resultsTextView() {
    LineTextView view;
    view.setText(QString("a\r\nbb\nLäser µ\rd\r\n\r\n").toUtf8());
    QVERIFY(view.lineCount() == 6 && view.text() == "a\nbb\nLäser µ\nd\n\n");
    view.setSelection({2, 1}, {1, 1});  // backwards, across a line end
    QCOMPARE(view.selectedText(), QString("b\nL"));
    view.setSelection({2, 5}, {3, 1});
    view.copy();
    QCOMPARE(QApplication::clipboard()->text(), QString(" µ\nd"));
    view.setSelection({-5, -5}, {99, 99});  // pulled back inside the text
    QCOMPARE(view.selectedText(), view.text());
    view.setText("");
    QVERIFY(view.lineCount() == 1 && !view.hasSelection());

    view.resize(600, 300);
    view.setText("Cost Minerals := 20\r\ndefgh\r\nijklmno");
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.setFocus();
    QTest::keyClick(&view, Qt::Key_Right);
    QTest::keyClick(&view, Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(view.selectedText(), QString("ost Minerals := 20\nd"));
    QTest::keyClick(&view, Qt::Key_End, Qt::ShiftModifier);
    QTest::keyClick(&view, Qt::Key_Right, Qt::ShiftModifier);  // over the line end
    QCOMPARE(view.selectedText(), QString("ost Minerals := 20\ndefgh\n"));
    QTest::keyClick(&view, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), view.text());

    const int h = view.fontMetrics().lineSpacing();
    const int w = view.fontMetrics().horizontalAdvance(QString("Cost "));
    QWidget* vp = view.viewport();
    QTest::mousePress(vp, Qt::LeftButton, {}, QPoint(4, h / 2));
    const QPointF to(4 + w + 1, 2 * h + h / 2);
    QMouseEvent move(QEvent::MouseMove, to, vp->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(vp, &move);
    QTest::mouseRelease(vp, Qt::LeftButton, {}, to.toPoint());
    QCOMPARE(view.selectedText(), QString("Cost Minerals := 20\ndefgh\nijklm"));
    QTest::mouseDClick(vp, Qt::LeftButton, {}, QPoint(4 + w + 2, h / 2));
    QCOMPARE(view.selectedText(), QString("Minerals"));

    // 32767 entries of 40 lines each: well over a million lines.
    QByteArray entry;
    for (int i = 0; i < 38; ++i)
      entry += QByteArray("Key ").append(QByteArray::number(i)).leftJustified(42) + ":= v\r\n";
    entry += "\r\n\r\n";
    view.setText(entry.repeated(32767));
    QVERIFY(view.lineCount() == 40 * 32767 + 1);
    view.scrollToLine(view.lineCount());
    QVERIFY(view.firstVisibleLine() > 40 * 32767 - 50);
    view.setSelection({40 * 32766 + 37, 0}, {40 * 32766 + 38, 0});
    QCOMPARE(view.selectedText(), QString("Key 37").leftJustified(42) + ":= v\n");

    // A line of megabytes is laid out only where it shows: its far end is
    // reached by key, and a click there finds the column under the mouse.
    view.setFont(LineTextView::FixedPitchFont());
    const qsizetype length = 5'000'000;
    view.setText(QByteArray(length - 1, 'x') + "y\r\nNext := 1");
    QTest::keyClick(&view, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(&view, Qt::Key_End);
    QTest::keyClick(&view, Qt::Key_Left, Qt::ShiftModifier);
    QCOMPARE(view.selectedText(), QString("y"));
    QVERIFY(!view.grab().isNull());
    const qreal pitch = QFontMetricsF(view.font()).horizontalAdvance('M');
    const qsizetype column = length - 20;
    const int x = qRound((static_cast<qreal>(column) + 0.25) * pitch) + 4 - view.horizontalScrollBar()->value();
    QVERIFY(x > 0 && x < vp->width());
    QTest::mouseClick(vp, Qt::LeftButton, {}, QPoint(x, h / 2));
    QTest::keyClick(&view, Qt::Key_End, Qt::ShiftModifier);
    QCOMPARE(view.selectedText(), QString(19, 'x') + "y");
  }

  // The text has a fixed-pitch font and the focus; Copy All takes the whole
  // text and leaves the selection; every command has a key; Check reports.
  void windowFontFocusCopyAllKeysAndCheck() {
    TestApp app;
    frmDisplayResults* window = app.ShowResults("Name := Läser 1\r\nSize := 10\r\n\r\nName := Läser 2\r\n");
    QFontMetricsF metrics(window->rtfResults()->font());
    QVERIFY(metrics.horizontalAdvance('i') == metrics.horizontalAdvance('M') &&
            window->rtfResults()->font().pointSizeF() == 9.75);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(window->rtfResults()));
    window->rtfResults()->setSelection({1, 0}, {1, 4});
    QVERIFY(app.Click("cmdCopyAll"));
    QCOMPARE(QApplication::clipboard()->text(),
             QStringLiteral("Name := Läser 1\r\nSize := 10\r\n\r\nName := Läser 2\r\n"));
    QCOMPARE(window->rtfResults()->selectedText(), QStringLiteral("Size"));

    // Every command has a key; Close and Escape bring the generate page back.
    QApplication::clipboard()->clear();
    // A button's accelerator clicks it a moment later, as it shows the press.
    app.Key(Qt::Key_A, Qt::AltModifier);
    QTRY_COMPARE(QApplication::clipboard()->text(),
                 QStringLiteral("Name := Läser 1\r\nSize := 10\r\n\r\nName := Läser 2\r\n"));
    app.Key(Qt::Key_S, Qt::AltModifier);
    QTRY_COMPARE(app.services.FileRequests().size(), std::size_t{1});
    app.Key(Qt::Key_K, Qt::AltModifier);
    QTRY_COMPARE(app.services.Messages().size(), std::size_t{1});
    QCOMPARE(app.PageName(), QStringLiteral("frmDisplayResults"));
    for (QKeyCombination key : {QKeyCombination(Qt::ALT, Qt::Key_C), QKeyCombination(Qt::Key_Escape)}) {
      app.ShowResults("Name := Mine\r\n");
      app.Key(key.key(), key.keyboardModifiers());
      QTRY_COMPARE(app.PageName(), QStringLiteral("frmFacGenerate"));
    }

    // Check reports what the game would refuse or misread, each with its level (the wording: with the game
    // check's own tests).
    QTemporaryDir game;
    QVERIFY(WriteAll(game.filePath("Data/TechArea.txt"), "Name := Lasers\r\n"));
    app.hq().SetSEIVDir(game.path().toStdString());
    app.ShowResults(
        "Name := Mine 1\r\nCost Minerals := 0.5\r\nTech Area Req 1 := lasers\r\n\r\n"
        "Name := Mine 2\r\nCost Minerals := 10\r\nCost Organics :=\r\nTech Area Req 1 := Lazers\r\n");
    QVERIFY(app.Click("cmdCheck"));
    QVERIFY(app.services.Messages().size() == 2 && app.services.Messages()[1].title == "Game Check");
    const QString report = app.services.Messages()[1].text;
    QVERIFY2(report.startsWith("error: entry 1 \"Mine 1\", key \"Cost Minerals\"") &&
                 report.contains(
                     "error: entry 2 \"Mine 2\", key \"Tech Area Req 1\": \"Lazers\": no such technology area in " +
                     QDir::toNativeSeparators(game.filePath("Data/TechArea.txt"))) &&
                 report.contains("\nwarning: entry 2 \"Mine 2\", key \"Cost Organics\": the value is empty") &&
                 report.endsWith("\n2 entries checked: 2 errors and 1 warning found."),
             qPrintable(report));
  }

  // The folders of the last design and results files and the results' file
  // type are kept in the settings file and offered first in the next run.
  void lastPlacesAreOfferedInTheNextRun() {
    const QString utf8 = ResultsFileFilter(TextEncoding::Utf8);
    QByteArray ini;
    QString designDir, resultsDir;
    {
      TestApp app(QByteArray("/seiv\r\n"));
      designDir = QDir(app.Dir()).filePath("designs");
      resultsDir = QDir(app.Dir()).filePath("results");
      QVERIFY(QDir().mkpath(designDir) && QDir().mkpath(resultsDir));
      app.services.QueueFile(designDir + "/mine.vorlane.json");
      QVERIFY(app.hq().Designs().SaveAs());
      app.ShowResults("Name := Mine 1\r\n");
      app.services.QueueFile(resultsDir + "/mine.txt");
      app.services.QueueSaveFilter(utf8);
      QVERIFY(app.Click("cmdSaveAs"));
      ini = ReadAll(app.SettingsPath());
    }
    QCOMPARE(ini, "/seiv\r\n\r\nDesignFolder=" + designDir.toUtf8() + "\r\nResultsFolder=" + resultsDir.toUtf8() +
                      "\r\nResultsType=utf-8\r\n");
    TestApp app(ini);
    QCOMPARE(app.hq().SEIVDir(), std::string("/seiv"));
    app.ShowResults("Name := Mine 1\r\n");
    app.Click("cmdSaveAs");  // cancelled
    app.hq().ShowMainMenu();
    app.Settle();
    app.hq().Designs().Open();  // cancelled
    QCOMPARE(app.services.FileRequests().size(), std::size_t{2});
    QVERIFY(app.services.FileRequests()[0].selectedFilter == utf8 &&
            app.services.FileRequests()[0].startDir == resultsDir + "/Mine.txt");
    QCOMPARE(app.services.FileRequests()[1].startDir, designDir);
  }

  void saveAsWritesTheTextByteForByte() {
    TestApp app;
    QByteArray big;  // more than one write's worth
    for (int i = 0; i < 20000; ++i) big += "Key " + QByteArray::number(i) + " := µ value\r\n";
    QByteArray big1252 = big;
    big1252.replace("µ", "\xB5");
    const QString game = ResultsFileFilter(TextEncoding::Windows1252);
    const QString utf8 = ResultsFileFilter(TextEncoding::Utf8);
    struct Case {
      QByteArray shown;
      QString filter;  // chosen in the dialog
      QByteArray saved;
    };
    const Case cases[] = {
        {"Name := Läser 1\r\nSize := 10 €\r\n\r\n", game, "Name := L\xE4ser 1\r\nSize := 10 \x80\r\n\r\n"},
        {"Name := Läser 1\r\nSize := 10 €\r\n\r\n", utf8, "Name := Läser 1\r\nSize := 10 €\r\n\r\n"},
        {"a\nb\rc\r\nd", game, "a\r\nb\r\nc\r\nd"},  // any line end becomes CR LF; none is added
        {"", game, ""},
        {big, game, big1252},
        {big, utf8, big},
    };
    const QString path = QDir(app.Dir()).filePath("mine.txt");
    for (const Case& c : cases) {
      app.ShowResults(c.shown);
      app.services.QueueFile(path);
      app.services.QueueSaveFilter(c.filter);
      QVERIFY(app.Click("cmdSaveAs"));
      QCOMPARE(ReadAll(path), c.saved);
    }
    // The dialog offers both file types, the last one chosen first.
    QVERIFY(app.services.FileRequests()[0].filter == game + ";;" + utf8 &&
            app.services.FileRequests()[2].selectedFilter == utf8);

    // A character the game's encoding cannot hold: named, the file kept.
    app.ShowResults("Name := Zap 1\r\nDescription := ☢\r\n");
    app.services.QueueFile(path);
    app.services.QueueSaveFilter(game);
    app.Click("cmdSaveAs");
    QCOMPARE(ReadAll(path), big);
    QCOMPARE(app.services.MessageTexts(),
             QStringList{"The results could not be saved.\nCannot write \"" + QDir::toNativeSeparators(path) +
                         "\": entry 1 \"Zap 1\", key \"Description\": \"☢\" (U+2622) cannot be written in "
                         "Windows-1252.\nChoose the UTF-8 file type to keep every character."});
    app.services.ClearRecords();

    // Cancelled: nothing written; a missing folder: a message naming the file.
    QFile::remove(path);
    app.Click("cmdSaveAs");
    QCOMPARE(QFileInfo(app.services.FileRequests()[0].startDir).fileName(), QStringLiteral("Mine.txt"));
    const QString nowhere = QDir(app.Dir()).filePath("missing/mine.txt");
    app.services.QueueFile(nowhere);
    app.Click("cmdSaveAs");
    QVERIFY(!QFile::exists(path) && !QFile::exists(nowhere));
    QCOMPARE(app.services.FileRequests()[0].selectedFilter, utf8);  // the last one written
    const QString said = app.services.MessageTexts().join('|');
    QVERIFY2(said.startsWith("The results could not be saved.\n") && said.contains(QDir::toNativeSeparators(nowhere)) &&
                 app.services.Messages().size() == 1,
             qPrintable(said));
  }
};

QTEST_MAIN(GenerateTest)
#include "tst_generate.moc"
