// Help where formulas are typed (the reference, completion, F1) and the curve
// panel.
#include <QAbstractItemView>
#include <QAction>
#include <QCompleter>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>
#include <cmath>

#include "gui/CurvePanel.h"
#include "gui/CurveView.h"
#include "gui/FormulaHelp.h"
#include "gui/FormulaReference.h"
#include "support/TestApp.h"

using namespace vorlane;
using namespace vorlane::test;

namespace {

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

class FormulaHelpTest : public QObject {
  Q_OBJECT

 private slots:
  void referenceFiltersAndInsertsAtTheCursor() {
    QLineEdit box;
    box.setText("Cost {*2}");
    box.setCursorPosition(6);
    FormulaReference reference(MakeFormulaCatalogue(TwoRequirements()), &box);
    QTest::keyClicks(reference.SearchBox(), "techlev");
    QCOMPARE(VisibleNames(reference.List()), (QStringList{"&techlevel1", "&techlevel2"}));
    QTest::keyClick(reference.SearchBox(), Qt::Key_Down);
    QTest::keyClick(reference.SearchBox(), Qt::Key_Return);
    QCOMPARE(box.text(), QString("Cost {&techlevel2*2}"));

    // A function goes in with its bracket, after a selection rather than over it.
    box.setText("{ 100}");
    box.setSelection(1, 4);
    FormulaReference second(MakeFormulaCatalogue(TwoRequirements()), &box);
    second.SearchBox()->setText("LOGN");
    QCOMPARE(VisibleNames(second.List()), QStringList{"logn(x, base)"});
    QVERIFY(second.InsertCurrent());
    QCOMPARE(box.text(), QString("{ 100logn(}"));
    second.SearchBox()->setText("no such name");
    QVERIFY(VisibleNames(second.List()).isEmpty() && !second.InsertCurrent());
  }

  void completionPrefixes_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<bool>("variables");
    QTest::newRow("ampersand") << "Mk &" << "&" << true;
    QTest::newRow("variable") << "{&abil1va" << "&abil1va" << true;
    QTest::newRow("function in braces") << "{2*sq" << "sq" << false;
    QTest::newRow("nested braces") << "{{1}+lo" << "lo" << false;
    QTest::newRow("letters outside braces") << "Laser sq" << "" << false;
    QTest::newRow("after closed braces") << "{1} sq" << "" << false;
    QTest::newRow("unit after a number") << "{5mm" << "" << false;
  }
  void completionPrefixes() {
    QFETCH(QString, text);
    QFETCH(QString, prefix);
    QFETCH(bool, variables);
    const CompletionPrefix found = FindCompletionPrefix(text, static_cast<int>(text.size()));
    QCOMPARE(found.prefix, prefix);
    if (!prefix.isEmpty()) QCOMPARE(found.variables, variables);
    // Inside a name nothing is offered.
    QCOMPARE(FindCompletionPrefix("{&compname}", 4).prefix, QString());
  }

  // On a wizard page: typing offers the design's variables without touching
  // the text; choosing one puts it in; F1 and the Help menu open the reference.
  void wizardBoxesCompleteAndOpenTheReference() {
    TestApp app;
    app.hq().Component() = TwoRequirements();
    QVERIFY(app.OpenFromMenu(0));
    auto* box = app.Find<QLineEdit>("txtCompName");
    QVERIFY(box && HasFormulaHelp(box));
    QVERIFY(app.Type("txtCompName", "Laser &techl"));
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

    QTest::keyClick(box, Qt::Key_F1);
    FormulaReference* reference = OpenReference();
    QVERIFY(reference);
    QTest::keyClicks(reference->SearchBox(), "&complevel");
    QTest::keyClick(reference->SearchBox(), Qt::Key_Return);
    QCOMPARE(box->text(), QString("Laser &techlevel2&complevel"));
    app.Settle();
    QVERIFY(!OpenReference());

    // The Help menu, with the focus in the box, opens the reference for it.
    box->setFocus();
    auto* action = app.host()->findChild<QAction*>("actFormulaReference");
    QVERIFY(action && action->shortcut() == QKeySequence(Qt::Key_F1));
    action->trigger();
    reference = OpenReference();
    QVERIFY(reference && reference->windowTitle() == "Formula Reference");
    reference->close();
    app.Settle();
  }

  void curvePanelShowsTheNewestValues() {
    vrlComponent record = TwoRequirements();
    record.SetMinCost("{&complevel * 10}");
    CurvePanel panel([&] { return CurveDesign(record); });
    QVERIFY(Settled(panel));
    QVERIFY(panel.View()->Points() == QStringList({"1", "2", "3"}) && Values(panel) == std::vector<double>({10, 20, 30}));
    const QString label = QString::fromStdString(FieldLabel(record, {"", 0, "MinCost"}));
    QCOMPARE(panel.View()->HoverText(0, 2), "Level 3: " + label + " = 30");

    // Two changes in a row: the first result arrives stale and is not shown.
    QSignalSpy shown(&panel, &CurvePanel::CurvesShown);
    record.SetMinCost("{&complevel * 1000}");
    panel.RecordChanged();
    record.SetMinCost("{&complevel * 100}");
    panel.RecordChanged();
    QVERIFY(Settled(panel));
    QTest::qWait(50);
    QVERIFY(shown.count() == 1 && shown.at(0).at(0).toInt() == panel.Requests());
    QCOMPARE(Values(panel), (std::vector<double>{100, 200, 300}));

    // A second field; a value that is no number gives none.
    record.SetSize("Tiny");
    panel.SetChosenFields({{"", 0, "MinCost"}, {"", 0, "Size"}});
    QVERIFY(Settled(panel));
    QVERIFY(panel.View()->Series().size() == 2 && std::isnan(Values(panel, 1)[0]));
    QCOMPARE(panel.View()->HoverText(1, 0), "Level 1: " + QString::fromStdString(FieldLabel(record, {"", 0, "Size"})) +
                                                " = (no number)");

    // A design that does not generate says so instead of drawing.
    record.SetMinCost("{1+");
    panel.RecordChanged();
    QVERIFY(Settled(panel));
    QVERIFY(panel.View()->Message().startsWith("The design does not generate"));

  }

  void curvePanelFollowsOneGridAxis() {
    vrlFacility mine;
    mine.SetFacName("Mine"), mine.SetGridFac(true), mine.SetNumTechReqs(2), mine.SetNumAbils(0);
    mine.SetTechReqGridSize(1, "2"), mine.SetTechReqGridSize(2, "3");
    mine.SetMinCost("{&techgridlevel2 * 10 + &techgridlevel1}");
    CurvePanel panel([&] { return CurveDesign(mine); });
    panel.SetVaryingRequirement(2);
    panel.SetHeldPosition(1, 2);
    QVERIFY(Settled(panel));
    QVERIFY(panel.View()->Points() == QStringList({"4", "5", "6"}) && Values(panel) == std::vector<double>({12, 22, 32}));
  }
};

QTEST_MAIN(FormulaHelpTest)
#include "tst_formula_help.moc"
