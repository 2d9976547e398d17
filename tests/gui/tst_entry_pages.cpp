// The entry pages (technology and abilities of both wizards), one table row
// per page; the grid-only fields; the cost page with the page base. (A design
// walked to the end, back and forth: with the generate pages.)

#include "gui/WizardPage.h"
#include "support/TestApp.h"
#include "wizard/frmCompAbility.h"
#include "wizard/frmCompCost.h"
#include "wizard/frmCompTech.h"
#include "wizard/frmFacAbility.h"
#include "wizard/frmFacTech.h"

using namespace vorlane;
using namespace vorlane::test;

namespace {

// One entry page: its words, its neighbours and its list in the record.
struct EntryPage {
  QString page, caption, key, value, add, addMessage, removeQuestion, removeTitle, next, previous, num;
  bool component, tech;
  bool nextBackAtLast;  // the next page's Back shows the last entry (else entry 1)
  std::function<void(TestApp&)> open;

  DesignRecord& Record(TestApp& app) const {
    return component ? static_cast<DesignRecord&>(app.hq().Component()) : app.hq().Facility();
  }
  // Entry n's caption shows, with `key` in its key box (nothing: not checked).
  QString Shows(TestApp& app, int n, const QString& keyText = "-") const {
    QStringList rows{num + ".text=" + caption + QString::number(n)};
    if (keyText != "-") rows << key + ".text=" + keyText;
    return app.Props(rows);
  }
  std::int16_t Count(TestApp& app) const { return tech ? Record(app).NumTechReqs() : Record(app).NumAbils(); }
  // Entry n's key and value field as stored.
  QString Key(TestApp& app, std::int16_t n) const {
    return QString::fromStdString((tech ? Record(app).TechReqArea(n) : Record(app).AbilName(n)).value_or("-"));
  }
  QString Value(TestApp& app, std::int16_t n) const {
    return QString::fromStdString((tech ? Record(app).TechReqLevel(n) : Record(app).AbilVal1(n)).value_or("-"));
  }
  // Stores entries with the given keys, each with the value "v<n>".
  void Fill(TestApp& app, const QStringList& keys) const {
    DesignRecord& r = Record(app);
    const auto count = static_cast<std::int16_t>(keys.size());
    tech ? r.SetNumTechReqs(count) : r.SetNumAbils(count);
    for (int i = 0; i < keys.size(); ++i) {
      const auto n = static_cast<std::int16_t>(i + 1);
      const std::string value = "v" + std::to_string(n);
      if (tech) {
        r.SetTechReqArea(n, keys[i].toStdString());
        r.SetTechReqLevel(n, value);
      } else {
        r.SetAbilName(n, keys[i].toStdString());
        r.SetAbilVal1(n, value);
      }
    }
  }
};

const QString kTechAdd =
    QStringLiteral("You must provide a tech area for this tech requirement\nbefore adding a new requirement.");
const QString kTechRemove = QStringLiteral("This and all following tech requirements will be deleted.\nContinue?");
const QString kAbilAdd = QStringLiteral("You must fill in a type for this ability\nbefore adding another ability.");
const QString kAbilRemove = QStringLiteral("This and all following abilities will be lost?\nContinue?");

template <class Page>
std::function<void(TestApp&)> Opener() {
  return [](TestApp& app) { app.Show<Page>(); };
}

const EntryPage kPages[] = {
    {"frmCompTech", "Technology Requirement ", "txtTechArea", "txtTechLevel", "cmdAddTechReq", kTechAdd, kTechRemove,
     "Delete Tech Reqs?", "frmCompCost", "frmCompPicture", "lblTechReqNum", true, true, true, Opener<frmCompTech>()},
    {"frmCompAbility", "Component Ability ", "txtAbilType", "txtVal1", "cmdAddAbility", kAbilAdd, kAbilRemove,
     "Remove Abilities?", "frmCompWeaponInfo", "frmCompCost", "lblAbilNum", true, false, true,
     Opener<frmCompAbility>()},
    {"frmFacTech", "Technology Requirement ", "txtTechArea", "txtTechLevel", "cmdAddTechReq", kTechAdd, kTechRemove,
     "Delete Tech Reqs?", "frmFacAbility", "frmFacPicture", "lblTechReqNum", false, true, false, Opener<frmFacTech>()},
    {"frmFacAbility", "Facility Ability ", "txtAbilType", "txtVal1", "cmdAddAbility", kAbilAdd, kAbilRemove,
     "Remove Abilities?", "frmFacGenerate", "frmFacTech", "lblAbilNum", false, false, false, Opener<frmFacAbility>()},
};

}  // namespace

class EntryPagesTest : public QObject {
  Q_OBJECT

 private slots:
  // Next and Back walk the entries; clearing a key drops it and all after
  // it; Add moves to a blank entry; an empty new one is dropped when confirmed.
  void entriesWalkedAddedAndDropped_data() {
    QTest::addColumn<int>("row");
    for (int i = 0; i < int(std::size(kPages)); ++i) QTest::newRow(qPrintable(kPages[i].page)) << i;
  }
  void entriesWalkedAddedAndDropped() {
    QFETCH(int, row);
    const EntryPage& p = kPages[row];
    TestApp app;
    p.Fill(app, {"A", "B", "C"});
    p.open(app);
    QCOMPARE(app.Text(p.key) + app.Text(p.value), QStringLiteral("Av1"));
    app.Type(p.value, "{&complevel}");
    app.Click("cmdNext");
    QCOMPARE(p.Shows(app, 2, "B"), QString());
    QCOMPARE(p.Value(app, 1), QStringLiteral("{&complevel}"));
    app.Click("cmdNext");
    QCOMPARE(app.Text(p.key), QStringLiteral("C"));
    app.Click("cmdNext");
    QVERIFY(app.PageName() == p.next && app.services.Messages().empty());
    // The next page's Back lands on the last entry (the facility's on entry 1).
    app.Click("cmdBack");
    QCOMPARE(app.PageName(), p.page);
    const int arrival = p.nextBackAtLast ? 3 : 1;
    QCOMPARE(p.Shows(app, arrival, QString(QChar('A' + arrival - 1))), QString());
    for (int n = arrival - 1; n >= 1; --n) {
      app.Click("cmdBack");
      QCOMPARE(app.Text(p.key), QString(QChar('A' + n - 1)));
    }
    QCOMPARE(app.Text(p.value), QStringLiteral("{&complevel}"));
    app.Click("cmdBack");
    QVERIFY(app.PageName() == p.previous && p.Count(app) == 3);
    QCOMPARE(p.component ? app.hq().Facility().NumTechReqs() : app.hq().Component().NumTechReqs(), std::int16_t{1});

    p.open(app);
    app.Click("cmdNext");
    app.Type(p.key, "");
    QCOMPARE(app.Press("cmdNext", {true}), QStringList{p.removeQuestion});
    QVERIFY(p.Count(app) == 1 && p.Key(app, 1) == "A" && app.PageName() == p.next);

    p.Fill(app, {"A", "B", "C"});
    p.open(app);
    app.Click(p.add);  // on an earlier entry: the next existing one
    QCOMPARE(app.Text(p.key), QStringLiteral("B"));
    qobject_cast<EntryWalkPage*>(app.page())->ArriveAtLastEntry();
    QCOMPARE(p.Shows(app, 3), QString());
    app.Type(p.key, "C2");
    app.Click(p.add);
    QCOMPARE(p.Shows(app, 4, ""), QString());
    QVERIFY(app.Text(p.value).isEmpty() && app.Find(p.key)->hasFocus() && p.Key(app, 3) == "C2" && p.Count(app) == 3);
    // Add on the empty entry refuses and changes nothing.
    QCOMPARE(app.Press(p.add), QStringList{p.addMessage});
    QCOMPARE(app.services.Messages()[0].title, QStringLiteral("Vorlane"));
    QCOMPARE(p.Shows(app, 4), QString());
    // Back stores the blank-keyed entry as entry 4 and shows 3.
    app.Type(p.value, "2");
    app.Click("cmdBack");
    QVERIFY(p.Count(app) == 4 && p.Key(app, 4).isEmpty() && p.Value(app, 4) == "2");
    QCOMPARE(p.Shows(app, 3, "C2"), QString());
    app.Click("cmdNext");
    app.Type(p.key, "D");
    app.Click("cmdNext");
    QVERIFY(p.Key(app, 4) == "D" && app.PageName() == p.next);

    // A new design: its empty entry is dropped only when confirmed.
    app.hq().Component() = vrlComponent{};
    app.hq().Facility() = vrlFacility{};
    p.open(app);
    QCOMPARE(p.Shows(app, 1), QString());
    QCOMPARE(app.Press("cmdNext", {false}), QStringList{p.removeQuestion});
    QVERIFY(app.services.Messages()[0].title == p.removeTitle &&
            app.services.Messages()[0].buttons == MessageButtons::YesNo);
    QVERIFY(app.PageName() == p.page && p.Count(app) == 1);
    app.Press("cmdNext", {true});
    QVERIFY(p.Count(app) == 0 && app.PageName() == p.next);
    // Back from the next page with no entry: entry 1, empty.
    if (p.page == "frmCompTech") app.Type("txtHP", "5");
    app.Click("cmdBack");
    QCOMPARE(app.PageName(), p.page);
    QCOMPARE(p.Shows(app, 1, ""), QString());
  }

  void gridFieldsOnlyForGridDesigns() {
    TestApp app;
    auto& c = app.hq().Component();
    kPages[0].Fill(app, {"A"});
    c.SetTechReqGridSize(1, "4");
    c.SetTechReqNumberStyle(1, "&techlevel1");
    app.Show<frmCompTech>();
    const char* gridOnly[] = {"txtTechGridSize", "lblTechGridSize", "txtTechNumberStyle", "lblTechNumberStyle"};
    for (const char* name : gridOnly) QVERIFY2(!app.Find(name)->isEnabled(), name);
    QCOMPARE(app.Text("txtTechGridSize"), QStringLiteral("4"));
    app.Click("cmdNext");  // written back unchanged
    QVERIFY(c.TechReqGridSize(1) == "4" && c.TechReqNumberStyle(1) == "&techlevel1");

    c.SetGridComp(true);
    c.SetTechReqGridSize(1, "");
    app.Show<frmCompTech>();
    for (const char* name : gridOnly) QVERIFY2(app.Find(name)->isEnabled(), name);
    QCOMPARE(app.Press("cmdNext"), QStringList{"You must include a tech grid size for this tech req."});
    QVERIFY(app.services.Messages()[0].title == "Error" && app.PageName() == "frmCompTech");
    app.Click("cmdAddTechReq");  // Add does not ask for the grid size
    QCOMPARE(kPages[0].Shows(app, 2), QString());
    app.Click("cmdBack");
    app.Type("txtTechGridSize", "1a2b3");  // digits only, two at most
    QCOMPARE(app.Text("txtTechGridSize"), QStringLiteral("12"));
    app.Type("txtTechNumberStyle", "&techlevel1");
    app.Click("cmdNext");
    QCOMPARE(c.TechReqGridSize(1), std::optional<std::string>("12"));
    QCOMPARE(kPages[0].Shows(app, 2), QString());

    // The facility's twin of the numbering style.
    app.hq().Facility().SetGridFac(true);
    kPages[2].Fill(app, {"A"});
    app.hq().Facility().SetTechReqGridSize(1, "3");
    app.Show<frmFacTech>();
    app.Type("txtTechNumberStyle", "-&techgridlevel1");
    app.Click("cmdNext");
    QCOMPARE(app.hq().Facility().TechReqNumStyle(1), std::optional<std::string>("-&techgridlevel1"));
  }

  // The cost page and the page base: a refused Next or a Cancel writes
  // nothing; Next and Back show the next page in the same place, focus in its
  // first field; Back checks nothing; the close box returns to the menu.
  void costPageAndThePageBase() {
    TestApp app;
    auto& c = app.hq().Component();
    app.Show<frmCompCost>();
    app.host()->move(40, 50);
    const QPoint where = app.host()->pos();
    // The page's own tab order: costs, the buttons, then supply, hitpoints, size.
    QCOMPARE(app.TabOrder("txtMinCost", 10),
             (QStringList{"txtMinCost", "txtOrgCost", "txtRadCost", "cmdNext", "cmdBack", "cmdCancel", "txtSupplyUse",
                          "txtHP", "txtSize", "txtMinCost"}));
    const char* others[] = {"txtMinCost", "txtOrgCost", "txtRadCost", "txtSize", "txtSupplyUse"};
    for (const char* name : others) app.Type(name, QStringLiteral("{1}"));
    app.Key(Qt::Key_Return);
    QCOMPARE(app.services.MessageTexts(), QStringList{"You must enter a hitpoint start value."});
    QVERIFY(app.PageName() == "frmCompCost" && !app.PageAs<WizardPage>()->Navigating());
    app.services.QueueNo();
    app.Click("cmdCancel");
    QVERIFY(app.PageName() == "frmCompCost" && c == vrlComponent{});

    for (const char* name : others) app.Type(name, "");
    app.Type("txtHP", "{&complevel * 5}");
    QPointer<WizardPage> first = app.PageAs<WizardPage>();
    QTest::mouseClick(first->NextButton(), Qt::LeftButton);
    QVERIFY(first && first->Navigating());  // closed as navigated, deleted later
    app.Settle();
    QVERIFY(!first && app.PageName() == "frmCompAbility" && c.HP() == "{&complevel * 5}" && c.Size().empty());
    app.Click("cmdBack");
    QCOMPARE(app.host()->windowTitle(), QStringLiteral("Vorlane v2.0 - Component Design - Component Cost"));
    QVERIFY(app.host()->pos() == where && QApplication::focusWidget() == app.Find("txtMinCost"));
    QCOMPARE(app.Text("txtHP"), QStringLiteral("{&complevel * 5}"));
    app.Type("txtHP", "7");
    app.services.QueueYes();
    app.Key(Qt::Key_Escape);
    QVERIFY(app.PageName() == "frmMain" && c.HP() == "{&complevel * 5}" && app.services.Messages().size() == 3);

    c.SetSize("3");
    app.Show<frmCompCost>();
    QCOMPARE(app.Text("txtSize"), QStringLiteral("3"));
    app.Type("txtHP", "");
    app.Click("cmdBack");
    QVERIFY(app.PageName() == "frmCompTech" && c.HP().empty());
    app.Show<frmCompCost>();
    app.CloseBox();
    QVERIFY(app.host()->isVisible() && app.PageName() == "frmMain" && app.services.Messages().size() == 3);
  }
};

QTEST_MAIN(EntryPagesTest)
#include "tst_entry_pages.moc"
