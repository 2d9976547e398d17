// The design sheet: switching keeps a design byte for byte; the live entry;
// faults marked and their lines; only the newest computation shown; New
// Design's question. The formula help (completion, the reference) and curves.
#include <QClipboard>
#include <cmath>

#include "app/DesignFiles.h"
#include "generate/DesignFile.h"
#include "gui/CurvePanel.h"
#include "gui/CurveView.h"
#include "gui/FormulaHelp.h"
#include "gui/FormulaReference.h"
#include "gui/LineTextView.h"
#include "gui/LongLineEdit.h"
#include "sheet/DesignSheet.h"
#include "sheet/LiveEntryPanel.h"
#include "sheet/SheetListModel.h"
#include "sheet/SheetParts.h"
#include "support/DesignWalk.h"
#include "support/TestApp.h"

using namespace vorlane;
using namespace vorlane::test;

namespace {

QString Example(const char* name) {
  return QStringLiteral(VORLANE_EXAMPLES_DIR "/%1.vorlane.json").arg(QString::fromLatin1(name));
}

// Writes `design` into the app's folder and opens it.
QString OpenDesign(TestApp& app, const QByteArray& design) {
  const QString path = QDir(app.Dir()).filePath("design.vorlane.json");
  if (!WriteAll(path, design)) return {};
  return app.hq().Designs().OpenFile(path) ? path : QString();
}

bool Trigger(TestApp& app, const char* action) {
  auto* a = app.host()->findChild<QAction*>(QString::fromLatin1(action));
  if (!a || !a->isEnabled()) return false;
  a->trigger();
  app.Settle();
  return true;
}

DesignSheet* ShowSheet(TestApp& app) {
  if (!Trigger(app, "actDesignSheet")) return nullptr;
  return app.PageAs<DesignSheet>();
}

QString EntryText(DesignSheet* sheet) { return sheet->Live()->EntryText()->text(); }

// A component of `levels` levels whose entries take a while to compare.
vrlComponent Long(int levels) {
  vrlComponent c;
  c.SetCompName("Long"), c.SetNumCompLevels(std::to_string(levels)), c.SetNumberStyle("&complevel");
  c.SetMinCost("{&complevel*3+Sqr(&complevel)}"), c.SetHP("{&mincost*2}");
  c.SetAbilName(1, "Armor"), c.SetAbilVal1(1, "{&hp+&complevel}");
  return c;
}

// Values the boxes could not take by typing: long texts, large counts,
// numbers written otherwise, lists in another order, an own restriction.
vrlComponent Unusual() {
  vrlComponent c;
  c.SetCompName("N\xC3\xBC" + std::string(200, 'n')), c.SetCompDesc(std::string(2523, 'd'));
  c.SetNumCompLevels("5000"), c.SetVehicleType("Base, Ship"), c.SetRestrictions("Only One");
  c.SetGeneralGroup("Weapons"), c.SetFamily("1"), c.SetCustomGroup("0"), c.SetPicNum("042");
  c.SetNumberStyle("&complevel"), c.SetRomanStyle("&complevel"), c.SetNumTechReqs(2);
  for (std::int16_t i = 1; i <= 2; ++i) {
    c.SetTechReqArea(i, "Area");
    c.SetTechReqLevel(i, "&complevel");
  }
  c.SetTechReqGridSize(1, "123"), c.SetTechReqGridSize(2, "00005");
  c.SetMinCost(std::string(40000, '1')), c.SetHP("1"), c.SetAbilName(1, "Armor");
  c.SetWeaponType("Seeking"), c.SetWeaponTarget("Planets,Ships"), c.SetWeaponDamageType("Normal");
  c.SetWeaponDisplayType("Seeker"), c.SetWeaponDisplayNum("03"), c.SetWeaponReload("1"), c.SetWeaponToHitMod("0");
  c.SetWeaponSeekerSpeed("1"), c.SetWeaponSeekerHP(std::string(33000, '2'));
  return c;
}

vrlFacility UnusualGrid() {
  vrlFacility f;
  f.SetFacName("Mine"), f.SetFacDesc(std::string(2523, 'd')), f.SetNumFacLevels("20000"), f.SetGridFac(true);
  f.SetFacGroup("Group"), f.SetFacFamily("1"), f.SetPicNum("1.5e1"), f.SetTechReqArea(1, "Area");
  f.SetTechReqGridSize(1, "32767"), f.SetAbilName(1, "Ability");
  return f;
}

vrlComponent TwoRequirements() {
  vrlComponent c;
  c.SetCompName("Laser"), c.SetNumCompLevels("3"), c.SetNumTechReqs(2), c.SetNumAbils(0);
  return c;
}

QStringList VisibleNames(QTreeWidget* list) {
  QStringList names;
  for (QTreeWidgetItemIterator it(list, QTreeWidgetItemIterator::NotHidden); *it; ++it) {
    if ((*it)->parent()) names << (*it)->text(0);
  }
  return names;
}

FormulaReference* OpenReference() {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (auto* r = qobject_cast<FormulaReference*>(w); r && r->isVisible()) return r;
  }
  return nullptr;
}

// Waits for the panel to show its newest request.
bool Settled(CurvePanel& panel) {
  return QTest::qWaitFor([&] { return panel.ShownRequest() == panel.Requests(); }, 5000);
}

std::vector<double> Values(const CurvePanel& panel, std::size_t series = 0) {
  return panel.View()->Series().at(series).values;
}

}  // namespace

class SheetTest : public QObject {
  Q_OBJECT

 private slots:
  // Open, then sheet -> wizard (walked without a touch) -> sheet -> save:
  // the file is unchanged byte for byte.
  void switchingKeepsTheDesign_data() {
    QTest::addColumn<QByteArray>("design");
    QTest::addColumn<QString>("lastPage");
    QTest::newRow("seeking torpedo") << ReadAll(Example("seeking-torpedo")) << QStringLiteral("frmCompGenerate");
    QTest::newRow("mine grid") << ReadAll(Example("mine-grid")) << QStringLiteral("frmFacGenerate");
    QTest::newRow("component beyond the boxes")
        << QByteArray::fromStdString(DesignToJson(Unusual())) << QStringLiteral("frmCompGenerate");
    QTest::newRow("grid facility beyond the boxes")
        << QByteArray::fromStdString(DesignToJson(UnusualGrid())) << QStringLiteral("frmFacGenerate");
  }
  void switchingKeepsTheDesign() {
    QFETCH(QByteArray, design);
    QFETCH(QString, lastPage);
    QVERIFY(!design.isEmpty());
    TestApp app;
    const QString path = OpenDesign(app, design);
    QVERIFY(!path.isEmpty() && ShowSheet(app) && Trigger(app, "actWizard"));
    QVERIFY(app.PageName().endsWith("Start") && WalkUntouched(app, lastPage));
    DesignSheet* sheet = ShowSheet(app);
    QVERIFY(sheet && !app.hq().Designs().HasUnsavedChanges(*sheet->Kind()) && app.hq().Designs().Save());
    QCOMPARE(ReadAll(path), design);
  }

  void menuButtonOpensTheChosenDesign() {
    TestApp app;
    QVERIFY(app.ChooseMenuOption(1) && app.Click("cmdSheet"));
    app.Settle();
    QVERIFY(app.PageAs<DesignSheet>() && app.PageAs<DesignSheet>()->Kind() == DesignKind::Facility);
  }

  // Opened at a failing field, the cursor at the character; edits show in
  // the chosen level's entry, a failing one greys it and says why; a fault's
  // line, clicked, puts the cursor before the character (counted in characters).
  void editsAndFaultsOnTheSheet() {
    TestApp app;
    QVERIFY(!OpenDesign(app, ReadAll(Example("seeking-torpedo"))).isEmpty());
    GenerationFault opened;
    opened.field = {"", 0, "HP"}, opened.level = "3", opened.reason = "Syntax error.", opened.position = 2;
    app.hq().ShowDesignSheet(DesignKind::Component, &opened);
    auto* sheet = app.PageAs<DesignSheet>();
    auto* hp = sheet ? sheet->findChild<QLineEdit*>("HP") : nullptr;
    QVERIFY(hp && hp->hasFocus());
    app.Settle();
    QVERIFY(hp->cursorPosition() == 1 && sheet->Live()->Point().level == 3);
    QTRY_VERIFY(EntryText(sheet).contains(EntryLine("Name", "Proton Torpedo 3\n")));

    const struct {
      QString field, text;
      int level;
      QString line;
    } edits[] = {{"MinCost", "{&complevel*7}", 3, EntryLine("Cost Minerals", "21\n")},
                 {"TechReqLevel(1)", "{&complevel+40}", 2, EntryLine("Tech Level Req 1", "42\n")},
                 {"WeaponDamageAtRange(1)", "{9*&complevel}", 4, EntryLine("Weapon Damage At Rng", "36 ")}};
    auto* spin = sheet->Live()->findChild<QSpinBox*>("spnPosition(1)");
    QVERIFY(spin && spin->maximum() == 5);
    for (const auto& row : edits) {
      spin->setValue(row.level);
      QVERIFY(app.Type(row.field, row.text));
      QTRY_VERIFY2(EntryText(sheet).contains(row.line), qPrintable(row.field));
      QVERIFY(EntryText(sheet).contains(EntryLine("Name", QStringLiteral("Proton Torpedo %1\n").arg(row.level))));
      QCOMPARE(sheet->findChild<QLineEdit*>(row.field)->text(), row.text);
      // The pane shows the entry line for line, and copies it exactly.
      QString made = QString::fromStdString(MakeEntry(app.hq().Component(), {row.level, {}}).text);
      made.remove('\r');
      LineTextView* view = sheet->Live()->EntryText();
      QCOMPARE(EntryText(sheet), made);
      view->selectAll();
      view->copy();
      QCOMPARE(QApplication::clipboard()->text(), made);
    }
    // A selection and the lines in view stay as the entry is renewed.
    LineTextView* view = sheet->Live()->EntryText();
    view->scrollToLine(2);
    const qsizetype top = view->firstVisibleLine();
    view->setSelection({0, 2}, {1, 5});
    const QString selected = view->selectedText();
    QVERIFY(app.Type("MinCost", "{&complevel*8}"));
    QTRY_VERIFY(EntryText(sheet).contains(EntryLine("Cost Minerals", "32\n")));
    QVERIFY(view->firstVisibleLine() == top && view->selectedText() == selected && selected.size() > 5);
    QVERIFY(app.Type("MinCost", "{50+*}"));
    QTRY_VERIFY(!sheet->Live()->EntryText()->isEnabled());
    QVERIFY(!EntryText(sheet).isEmpty() && !sheet->Live()->Status()->text().isEmpty());
    QVERIFY(app.Type("MinCost", "{50+1}"));
    QTRY_VERIFY(sheet->Live()->EntryText()->isEnabled());
    QVERIFY(sheet->Live()->Status()->text().isEmpty());
    // A group written as 0 at this level (4): the entry stands, the field is
    // marked apart from a fault, with its warning under it; until it is mended.
    auto* minCost = sheet->findChild<QLineEdit*>("MinCost");
    QVERIFY(app.Type("MinCost", "{1/(&complevel-4)}"));
    QTRY_VERIFY(minCost->property("warning").toBool());
    QVERIFY(!minCost->property("fault").toBool() && EntryText(sheet).contains(EntryLine("Cost Minerals", "0\n")));
    QLabel* warned = nullptr;
    for (auto* label : sheet->findChildren<QLabel*>("lblFault"))
      if (label->isVisibleTo(sheet)) warned = label;
    QVERIFY(warned && warned->property("warning").toBool());
    QVERIFY2(warned->text().startsWith("Warning: Minerals Cost, level 4: Evaluation error") &&
                 warned->text().contains("written as 0"),
             qPrintable(warned->text()));
    QVERIFY(app.Type("MinCost", "{50+1}"));
    QTRY_VERIFY(!minCost->property("warning").toBool());
    QVERIFY(!warned->isVisibleTo(sheet) && sheet->Warnings().empty());

    const struct {
      const char* list;
      int entry;
      const char* key;
      QString text;
      int position, cursor;
    } faults[] = {{"", 0, "MinCost", "{50+*2}", 5, 4},
                  {"", 0, "CompDesc", "\U0001D11E {1+}", 5, 5},  // a wide character first
                  {"TechReqs", 1, "TechReqLevel", "{2*}", 4, 3},
                  {"", 0, "HP", "{&size}", 0, 7}};  // position unknown: at the end
    for (const auto& row : faults) {
      GenerationFault fault;
      fault.field = {row.list, row.entry, row.key};
      fault.label = "The field", fault.level = "2", fault.reason = "Syntax error.", fault.position = row.position;
      auto* edit = qobject_cast<QLineEdit*>(sheet->ControlOf(fault.field));
      QVERIFY2(edit, row.key);
      edit->setText(row.text);
      sheet->ShowFault(fault);
      QVERIFY(edit->property("fault").toBool());
      QLabel* line = nullptr;
      for (auto* label : sheet->findChildren<QLabel*>("lblFault"))
        if (label->isVisibleTo(sheet)) line = label;
      QVERIFY(line);
      QCOMPARE(line->text(), QString::fromStdString(fault.Line()));
      QTest::mouseClick(line, Qt::LeftButton);
      QTRY_VERIFY(edit->hasFocus());
      app.Settle();
      QVERIFY2(edit->cursorPosition() == row.cursor && !edit->hasSelectedText(), row.key);
      sheet->ClearFault();
      QVERIFY(!edit->property("fault").toBool() && !line->isVisibleTo(sheet));
    }
  }

  // Requests started while a long comparison runs: every older one is
  // cancelled and dropped, only the newest is shown.
  void onlyTheNewestResultShows() {
    TestApp app;
    QVERIFY(!OpenDesign(app, QByteArray::fromStdString(DesignToJson(Long(999)))).isEmpty());
    DesignSheet* sheet = ShowSheet(app);
    QVERIFY(sheet);
    sheet->Live()->ChangesButton()->click();
    QTRY_VERIFY(!sheet->Computer()->Running());
    sheet->SetDebounce(0);
    const int delivered = sheet->Computer()->Delivered();
    const int latest = sheet->Computer()->Latest();
    auto* edit = sheet->findChild<QLineEdit*>("MinCost");
    edit->setText("{1");
    edit->setFocus();
    edit->end(false);
    QTest::keyClicks(edit, "+2+4}");  // one request per key, none shown meanwhile
    QCOMPARE(sheet->Computer()->Latest(), latest + 5);
    QTRY_VERIFY_WITH_TIMEOUT(!sheet->Computer()->Running(), 30000);
    QVERIFY(sheet->Computer()->Delivered() == delivered + 1 && sheet->Computer()->Dropped() == 4);
    QVERIFY(EntryText(sheet).contains(EntryLine("Cost Minerals", "7\n")));
    QVERIFY(sheet->Live()->ChangesText()->text().contains("\"Cost Minerals\""));
  }

  // Every change the user writes is told with its field's key; a record
  // replaced behind the sheet shows once the sheet reloads it.
  void editsAreToldAndTheRecordReloads() {
    TestApp app;
    QVERIFY(!OpenDesign(app, ReadAll(Example("seeking-torpedo"))).isEmpty());
    DesignSheet* sheet = ShowSheet(app);
    QVERIFY(sheet);
    QStringList keys;
    connect(sheet, &DesignSheet::DesignEdited, sheet, [&keys](const QString& key) { keys << key; });
    QVERIFY(app.Type({{"HP", "7"}, {"TechReqLevel(1)", "{2}"}, {"WeaponDamageAtRange(3)", "5"}}));
    auto* add = sheet->findChild<QPushButton*>("cmdAddAbilities");
    QVERIFY(add);
    add->click();
    app.Settle();
    keys.removeDuplicates();
    QCOMPARE(keys, (QStringList{"HP", "TechReqLevel(1)", "WeaponDamageAtRange(3)", "Abilities"}));

    vrlComponent replaced = app.hq().Component();
    replaced.SetHP("{&size*3}"), replaced.SetNumAbils(0), replaced.SetTechReqArea(1, "Other");
    replaced.SetWeaponType("None");
    app.hq().Component() = replaced;
    sheet->ReloadFromRecord();
    app.Settle();
    QCOMPARE(sheet->findChild<QLineEdit*>("HP")->text(), QString("{&size*3}"));
    QCOMPARE(sheet->findChild<QLineEdit*>("TechReqArea(1)")->text(), QString("Other"));
    QCOMPARE(sheet->findChild<QComboBox*>("WeaponType")->currentText(), QString("None"));
    QVERIFY(!sheet->findChild<QLineEdit*>("AbilName(1)"));
    QVERIFY(keys.size() == 4 && app.hq().Component() == replaced);  // reloading writes nothing
    QTRY_VERIFY(EntryText(sheet).contains(EntryLine("Tonnage Structure", "60\n")));
  }

  // The largest lists open within the few event-loop rounds of showing the
  // sheet, with boxes for the rows in view only; a cell takes typing, the
  // boxes follow the scrolling, Remove leaves the focus in the next row.
  void largestListsOpenWithAScreenOfBoxes() {
    vrlComponent c = TwoRequirements();
    c.SetNumTechReqs(static_cast<std::int16_t>(kMaxListEntries)),
        c.SetNumAbils(static_cast<std::int16_t>(kMaxListEntries));
    for (std::int16_t i = 1; i > 0 && i <= kMaxListEntries; ++i) {
      c.SetTechReqArea(i, "Area " + std::to_string(i)), c.SetTechReqLevel(i, "1");
      c.SetAbilName(i, "Ability " + std::to_string(i)), c.SetAbilVal1(i, "{&complevel}");
    }
    TestApp app;
    QVERIFY(!OpenDesign(app, QByteArray::fromStdString(DesignToJson(c))).isEmpty());
    DesignSheet* sheet = ShowSheet(app);  // three rounds of the event loop
    QVERIFY(sheet);
    const int screenful = 4 * (ListTable::kRowsInView + 1);
    for (const char* list : {"TechReqs", "Abilities"}) {
      auto* table = sheet->findChild<ListTable*>(list);
      QVERIFY(table && table->Model()->rowCount() == kMaxListEntries);
      const qsizetype boxes = table->findChildren<QLineEdit*>().size();
      QVERIFY2(boxes >= 4 && boxes <= screenful, list);
    }
    QVERIFY(app.Type("AbilVal1(2)", "{7}"));
    QCOMPARE(app.hq().Component().AbilVal1(2).value_or(""), std::string("{7}"));

    auto* abilities = sheet->findChild<ListTable*>("Abilities");
    abilities->View()->scrollToBottom();
    app.Settle();
    QVERIFY(!sheet->findChild<QLineEdit*>("AbilName(1)") && abilities->findChildren<QLineEdit*>().size() <= screenful);
    auto* last = sheet->findChild<QLineEdit*>("AbilName(32767)");
    QVERIFY(last);
    last->setFocus();
    app.Settle();
    QCOMPARE(abilities->View()->currentIndex().row(), kMaxListEntries - 1);
    abilities->RemoveButton()->click();
    app.Settle();
    auto* focused = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QVERIFY(focused && focused->objectName() == "AbilName(32766)" && focused->text() == "Ability 32766");
    QVERIFY(app.hq().Component().NumAbils() == kMaxListEntries - 1 && sheet->findChildren<QLineEdit*>().size() < 200);
  }

  // The long text box's keys, from "ab😀cd" with the cursor at 4 (after
  // the two halves of the smiley): what they leave and what they select.
  void longTextBoxKeys_data() {
    QTest::addColumn<QList<QKeyCombination>>("keys");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("selected");
    const QString smiley = QString::fromUtf8("\xF0\x9F\x98\x80");
    const auto shift = Qt::ShiftModifier;
    using K = QList<QKeyCombination>;
    QTest::newRow("Backspace takes the pair") << K{Qt::Key_Backspace} << QString("abcd") << "";
    QTest::newRow("Delete takes c") << K{Qt::Key_Delete} << "ab" + smiley + "d"
                                    << "";
    QTest::newRow("Shift+Left selects the pair") << K{shift | Qt::Key_Left} << "ab" + smiley + "cd" << smiley;
    QTest::newRow("Shift+Home, typed over") << K{shift | Qt::Key_Home, Qt::Key_Z} << QString("zcd") << "";
    QTest::newRow("Left ends a selection at its start")
        << K{shift | Qt::Key_End, Qt::Key_Left, Qt::Key_Delete} << "ab" + smiley + "d"
        << "";
    QTest::newRow("Select all, Delete") << K{QKeyCombination(Qt::ControlModifier, Qt::Key_A), Qt::Key_Delete} << ""
                                        << "";
    QTest::newRow("Shift+End from the start") << K{Qt::Key_Home, shift | Qt::Key_End} << "ab" + smiley + "cd"
                                              << "ab" + smiley + "cd";
  }

  void longTextBoxKeys() {
    QFETCH(QList<QKeyCombination>, keys);
    LongLineEdit box;
    box.setText(
        QString::fromUtf8("ab\xF0\x9F\x98\x80"
                          "cd"));
    box.setCursorPosition(4);
    QString edited = box.text();  // what the box told, as the record would hold it
    connect(&box, &LongLineEdit::textEdited, &box, [&edited](const QString& text) { edited = text; });
    for (QKeyCombination key : keys) QTest::keyClick(&box, key.key(), key.keyboardModifiers());
    QTEST(box.text(), "text");
    QTEST(box.selectedText(), "selected");
    QCOMPARE(edited, box.text());
  }

  // A description too long for a line edit: its box writes the record as
  // typed, keeps the cursor in view, pastes line breaks as spaces, cuts
  // exactly, and a click finds the column under the mouse.
  void longTextBox() {
    TestApp app;
    const std::string text(100'000, 'd');
    vrlComponent c = Long(3);
    c.SetCompDesc(text);
    QVERIFY(!OpenDesign(app, QByteArray::fromStdString(DesignToJson(c))).isEmpty());
    DesignSheet* sheet = ShowSheet(app);
    auto* box = sheet ? sheet->findChild<LongLineEdit*>("CompDesc") : nullptr;
    QVERIFY(box && box->text().size() == 100'000);
    auto desc = [&app] { return app.hq().Component().CompDesc(); };
    box->setFocus();
    QTest::keyClick(box, Qt::Key_End);
    QTest::keyClicks(box, "xy");
    QTest::keyClick(box, Qt::Key_Backspace);
    QVERIFY(desc() == text + "x" && box->firstShown() > 99'000);
    QApplication::clipboard()->setText("a\r\nb\nc");
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(desc(), text + "xa b c");
    for (int i = 0; i < 7; ++i) QTest::keyClick(box, Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(box, Qt::Key_X, Qt::ControlModifier);
    QVERIFY(QApplication::clipboard()->text() == "dxa b c" && desc() == text.substr(1));
    QTRY_VERIFY(EntryText(sheet).contains(QString::fromStdString(text.substr(1)) + '\n'));
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->width() / 2, box->height() / 2));
    const qsizetype column = box->cursorPosition();
    QVERIFY(column > box->firstShown() && column < 99'999);
    QTest::keyClick(box, Qt::Key_End, Qt::ShiftModifier);
    QCOMPARE(box->selectedText().size(), 99'999 - column);
  }

  // Remove in the middle of a list: the row below moves up and takes the
  // focus; a fault line under a field keeps its room while the field has
  // the focus; a design without levels shows 1 as the wizard does, and no entry.
  void removingFaultLinesAndLevels() {
    TestApp app;
    QVERIFY(!OpenDesign(app, ReadAll(Example("seeking-torpedo"))).isEmpty());
    DesignSheet* sheet = ShowSheet(app);
    QVERIFY(sheet && sheet->findChild<QPushButton*>("cmdAddTechReqs"));
    sheet->findChild<QPushButton*>("cmdAddTechReqs")->click();
    QVERIFY(app.Type("TechReqArea(2)", "Second"));
    QVERIFY(app.Type("TechReqLevel(1)", "{9}"));
    sheet->findChild<QPushButton*>("cmdRemoveTechReqs")->click();
    app.Settle();
    auto* focused = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QVERIFY2(focused && focused->objectName() == "TechReqLevel(1)" && focused->text().isEmpty(),
             focused ? qPrintable(focused->objectName() + "=" + focused->text()) : "none");
    QVERIFY(app.hq().Component().NumTechReqs() == 1 && app.hq().Component().TechReqArea(1) == "Second");

    auto* hp = sheet->findChild<QLineEdit*>("HP");
    QWidget* below = sheet->findChild<QLineEdit*>("SupplyUse");
    QVERIFY(hp && below);
    sheet->SetDebounce(0);
    QVERIFY(app.Type("HP", "{1"));
    const int top = below->mapTo(sheet, QPoint()).y();
    for (const char* text : {"{1+}", "{1}", "{1+*}"}) {
      QVERIFY(app.Type("HP", text));
      QTRY_VERIFY(!sheet->Computer()->Running());
      app.Settle();
      QVERIFY2(below->mapTo(sheet, QPoint()).y() == top, text);
    }

    app.services.QueueSaveAnswer(SaveAnswer::Discard);
    QVERIFY(Trigger(app, "actNewComponent"));
    sheet = app.PageAs<DesignSheet>();
    QVERIFY(sheet && app.hq().Component() == vrlComponent{});
    QCOMPARE(sheet->findChild<QLineEdit*>("NumCompLevels")->text(), QString("1"));
    QTRY_VERIFY(!sheet->Live()->Status()->text().isEmpty());
    QVERIFY(EntryText(sheet).isEmpty() && sheet->Live()->Status()->text() == "The design has no levels.");
    QVERIFY(app.Type("NumCompLevels", "2"));
    QTRY_VERIFY(sheet->Live()->Status()->text() != "The design has no levels.");
  }

  void newDesignAsksAboutUnsaved() {
    for (SaveAnswer answer : {SaveAnswer::Cancel, SaveAnswer::Discard}) {
      const bool renewed = answer == SaveAnswer::Discard;
      TestApp app;
      QVERIFY(!OpenDesign(app, ReadAll(Example("seeking-torpedo"))).isEmpty() && ShowSheet(app) && app.Type("HP", "7"));
      app.services.QueueSaveAnswer(answer);
      QVERIFY(Trigger(app, "actNewComponent"));
      QVERIFY(app.services.Messages().size() == 1 && app.services.Messages().front().saveAnswer.has_value());
      QVERIFY(app.PageAs<DesignSheet>());
      QCOMPARE(app.hq().Component() == vrlComponent{}, renewed);
      QCOMPARE(app.hq().Designs().FilePath(DesignKind::Component).isEmpty(), renewed);
      QCOMPARE(app.PageAs<DesignSheet>()->findChild<QLineEdit*>("HP")->text(), renewed ? QString() : "7");
    }
  }

  // What completion offers at the end of a text: variables after "&",
  // functions inside braces, nothing elsewhere or inside a name.
  void completionPrefixes() {
    const struct {
      QString text, prefix;
      bool variables;
    } rows[] = {{"Mk &", "&", true},      {"{&abil1va", "&abil1va", true}, {"{2*sq", "sq", false},
                {"{{1}+lo", "lo", false}, {"Laser sq", "", false},         {"{1} sq", "", false},
                {"{5mm", "", false}};  // a unit after a number
    for (const auto& row : rows) {
      const CompletionPrefix found = FindCompletionPrefix(row.text, static_cast<int>(row.text.size()));
      QVERIFY2(found.prefix == row.prefix && (row.prefix.isEmpty() || found.variables == row.variables),
               qPrintable(row.text));
    }
    QCOMPARE(FindCompletionPrefix("{&compname}", 4).prefix, QString());
  }

  // On a wizard page: typing offers the design's variables without touching
  // the text; choosing one puts it in; F1 and the Help menu open the reference.
  void wizardBoxesCompleteAndOpenTheReference() {
    TestApp app;
    app.hq().Component() = TwoRequirements();
    QVERIFY(app.OpenFromMenu(0));
    auto* box = app.Find<QLineEdit>("txtCompName");
    QVERIFY(box && HasFormulaHelp(box) && app.Type("txtCompName", "Laser &techl"));
    auto* completer = box->findChild<QCompleter*>();
    QVERIFY(completer);
    QAbstractItemView* popup = completer->popup();
    QTRY_VERIFY(popup->isVisible() && popup->model()->rowCount() == 2);
    QVERIFY(popup->model()->index(1, 0).data().toString().startsWith("&techlevel2"));
    QCOMPARE(box->text(), QString("Laser &techl"));
    QTest::keyClick(box, Qt::Key_Down);
    QCOMPARE(box->text(), QString("Laser &techl"));
    QTest::keyClick(box, Qt::Key_Return);  // chooses; does not press Next
    QVERIFY(box->text() == "Laser &techlevel2" && !popup->isVisible() && app.PageName() == "frmCompStart");
    QCOMPARE(box->focusPolicy(), Qt::StrongFocus);  // the list leaves the box as it was

    // F1: the reference filters, puts the chosen name in at the cursor, closes.
    box->setText("Cost {*2}");
    box->setCursorPosition(6);
    QTest::keyClick(box, Qt::Key_F1);
    FormulaReference* reference = OpenReference();
    QVERIFY(reference);
    QTest::keyClicks(reference->SearchBox(), "techlev");
    QCOMPARE(VisibleNames(reference->List()), (QStringList{"&techlevel1", "&techlevel2"}));
    QTest::keyClick(reference->SearchBox(), Qt::Key_Down);
    QTest::keyClick(reference->SearchBox(), Qt::Key_Return);
    QCOMPARE(box->text(), QString("Cost {&techlevel2*2}"));
    app.Settle();
    QVERIFY(!OpenReference());

    // The Help menu, with the focus in the box, opens the reference for it; a
    // function goes in with its bracket, after a selection rather than over it.
    app.host()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(app.host()));
    box->setFocus();
    box->setText("{ 100}");
    box->setSelection(1, 4);
    auto* action = app.host()->findChild<QAction*>("actFormulaReference");
    QVERIFY(action && action->shortcut() == QKeySequence(Qt::Key_F1));
    action->trigger();
    reference = OpenReference();
    QVERIFY(reference && reference->windowTitle() == "Formula Reference");
    reference->SearchBox()->setText("LOGN");
    QCOMPARE(VisibleNames(reference->List()), QStringList{"logn(x, base)"});
    QVERIFY(reference->InsertCurrent());
    QCOMPARE(box->text(), QString("{ 100logn(}"));
    reference->SearchBox()->setText("no such name");
    QVERIFY(VisibleNames(reference->List()).isEmpty() && !reference->InsertCurrent());
    app.Settle();
  }

  // A function chosen outside braces comes in a new brace group, the cursor
  // between its brackets; inside braces as its name and bracket. The
  // reference's example uses the design's own level variable.
  void functionsOutsideBracesComeInBraces() {
    const struct {
      QString text;
      int cursor;
      QString result;
      int after;
    } rows[] = {{"Cost ", 5, "Cost {round()}", 12},
                {"{1+}", 3, "{1+round(}", 9},
                {"{1} x", 5, "{1} x{round()}", 12},
                {"a{b}c", 0, "{round()}a{b}c", 7}};
    for (const auto& row : rows) {
      QLineEdit box(row.text);
      box.setCursorPosition(row.cursor);
      InsertFunctionAtCursor(&box, "round");
      QVERIFY2(box.text() == row.result && box.cursorPosition() == row.after, qPrintable(box.text()));
    }

    TestApp app;
    app.hq().Facility().SetNumTechReqs(1);
    QVERIFY(app.OpenFromMenu(1));
    auto* box = app.Find<QLineEdit>("txtFacName");
    QVERIFY(box && app.Type("txtFacName", "Mine "));
    QTest::keyClick(box, Qt::Key_F1);
    FormulaReference* reference = OpenReference();
    QVERIFY(reference);
    QStringList hints;
    for (QLabel* label : reference->findChildren<QLabel*>()) hints << label->text();
    QVERIFY2(hints.join(' ').contains("{sqr(&faclevel)}"), qPrintable(hints.join(' ')));
    reference->SearchBox()->setText("sqr");
    QVERIFY(reference->InsertCurrent());
    QCOMPARE(box->text(), QString("Mine {sqr()}"));
    app.Settle();
    // Ctrl+Space outside braces offers the functions too; one chosen comes in braces.
    box->setText("Mine ");
    box->setCursorPosition(5);
    QTest::keyClick(box, Qt::Key_Space, Qt::ControlModifier);
    QAbstractItemView* popup = box->findChild<QCompleter*>()->popup();
    QTRY_VERIFY(popup->isVisible());
    const QModelIndex abs =
        popup->model()->match(popup->model()->index(0, 0), Qt::DisplayRole, "abs(", 1, Qt::MatchStartsWith).value(0);
    QVERIFY(abs.isValid());
    popup->setCurrentIndex(abs);
    QTest::keyClick(box, Qt::Key_Return);
    QVERIFY(box->text() == "Mine {abs()}" && box->cursorPosition() == 10);
  }

  void curvePanelShowsTheNewestValues() {
    vrlComponent record = TwoRequirements();
    record.SetMinCost("{&complevel * 10}");
    CurvePanel panel([&] { return CurveDesign(record); });
    QCOMPARE(panel.View()->Message(), QString("Computing…"));  // not a call to choose a field
    QVERIFY(Settled(panel));
    QVERIFY(panel.View()->Points() == QStringList({"1", "2", "3"}) &&
            Values(panel) == std::vector<double>({10, 20, 30}));
    const QString label = QString::fromStdString(FieldLabel(record, {"", 0, "MinCost"}));
    QCOMPARE(panel.View()->HoverText(0, 2), "Level 3: " + label + " = 30");

    // Two changes in a row: the newest values show.
    record.SetMinCost("{&complevel * 1000}");
    panel.RecordChanged();
    record.SetMinCost("{&complevel * 100}");
    panel.RecordChanged();
    QVERIFY(Settled(panel));
    QCOMPARE(Values(panel), (std::vector<double>{100, 200, 300}));

    // A second field; a value that is no number gives none.
    record.SetSize("Tiny");
    panel.SetChosenFields({{"", 0, "MinCost"}, {"", 0, "Size"}});
    QVERIFY(Settled(panel) && panel.View()->Series().size() == 2 && std::isnan(Values(panel, 1)[0]));
    QCOMPARE(panel.View()->HoverText(1, 0),
             "Level 1: " + QString::fromStdString(FieldLabel(record, {"", 0, "Size"})) + " = (no number)");

    // A design that does not generate says so instead of drawing.
    record.SetMinCost("{1+");
    panel.RecordChanged();
    QVERIFY(Settled(panel) && panel.View()->Message().startsWith("The design does not generate"));
    record.SetMinCost("{2+");
    panel.RecordChanged();
    QCOMPARE(panel.View()->Message(), QString("Computing…"));  // the old reason is stale
    QVERIFY(Settled(panel) && panel.View()->Message().startsWith("The design does not generate"));

    // A grid design's curve follows one requirement, the others held.
    vrlFacility mine;
    mine.SetFacName("Mine"), mine.SetGridFac(true), mine.SetNumTechReqs(2), mine.SetNumAbils(0);
    mine.SetTechReqGridSize(1, "2"), mine.SetTechReqGridSize(2, "3");
    mine.SetMinCost("{&techgridlevel2 * 10 + &techgridlevel1}");
    CurvePanel grid([&] { return CurveDesign(mine); });
    grid.SetVaryingRequirement(2);
    grid.SetHeldPosition(1, 2);
    QVERIFY(Settled(grid));
    QVERIFY(grid.View()->Points() == QStringList({"4", "5", "6"}) && Values(grid) == std::vector<double>({12, 22, 32}));
  }
};

QTEST_MAIN(SheetTest)
#include "tst_sheet.moc"
