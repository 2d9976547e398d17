// The basic information page of both wizards: numbering and Roman numeral
// styles, family and group; the component page adds its custom group and
// restrictions, the facility page its three resource costs. frmCompBasicInfo
// and frmFacBasicInfo differ only in their words and field bindings
// (BasicInfoPageOf).
#pragma once

#include <QString>
#include <string>
#include <utility>
#include <vector>

#include "gui/WizardPage.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace vorlane {

class BasicInfoPage : public WizardPage {
  Q_OBJECT

 public:
  // The words of one twin.
  struct Words {
    const char* pageName;         // "frmCompBasicInfo"
    QString title;
    QString noun;                 // "component"
    QString numberStyleTip;       // tooltip of txtNumberStyle
    QString numberLabelTip;       // tooltip of lblNumberStyle
    QString romanStyleTip;        // tooltip of txtRomanStyle
    QString romanLabelTip;        // tooltip of lblRomanStyle
    QString familyTip;
    QString familyCaption;        // "Component Family:"
    QString groupTip;
    QString groupLabelTip;
    QString groupCaption;         // "General Group:"
    QString groupQuestion;        // check 4
    bool component;               // custom group and restrictions, else costs
  };

  // The values the page exchanges with its record; the twin uses its own part.
  struct Values {
    std::string numberStyle, romanStyle, family, group;
    std::string customGroup, restrictions;  // component only
    std::string minCost, orgCost, radCost;  // facility only
  };

  static const QStringList& RestrictionItems();

 protected:
  BasicInfoPage(Session& session, const Words& words, QWidget* parent);

  // Fills the fields from the record; called by the twin's constructor.
  void LoadFields();

  virtual Values ReadRecord() const = 0;
  virtual void WriteRecord(const Values& values) = 0;
  virtual bool Grid() const = 0;

  bool CheckFields() override;
  void SaveFields() override;

 private:
  Words words_;
  QLabel* lblNumberStyle_;
  QLabel* lblRomanStyle_;
  QLineEdit* txtNumberStyle_;
  QLineEdit* txtRomanStyle_;
  QLineEdit* txtFamily_;
  QLineEdit* txtGeneralGroup_;
  QLineEdit* txtCustomGroup_ = nullptr;
  QComboBox* cboRestrictions_ = nullptr;
  QLineEdit* txtMinCost_ = nullptr;
  QLineEdit* txtOrgCost_ = nullptr;
  QLineEdit* txtRadCost_ = nullptr;
};

// The basic information page of one record: each of the twin's values bound
// to its record field by one row.
template <class Record>
class BasicInfoPageOf : public BasicInfoPage {
 public:
  struct Binding {
    std::string Values::*value;
    const std::string& (Record::*get)() const;
    void (Record::*set)(std::string);
  };
  using Bindings = std::vector<Binding>;

 protected:
  BasicInfoPageOf(Session& session, const Words& words, Bindings bindings, QWidget* parent)
      : BasicInfoPage(session, words, parent), bindings_(std::move(bindings)) {}

  Values ReadRecord() const override {
    Values v;
    for (const Binding& b : bindings_) v.*b.value = (Design<Record>().*b.get)();
    return v;
  }
  void WriteRecord(const Values& v) override {
    for (const Binding& b : bindings_) (Design<Record>().*b.set)(v.*b.value);
  }
  bool Grid() const override { return Design<Record>().IsGrid(); }

 private:
  Bindings bindings_;
};

}  // namespace vorlane
