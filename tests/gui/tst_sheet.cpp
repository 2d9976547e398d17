// The design sheet: switching between sheet, wizard and file keeps a design
// byte for byte; edits update the live entry; a failing field is marked and
// its line takes the cursor to the character; only the newest computation is
// shown; New Design asks about unsaved changes.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "app/DesignFiles.h"
#include "generate/DesignFile.h"
#include "sheet/DesignSheet.h"
#include "sheet/LiveEntryPanel.h"
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

QString EntryText(DesignSheet* sheet) { return sheet->Live()->EntryText()->toPlainText(); }

// A component of `levels` levels whose entries take a while to compare.
vrlComponent Long(int levels) {
  vrlComponent c;
  c.SetCompName("Long"), c.SetNumCompLevels(std::to_string(levels)), c.SetNumberStyle("&complevel");
  c.SetMinCost("{&complevel*3+Sqr(&complevel)}"), c.SetHP("{&mincost*2}");
  c.SetAbilName(1, "Armor"), c.SetAbilVal1(1, "{&hp+&complevel}");
  return c;
}

// Designs whose values the boxes could not take by typing: long texts,
// large counts, numbers written otherwise, lists in another order, a
// restriction of its own.
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
    QTest::newRow("component beyond the boxes") << QByteArray::fromStdString(DesignToJson(Unusual()))
                                                << QStringLiteral("frmCompGenerate");
    QTest::newRow("grid facility beyond the boxes") << QByteArray::fromStdString(DesignToJson(UnusualGrid()))
                                                    << QStringLiteral("frmFacGenerate");
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

  // The main menu's button opens the sheet of the option chosen.
  void menuButtonOpensTheChosenDesign() {
    TestApp app;
    QVERIFY(app.ChooseMenuOption(1) && app.Click("cmdSheet"));
    app.Settle();
    QVERIFY(app.PageAs<DesignSheet>() && app.PageAs<DesignSheet>()->Kind() == DesignKind::Facility);
  }

  // An edit shows in the entry of the level chosen.
  void editingUpdatesTheEntry() {
    const struct {
      QString field, text;
      int level;
      QString line;
    } rows[] = {{"MinCost", "{&complevel*7}", 3, EntryLine("Cost Minerals", "21\n")},
                {"TechReqLevel(1)", "{&complevel+40}", 2, EntryLine("Tech Level Req 1", "42\n")},
                {"WeaponDamageAtRange(1)", "{9*&complevel}", 4, EntryLine("Weapon Damage At Rng", "36 ")}};
    TestApp app;
    QVERIFY(!OpenDesign(app, ReadAll(Example("seeking-torpedo"))).isEmpty());
    DesignSheet* sheet = ShowSheet(app);
    auto* spin = sheet ? sheet->Live()->findChild<QSpinBox*>("spnPosition(1)") : nullptr;
    QVERIFY(spin && spin->maximum() == 5);
    for (const auto& row : rows) {
      spin->setValue(row.level);
      QVERIFY(app.Type(row.field, row.text));
      QTRY_VERIFY2(EntryText(sheet).contains(row.line), qPrintable(row.field));
      QVERIFY(EntryText(sheet).contains(EntryLine("Name", QStringLiteral("Proton Torpedo %1\n").arg(row.level))));
      QCOMPARE(sheet->findChild<QLineEdit*>(row.field)->text(), row.text);
    }
  }

  // A fault marks its field and shows its line; a click puts the cursor
  // before the fault's character, counted in characters.
  void faultTakesTheCursorThere() {
    const struct {
      const char* list;
      int entry;
      const char* key;
      QString text;
      int position, cursor;
    } rows[] = {{"", 0, "MinCost", "{50+*2}", 5, 4},
                {"", 0, "CompDesc", "\U0001D11E {1+}", 5, 5},  // a wide character first
                {"TechReqs", 1, "TechReqLevel", "{2*}", 4, 3},
                {"", 0, "HP", "{&size}", 0, 7}};  // position unknown: at the end
    TestApp app;
    QVERIFY(!OpenDesign(app, ReadAll(Example("seeking-torpedo"))).isEmpty());
    DesignSheet* sheet = ShowSheet(app);
    QVERIFY(sheet);
    for (const auto& row : rows) {
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

  // After a failed generation the sheet opens at the failing entry, the
  // cursor in the field at the character.
  void opensAtAFault() {
    TestApp app;
    QVERIFY(!OpenDesign(app, ReadAll(Example("seeking-torpedo"))).isEmpty());
    GenerationFault fault;
    fault.field = {"", 0, "HP"}, fault.level = "3", fault.reason = "Syntax error.", fault.position = 2;
    app.hq().ShowDesignSheet(DesignKind::Component, &fault);
    auto* sheet = app.PageAs<DesignSheet>();
    auto* edit = sheet ? sheet->findChild<QLineEdit*>("HP") : nullptr;
    QVERIFY(edit && edit->hasFocus());
    app.Settle();
    QVERIFY(edit->cursorPosition() == 1 && sheet->Live()->Point().level == 3);
    QTRY_VERIFY(EntryText(sheet).contains(EntryLine("Name", "Proton Torpedo 3\n")));
  }

  // An entry that fails says why in the entry panel; the last one made stays
  // greyed.
  void failingEntrySaysWhy() {
    TestApp app;
    QVERIFY(!OpenDesign(app, ReadAll(Example("seeking-torpedo"))).isEmpty());
    DesignSheet* sheet = ShowSheet(app);
    QVERIFY(sheet);
    QTRY_VERIFY(!EntryText(sheet).isEmpty());
    QVERIFY(app.Type("MinCost", "{50+*}"));
    QTRY_VERIFY(!sheet->Live()->EntryText()->isEnabled());
    QVERIFY(!EntryText(sheet).isEmpty() && !sheet->Live()->Status()->text().isEmpty());
    QVERIFY(app.Type("MinCost", "{50+1}"));
    QTRY_VERIFY(sheet->Live()->EntryText()->isEnabled());
    QVERIFY(sheet->Live()->Status()->text().isEmpty());
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
    QVERIFY(sheet->Live()->ChangesText()->toPlainText().contains("\"Cost Minerals\""));
  }

  // New Design asks about unsaved changes: Cancel keeps the design, Discard
  // makes a new one on the sheet.
  void newDesignAsksAboutUnsaved_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("renewed");
    QTest::newRow("cancel") << static_cast<int>(SaveAnswer::Cancel) << false;
    QTest::newRow("discard") << static_cast<int>(SaveAnswer::Discard) << true;
  }
  void newDesignAsksAboutUnsaved() {
    QFETCH(int, answer);
    QFETCH(bool, renewed);
    TestApp app;
    QVERIFY(!OpenDesign(app, ReadAll(Example("seeking-torpedo"))).isEmpty() && ShowSheet(app) && app.Type("HP", "7"));
    app.services.QueueSaveAnswer(static_cast<SaveAnswer>(answer));
    QVERIFY(Trigger(app, "actNewComponent"));
    QVERIFY(app.services.Messages().size() == 1 && app.services.Messages().front().saveAnswer.has_value());
    QVERIFY(app.PageAs<DesignSheet>());
    QCOMPARE(app.hq().Component() == vrlComponent{}, renewed);
    QCOMPARE(app.hq().Designs().FilePath(DesignKind::Component).isEmpty(), renewed);
    QCOMPARE(app.PageAs<DesignSheet>()->findChild<QLineEdit*>("HP")->text(), renewed ? QString() : "7");
  }
};

QTEST_MAIN(SheetTest)
#include "tst_sheet.moc"
