// The picture page of both wizards: a picture number chosen with the slider
// and previewed from the game's picture files, or any text (a formula) typed
// into the box. Whichever the user touched last becomes the record's PicNum.
// frmCompPicture and frmFacPicture differ in their words, picture kind,
// record and neighbours.
#pragma once

#include <QString>
#include <optional>
#include <string>

#include "gui/WizardPage.h"
#include "settings/PictureLookup.h"

class QLabel;
class QLineEdit;
class QSlider;

namespace vorlane {

class PicturePage : public WizardPage {
  Q_OBJECT

 public:
  // Updates the preview and lblUsingDir for the slider's value or the box.
  void ShowPicture();

  bool UsingFormula() const { return usingFormula_; }
  bool HasModDir() const { return lookup_.HasModDir(); }
  bool HasSEIVDir() const { return lookup_.HasSEIVDir(); }
  bool NoDirs() const { return lookup_.NoDirs(); }

  QSlider* Slider() const { return sldPicNum_; }

 protected:
  PicturePage(Session& session, const char* pageName, const QString& title, const QString& noun, PictureKind kind,
              QWidget* parent);

  // Sets the slider's range and shows the stored picture number; called by
  // the twin's constructor.
  void LoadFields();

  virtual std::string ReadPicNum() const = 0;
  virtual void WritePicNum(const std::string& value) = 0;

  void SaveFields() override;

 private:
  void SliderChanged(int value);
  void TextChanged();
  void Repaint();

  PictureLookup lookup_;
  bool usingFormula_ = false;
  std::string stored_;                 // PicNum as stored
  std::optional<std::int32_t> storedNumber_;  // its number, when it is one
  bool loading_ = false;
  QSlider* sldPicNum_;
  QLabel* lblPicNum_;
  QLineEdit* txtPicNum_;
  QLabel* imgPicture_;
  QLabel* lblUsingDir_;
};

// The picture page of one record; both records call the field PicNum.
template <class Record>
class PicturePageOf : public PicturePage {
 protected:
  using PicturePage::PicturePage;

  std::string ReadPicNum() const override { return Design<Record>().PicNum(); }
  void WritePicNum(const std::string& value) override { Design<Record>().SetPicNum(value); }
};

}  // namespace vorlane
