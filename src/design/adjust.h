#pragma once

#include <QDialog>
#include <functional>
#include <string>

class QLabel;
class QPushButton;

namespace timer555 {

class TNumEdit;

// The small captionless dialog that takes a real value for C1, R1 or R2
// within ±20 % of the calculated one. The values it shows and the check it
// makes come from the design engine; this class only lays out the controls.
class TfmAdjust final : public QDialog {
  Q_OBJECT

 public:
  using ErrorHandler = std::function<void(const std::string&)>;

  TfmAdjust(QWidget* parent, ErrorHandler showError);

  QLabel* Label1 = nullptr;
  TNumEdit* NumEdit1 = nullptr;
  QLabel* Label2 = nullptr;
  QPushButton* BitBtn1 = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FormShow();
  void BitBtn1Click();

  ErrorHandler showError_;
};

}  // namespace timer555
