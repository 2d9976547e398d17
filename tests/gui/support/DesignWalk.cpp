#include "support/DesignWalk.h"

#include <functional>

namespace vorlane::test {

namespace {

// Clicks a check box on its indicator; a missing box is left for the page's
// check (and the walk's page test) to notice.
void ClickBox(TestApp& app, const QString& name) {
  if (auto* box = app.Find<QCheckBox>(name)) QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, 8));
}

void StartPage(TestApp& app, const DesignWalk& d, const QString& p) {
  if (d.grid) ClickBox(app, "chkGrid" + p);
  app.Type({{"txt" + p + "Name", d.name}, {"txt" + p + "Desc", d.desc}});
  if (d.desc.isEmpty()) app.services.QueueYes();  // leave the description blank
  if (!d.grid) app.Type("txt" + p + "Levels", d.levels);
}

void BasicInfo(TestApp& app, const DesignWalk& d, bool component) {
  app.Type({{"txtNumberStyle", d.numberStyle}, {"txtRomanStyle", d.romanStyle}, {"txtFamily", d.family},
            {"txtGeneralGroup", d.group}});
  // Blank styles of a design without grid are confirmed.
  for (const QString& style : {d.numberStyle, d.romanStyle})
    if (style.isEmpty() && !d.grid) app.services.QueueYes();
  if (component) {
    app.Type("txtCustomGroup", d.customGroup);
    if (auto* box = app.Find<QComboBox>("cboRestrictions")) box->setCurrentText(d.restrictions);
  } else {
    app.Type({{"txtMinCost", d.minCost}, {"txtOrgCost", d.orgCost}, {"txtRadCost", d.radCost}});
  }
}

// Types each entry, adding the next; no entry at all confirms the removal question.
template <class Entry>
void Entries(TestApp& app, const QList<Entry>& entries, const QString& add, void (*type)(TestApp&, const Entry&)) {
  for (int i = 0; i < entries.size(); ++i) {
    type(app, entries[i]);
    if (i + 1 < entries.size()) app.Click(add);
  }
  if (entries.isEmpty()) app.services.QueueYes();
}

void TypeTech(TestApp& app, const DesignWalk::Tech& t) {
  app.Type({{"txtTechArea", t.area}, {"txtTechLevel", t.level}});
  if (!t.gridSize.isEmpty()) app.Type({{"txtTechGridSize", t.gridSize}, {"txtTechNumberStyle", t.numberStyle}});
}

void TypeAbility(TestApp& app, const DesignWalk::Ability& a) {
  app.Type({{"txtAbilType", a.type}, {"txtAbilDesc", a.desc}, {"txtVal1", a.val1}, {"txtVal2", a.val2}});
}

}  // namespace

bool WalkUntouched(TestApp& app, const QString& lastPage) {
  ScriptedServices& services = app.services;
  for (int step = 0; step < 100 && app.PageName() != lastPage; ++step) {
    const int unanswered = services.UnexpectedQuestions();
    const std::size_t queued = services.PendingAnswers(), shown = services.Messages().size();
    if (!app.Click("cmdNext")) return false;
    const int asked = services.UnexpectedQuestions() - unanswered;
    if (asked > 0) {
      // Answered No: ask again, this time with a Yes for every question.
      for (std::size_t i = 0; i < queued - services.PendingAnswers() + static_cast<std::size_t>(asked); ++i)
        services.QueueYes();
      continue;
    }
    for (std::size_t i = shown; i < services.Messages().size(); ++i)
      if (services.Messages()[i].buttons == MessageButtons::Ok) return false;
  }
  return app.PageName() == lastPage;
}

DesignWalk LaserWalk() {
  DesignWalk d;
  d.name = "Laser", d.desc = "A basic beam weapon for &compname's first steps.", d.levels = "3";
  d.numberStyle = d.romanStyle = "&complevel";
  d.family = "100", d.group = "Weapons", d.picture = 12, d.techs = {{"Lasers", "&complevel", "", ""}};
  d.minCost = "{&complevel*10}", d.orgCost = "0", d.radCost = "{&complevel*5}", d.size = "10", d.hp = "{&size*2}";
  d.supply = "0", d.abilities = {{"Armor", "Absorbs &abil1val1 damage.", "{&complevel*10}", "0"}};
  return d;
}

vrlComponent LaserRecord() {
  vrlComponent c;
  c.SetCompName("Laser"), c.SetCompDesc("A basic beam weapon for &compname's first steps."), c.SetNumCompLevels("3");
  c.SetNumberStyle("&complevel"), c.SetRomanStyle("&complevel"), c.SetFamily("100"), c.SetGeneralGroup("Weapons");
  c.SetCustomGroup("0"), c.SetRestrictions("None"), c.SetVehicleType("Ship"), c.SetPicNum("12");
  c.SetTechReqArea(1, "Lasers"), c.SetTechReqLevel(1, "&complevel");
  c.SetMinCost("{&complevel*10}"), c.SetOrgCost("0"), c.SetRadCost("{&complevel*5}"), c.SetSize("10");
  c.SetHP("{&size*2}"), c.SetSupplyUse("0"), c.SetAbilName(1, "Armor"), c.SetAbilDesc(1, "Absorbs &abil1val1 damage.");
  c.SetAbilVal1(1, "{&complevel*10}"), c.SetAbilVal2(1, "0"), c.SetWeaponDisplayNum("0");
  return c;
}

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteAll(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).path());
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QStringList WalkBack(TestApp& app) {
  QStringList pages;
  for (int step = 0; step < 100; ++step) {
    auto* back = app.Find<QAbstractButton>("cmdBack");
    if (!back || !back->isEnabled()) break;
    const std::size_t shown = app.services.Messages().size();
    app.Click("cmdBack");
    if (app.services.Messages().size() != shown) break;
    if (pages.isEmpty() || pages.last() != app.PageName()) pages << app.PageName();
  }
  return pages;
}

bool DesignWalk::Walk(TestApp& app, bool component) const {
  const QString p = component ? "Comp" : "Fac";
  if (!app.OpenFromMenu(component ? 0 : 1)) return false;
  // The pages in the wizard's order with what is typed on each; the
  // component's vehicle type and cost pages have no facility twin.
  const std::pair<QString, std::function<void()>> pages[] = {
      {"Start", [&] { StartPage(app, *this, p); }},
      {"BasicInfo", [&] { BasicInfo(app, *this, component); }},
      {"VehicleType", [&] { ClickBox(app, QStringLiteral("chkVType(%1)").arg(vehicleBox)); }},
      {"Picture", [&] { if (auto* slider = app.Find<QSlider>("sldPicNum")) slider->setValue(picture); }},
      {"Tech", [&] { Entries(app, techs, "cmdAddTechReq", TypeTech); }},
      {"Cost", [&] {
         app.Type({{"txtMinCost", minCost}, {"txtOrgCost", orgCost}, {"txtRadCost", radCost}, {"txtSize", size},
                   {"txtHP", hp}, {"txtSupplyUse", supply}});
       }},
      {"Ability", [&] { Entries(app, abilities, "cmdAddAbility", TypeAbility); }},
  };
  for (const auto& [page, type] : pages) {
    if (!component && (page == "VehicleType" || page == "Cost")) continue;
    if (app.PageName() != "frm" + p + page) return false;
    type();
    app.Click("cmdNext");
  }
  return app.PageName() == (component ? "frmCompWeaponInfo" : "frmFacGenerate");
}

}  // namespace vorlane::test
