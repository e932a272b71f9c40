#include "design/adjust.h"

#include <QLabel>
#include <QPushButton>

#include "components/num_edit.h"
#include "design/adjustment.h"
#include "render/qt_canvas.h"
#include "state/global.h"

namespace timer555 {

TfmAdjust::TfmAdjust(QWidget* parent, ErrorHandler showError)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), showError_(std::move(showError)) {
  setObjectName("fmAdjust");
  setFixedSize(193, 45);
  move(309, 239);
  setFont(ControlFont());
  // Only the border remains of the frame.
  setStyleSheet("QDialog#fmAdjust { border: 1px solid palette(dark); }");
  Label1 = new QLabel(this);
  Label1->setObjectName("Label1");
  Label1->move(4, 14);
  NumEdit1 = new TNumEdit(this);
  NumEdit1->setObjectName("NumEdit1");
  NumEdit1->setGeometry(36, 12, 65, 26);
  Label2 = new QLabel(this);
  Label2->setObjectName("Label2");
  Label2->move(108, 14);
  BitBtn1 = new QPushButton("OK", this);
  BitBtn1->setObjectName("BitBtn1");
  BitBtn1->setGeometry(148, 12, 37, 25);
  BitBtn1->setDefault(true);
  BitBtn1->setAutoDefault(true);
  for (QWidget* w : {static_cast<QWidget*>(Label1), static_cast<QWidget*>(NumEdit1),
                     static_cast<QWidget*>(Label2), static_cast<QWidget*>(BitBtn1)}) {
    w->setFont(ControlFont());
  }
  // A screen reader hears the texts themselves: the field is named by the
  // part ("R1") and described by its unit in words.
  Label1->setAccessibleDescription("Component");
  Label1->setBuddy(NumEdit1);
  Label2->setAccessibleDescription("Unit");
  connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
}

void TfmAdjust::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormShow();
}

void TfmAdjust::FormShow() {
  NumEdit1->resize(NumEdit1->width(), 25);
  Label1->setText(ToQString(PrepareAdjustment()));
  Label1->adjustSize();
  const AdjustState& a = Global::Adjust();
  NumEdit1->SetProgramText(ToQString(a.AdjustNumber));
  Label2->setText(ToQString(a.AdjustUnit));
  Label2->adjustSize();
  // The refusal names no range: the reader hears it beforehand.
  const std::string range = AdjustmentRange(a.AdjustReference);
  NumEdit1->setAccessibleDescription(
      ToQString("in " + UnitWord(a.AdjustUnit) + (range.empty() ? "" : ", " + range)));
  // A reader names the dialog by the part it adjusts.
  setAccessibleName("Adjust " + Label1->text());
  NumEdit1->setFocus();
  NumEdit1->selectAll();
}

void TfmAdjust::BitBtn1Click() {
  const std::optional<std::string> refused =
      ApplyAdjustment(NumEdit1->text().toLatin1().toStdString());
  if (refused && showError_) showError_(*refused);
  accept();
}

}  // namespace timer555
