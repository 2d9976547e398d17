// The first page of both wizards: name, description, number of levels and the
// grid flag. frmCompStart and frmFacStart differ only in their words, control
// names and record (StartPageOf).
#pragma once

#include <QString>
#include <string>

#include "gui/WizardPage.h"

class QCheckBox;
class QLabel;
class QLineEdit;

namespace vorlane {

class LongLineEdit;
class MaskEdit;

class StartPage : public WizardPage {
  Q_OBJECT

 public:
  // The words and control names of one of the twins.
  struct Words {
    const char* pageName;      // "frmCompStart"
    QString title;
    QString noun;              // "component"
    const char* nameBox;       // "txtCompName"
    const char* descBox;       // "txtCompDesc"
    const char* levelsBox;     // "txtCompLevels"
    const char* gridBox;       // "chkGridComp"
    const char* nameLabel;     // "lblCompName"
    const char* descLabel;     // "lblCompDesc"
    const char* levelsLabel;   // "lblCompLevels"
    QString nameCaption;       // "Component Name"
    QString descCaption;       // "Component Description"
    QString levelsTooltip;     // empty for none
    bool buttonTooltips;       // the component page's buttons have none
    bool backEnabled;          // false: Back is disabled and has no tooltip
  };

  // The values the page exchanges with its record.
  struct Values {
    std::string name;
    std::string desc;
    std::string levels;
    bool grid = false;
  };

  QLineEdit* NameBox() const { return txtName_; }
  QLineEdit* DescBox() const { return txtDesc_; }
  MaskEdit* LevelsBox() const { return txtLevels_; }
  QCheckBox* GridBox() const { return chkGrid_; }

 protected:
  StartPage(Session& session, const Words& words, QWidget* parent);

  // Reads the record once the subclass is complete; called by its constructor.
  void LoadFields();

  virtual Values ReadRecord() const = 0;
  virtual void WriteRecord(const Values& values) = 0;

  bool CheckFields() override;
  void SaveFields() override;
  void OnBack() override {}

 private:
  void GridClicked();
  QString DescText() const;

  Words words_;
  QLabel* lblGetStarted_;
  QLabel* lblName_;
  QLabel* lblDesc_;
  QLabel* lblLevels_;
  QLineEdit* txtName_;
  QLineEdit* txtDesc_;
  // A description too long for a QLineEdit is shown and edited here instead
  // ("<descBox>Long"), the line box hidden.
  LongLineEdit* txtDescLong_;
  MaskEdit* txtLevels_;
  QCheckBox* chkGrid_;
};

// The start page of one record: the name and description fields the twin
// names, the level count and grid flag both records share.
template <class Record>
class StartPageOf : public StartPage {
 public:
  struct Fields {
    const std::string& (Record::*name)() const;
    void (Record::*setName)(std::string);
    const std::string& (Record::*desc)() const;
    void (Record::*setDesc)(std::string);
  };

 protected:
  StartPageOf(Session& session, const Words& words, const Fields& fields, QWidget* parent)
      : StartPage(session, words, parent), fields_(fields) {}

  Values ReadRecord() const override {
    const Record& r = Design<Record>();
    return {(r.*fields_.name)(), (r.*fields_.desc)(), r.LevelCount(), r.IsGrid()};
  }
  void WriteRecord(const Values& values) override {
    Record& r = Design<Record>();
    (r.*fields_.setName)(values.name);
    (r.*fields_.setDesc)(values.desc);
    r.SetLevelCount(values.levels);
    r.SetGrid(values.grid);
  }

 private:
  Fields fields_;
};

}  // namespace vorlane
