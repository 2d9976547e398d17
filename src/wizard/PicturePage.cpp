#include "wizard/PicturePage.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QImageReader>
#include <QSlider>
#include <QVBoxLayout>

#include "gui/Bitmaps.h"
#include "gui/PageParts.h"
#include "util/Numbers.h"
#include "util/Platform.h"

namespace vorlane {

namespace {

constexpr int kFrameSide = 193;

const QString kNoDirsText = QStringLiteral("No directories selected (set up from main menu)");

}  // namespace

PicturePage::PicturePage(Session& session, const char* pageName, const QString& title, const QString& noun, PictureKind kind,
                         QWidget* parent)
    : WizardPage(session, parent), lookup_(kind, session.ModDir(), session.SEIVDir()) {
  setObjectName(QString::fromLatin1(pageName));
  setWindowTitle(title);

  auto* layout = new QVBoxLayout(Body());
  layout->addWidget(MakeIntro(
      Body(), "lblPicture",
      QStringLiteral("Next, select the picture for your %1 or enter an expression in the text box.").arg(noun)));

  auto* columns = new QHBoxLayout;
  layout->addLayout(columns);
  auto* choice = new QVBoxLayout;
  columns->addLayout(choice, 1);

  choice->addWidget(MakeLabel(Body(), "lblSlider", QStringLiteral("Select a picture number, or")));
  auto* sliderRow = new QHBoxLayout;
  sldPicNum_ = new QSlider(Qt::Horizontal, Body());
  sldPicNum_->setObjectName(QStringLiteral("sldPicNum"));
  sldPicNum_->setTickPosition(QSlider::TicksBelow);
  sldPicNum_->setMinimumWidth(260);
  lblPicNum_ = MakeLabel(Body(), "lblPicNum", QStringLiteral("1"));
  lblPicNum_->setMinimumWidth(lblPicNum_->fontMetrics().horizontalAdvance(QStringLiteral("00000")));
  sliderRow->addWidget(sldPicNum_, 1);
  sliderRow->addWidget(lblPicNum_);
  choice->addLayout(sliderRow);

  choice->addWidget(MakeLabel(Body(), "lblFormula", QStringLiteral("Enter an expression into the text box.")));
  txtPicNum_ = MakeTextBox(Body(), "txtPicNum");
  choice->addWidget(txtPicNum_);
  choice->addStretch(1);

  auto* preview = new QVBoxLayout;
  columns->addLayout(preview);
  imgPicture_ = new QLabel(Body());
  imgPicture_->setObjectName(QStringLiteral("imgPicture"));
  imgPicture_->setFixedSize(kFrameSide, kFrameSide);
  imgPicture_->setScaledContents(true);  // any picture is stretched to fill the frame
  imgPicture_->setFrameShape(QFrame::Box);
  imgPicture_->setLineWidth(0);
  imgPicture_->setPixmap(PicNotFoundBitmap());
  preview->addWidget(imgPicture_, 0, Qt::AlignHCenter);
  lblUsingDir_ = MakeLabel(Body(), "lblUsingDir", kNoDirsText);
  lblUsingDir_->setWordWrap(true);
  lblUsingDir_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  lblUsingDir_->setFixedWidth(kFrameSide + 40);
  // Room for an "Error loading picture ..." text, which takes two lines or
  // three, below the preview.
  lblUsingDir_->setMinimumHeight(3 * lblUsingDir_->fontMetrics().lineSpacing());
  preview->addWidget(lblUsingDir_);
  preview->addStretch(1);

  connect(sldPicNum_, &QSlider::valueChanged, this, &PicturePage::SliderChanged);
  connect(txtPicNum_, &QLineEdit::textChanged, this, &PicturePage::TextChanged);
}

void PicturePage::LoadFields() {
  loading_ = true;
  usingFormula_ = false;
  SliderRange range = lookup_.SliderRangeOnOpening();

  const std::string stored = ReadPicNum();
  std::optional<std::int32_t> number;
  if (auto value = WholeTextNumber(stored)) number = RoundToInt32(*value);
  stored_ = stored;
  storedNumber_ = number;

  if (number && *number >= range.minimum) {
    // A number past the usual range widens the slider rather than being cut.
    range = WidenedToHold(range, *number);
    sldPicNum_->setRange(range.minimum, range.maximum);
    sldPicNum_->setTickInterval(range.tickSpacing);
    sldPicNum_->setValue(*number);
  } else {
    sldPicNum_->setRange(range.minimum, range.maximum);
    sldPicNum_->setTickInterval(range.tickSpacing);
    if (!stored.empty()) {
      // A formula, or a number the slider cannot hold (below 1): kept as text.
      txtPicNum_->setText(Q(stored));
    } else {
      sldPicNum_->setValue(1);
    }
  }
  loading_ = false;
  ShowPicture();
}

void PicturePage::SliderChanged(int value) {
  lblPicNum_->setText(QString::number(value));
  usingFormula_ = false;
  if (loading_) return;
  ShowPicture();
  Repaint();
}

void PicturePage::TextChanged() {
  usingFormula_ = true;
  if (loading_) return;
  ShowPicture();
  Repaint();
}

// Paints the preview at once, also while the slider is dragged. Only these
// widgets paint: no other event runs here, as a pending one (a mnemonic's
// delayed click on Next) could replace the page under the control that is
// being changed.
void PicturePage::Repaint() {
  for (QWidget* w : {static_cast<QWidget*>(imgPicture_), static_cast<QWidget*>(lblUsingDir_),
                     static_cast<QWidget*>(lblPicNum_)})
    w->repaint();
}

void PicturePage::ShowPicture() {
  QString errorDescription;
  int errorNumber = 0;
  if (!usingFormula_) {
    if (lookup_.NoDirs()) {
      // Nothing to look in: the frame keeps its stand-in, and the label says
      // why (also after the box's text was the choice a moment ago).
      lblUsingDir_->setText(kNoDirsText);
      return;
    }
    const int number = sldPicNum_->value();
    const PictureSearchResult found = lookup_.Find(number);
    if (found.Failed()) {
      errorDescription = Q(found.errorDescription);
      errorNumber = found.errorNumber;
    } else if (found.Found()) {
      QImageReader reader(QString::fromStdString(Utf8FromPath(found.file)));
      const QImage image = reader.read();
      if (!image.isNull()) {
        imgPicture_->setPixmap(QPixmap::fromImage(image));
        lblUsingDir_->setText(found.source == PictureSource::ModDir ? QStringLiteral("Using mod dir")
                                                                    : QStringLiteral("Using SEIV base dir"));
        return;
      }
      errorDescription = reader.errorString();
      errorNumber = static_cast<int>(reader.error());
    }
  }

  imgPicture_->setPixmap(PicNotFoundBitmap());
  if (!errorDescription.isEmpty()) {
    lblUsingDir_->setText(QStringLiteral("Error loading picture %1 (%2: Error #%3)")
                              .arg(sldPicNum_->value())
                              .arg(errorDescription)
                              .arg(errorNumber));
  } else if (usingFormula_) {
    lblUsingDir_->setText(QStringLiteral("Using formula in text box"));
  } else {
    lblUsingDir_->setText(QStringLiteral("Picture not found"));
  }
}

void PicturePage::SaveFields() {
  // A stored number written otherwise ("042", "42.0") stays as written while
  // the slider still shows its value.
  if (!usingFormula_ && storedNumber_ == sldPicNum_->value()) {
    WritePicNum(stored_);
    return;
  }
  WritePicNum(usingFormula_ ? S(txtPicNum_->text()) : std::to_string(sldPicNum_->value()));
}

}  // namespace vorlane
