#include "app/check_window.h"

#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>

#include "app/accessibility.h"
#include "app/layout.h"
#include "app/shell.h"
#include "app/simulation_panel.h"
#include "report/figures.h"
#include "state/global.h"

namespace timer555 {

namespace {

constexpr TimingColumn kColumns[] = {kIdealColumn, kPredictedColumn, kSimulatedColumn};

QDoubleSpinBox* Spin(double lo, double hi, double value, int decimals, const QString& suffix,
                     const QString& name) {
  auto* box = new QDoubleSpinBox;
  box->setRange(lo, hi);
  box->setDecimals(decimals);
  box->setValue(value);
  box->setSuffix(suffix);
  box->setAccessibleName(name);
  // The numbers read the same whatever the desktop's language.
  box->setLocale(QLocale::c());
  return box;
}

}  // namespace

TfmCheck::TfmCheck(MainShell& shell, QWidget* parent) : QWidget(parent, Qt::Tool), shell_(shell) {
  setObjectName("fmCheck");
  setWindowTitle("Real-world check");
  // A desktop tool window of its own look: not the drawn window's control
  // face and white background.
  setFont(QApplication::font());
  setPalette(QApplication::palette());
  setAutoFillBackground(true);
  BuildColumns();
  QVBoxLayout* left = left_;
  QVBoxLayout* right = right_;
  left->addWidget(BuildConditions());
  status_ = new QLabel;
  status_->setWordWrap(true);
  // A label reads its text; what it is goes in the description.
  status_->setAccessibleDescription("Design");
  left->addWidget(status_);
  left->addWidget(BuildFigures());
  auto* tolerance = new QGroupBox("Worst case");
  auto* toleranceLayout = new QVBoxLayout(tolerance);
  band_ = new QLabel;
  band_->setWordWrap(true);
  band_->setAccessibleDescription("Worst case");
  toleranceLayout->addWidget(band_);
  left->addWidget(tolerance);
  left->addStretch(1);

  auto* warnings = new QGroupBox("Warnings");
  auto* warningsLayout = new QVBoxLayout(warnings);
  warnings_ = new QLabel;
  warnings_->setWordWrap(true);
  warnings_->setAccessibleDescription("Warnings");
  warnings_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  warnings_->setMinimumWidth(380);
  warningsLayout->addWidget(warnings_);
  right->addWidget(warnings);
  right->addWidget(BuildParts());
  simulation_ = new SimulationPanel;
  simulation_->SetResultHandler([this](const std::optional<Timing>& t) { ShowSimulated(t); });
  right->addWidget(simulation_);
  right->addStretch(1);
  SetDesign(shell_.CheckedDesign());
}

void TfmCheck::BuildColumns() {
  // Two columns keep the window short: the conditions and the timing on the
  // left, what follows from them on the right. They scroll where the screen
  // is smaller than they are, and stack where it is narrow; the window is
  // resizable and keeps its size when results arrive (the waveform's room is
  // there from the start).
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  scroll_ = new QScrollArea;
  // The keyboard goes to the controls inside, which scroll into view; the
  // area itself is no stop of Tab (it would be one without a mark).
  scroll_->setFocusPolicy(Qt::NoFocus);
  scroll_->setAccessibleName("Real-world check");
  scroll_->setWidgetResizable(true);
  scroll_->setFrameShape(QFrame::NoFrame);
  outer->addWidget(scroll_);
  auto* content = new QWidget;
  scroll_->setWidget(content);
  columns_ = new QBoxLayout(QBoxLayout::LeftToRight, content);
  left_ = new QVBoxLayout;
  right_ = new QVBoxLayout;
  columns_->addLayout(left_);
  columns_->addLayout(right_, 1);
}

QWidget* TfmCheck::BuildConditions() {
  auto* conditions = new QGroupBox("Built with");
  auto* form = new QFormLayout(conditions);
  vcc_ =
      Spin(kSupplyBounds.lo, kSupplyBounds.hi, settings_.conditions.vcc, 1, " V", "Supply voltage");
  family_ = new QComboBox;
  family_->addItems({"bipolar (NE555 class)", "CMOS (7555 class)"});
  family_->setAccessibleName("Timer family");
  series_ = new QComboBox;
  for (Series s : {Series::E6, Series::E12, Series::E24, Series::E48, Series::E96})
    series_->addItem(SeriesName(s));
  series_->setCurrentIndex(static_cast<int>(settings_.series));
  series_->setAccessibleName("Resistor series");
  const ToleranceSpec& t = settings_.tolerance;
  const Bounds& tol = kToleranceBounds;
  const Bounds& deg = kTemperatureBounds;
  resistorTolerance_ = Spin(tol.lo, tol.hi, t.resistor * 100, 1, " %", "Resistor tolerance");
  capacitorTolerance_ = Spin(tol.lo, tol.hi, t.capacitor * 100, 1, " %", "Capacitor tolerance");
  minCelsius_ = Spin(deg.lo, deg.hi, t.minCelsius, 0, " \u00b0C", "Lowest temperature");
  maxCelsius_ = Spin(deg.lo, deg.hi, t.maxCelsius, 0, " \u00b0C", "Highest temperature");
  // A spin box is read by its own name ("Resistor tolerance"), not also by
  // its short label; a combo box, named by its choice, by its label.
  const auto unlabelled = [form](const QString& label, QWidget* field) {
    form->addRow(new QLabel(label), field);
  };
  unlabelled("Supply", vcc_);
  form->addRow("Timer", family_);
  form->addRow("Resistors", series_);
  unlabelled("Tolerance R", resistorTolerance_);
  unlabelled("Tolerance C", capacitorTolerance_);
  unlabelled("From", minCelsius_);
  unlabelled("To", maxCelsius_);
  for (QDoubleSpinBox* box :
       {vcc_, resistorTolerance_, capacitorTolerance_, minCelsius_, maxCelsius_})
    connect(box, &QDoubleSpinBox::valueChanged, this, [this] { ReadControls(); });
  for (QComboBox* box : {family_, series_}) {
    connect(box, &QComboBox::currentIndexChanged, this, [this] { ReadControls(); });
    DescribeChoice(box);
  }
  return conditions;
}

QWidget* TfmCheck::BuildFigures() {
  auto* timing = new QGroupBox("Timing");
  figures_ = new QGridLayout(timing);
  for (int column = 0; column < 3; ++column)
    figures_->addWidget(new QLabel(QString("<b>") + kColumns[column].heading + "</b>"), 0,
                        column + 1);
  const std::vector<TimingRow>& rows = AllTimingRows();
  for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
    auto* label = new QLabel(rows[static_cast<size_t>(row)].label);
    rowLabels_.push_back(label);
    figures_->addWidget(label, row + 1, 0);
    for (int column = 1; column <= 3; ++column) {
      auto* value = new QLabel;
      ShowText(value, {});
      value->setTextInteractionFlags(Qt::TextSelectableByMouse);
      figures_->addWidget(value, row + 1, column);
    }
  }
  return timing;
}

QSize TfmCheck::ContentSize(bool stacked, bool least) const {
  const QSize left = least ? left_->minimumSize() : left_->sizeHint();
  const QSize right = least ? right_->minimumSize() : right_->sizeHint();
  const int gap = std::max(0, columns_->spacing());
  const QSize both =
      stacked ? QSize(std::max(left.width(), right.width()), left.height() + gap + right.height())
              : QSize(left.width() + gap + right.width(), std::max(left.height(), right.height()));
  const QMargins margins = columns_->contentsMargins();
  return both +
         QSize(margins.left() + margins.right() + scroll_->verticalScrollBar()->sizeHint().width(),
               margins.top() + margins.bottom());
}

QSize TfmCheck::sizeHint() const {
  // The whole content side by side without a scroll bar, as far as the
  // screen allows.
  return ContentSize(false, false);
}

QSize TfmCheck::minimumSizeHint() const {
  // One column as wide as its widest part, scrolled up and down: the least
  // room in which nothing scrolls sideways.
  return {ContentSize(true, false).width(), 360};
}

void TfmCheck::resizeEvent(QResizeEvent* event) {
  // Side by side where both columns fit at their least, else one above the
  // other (a doubled screen leaves the window a narrow strip beside the
  // main one).
  const bool stacked = event->size().width() < ContentSize(false, true).width();
  columns_->setDirection(stacked ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight);
  QWidget::resizeEvent(event);
}

void TfmCheck::StandBeside(const QWidget& main) {
  const QRect frame = main.frameGeometry();
  const QScreen* display = main.screen();
  const QRect area = display != nullptr ? display->availableGeometry() : QRect(frame);
  // The window frame around the tool window, as the main window has it.
  const int frameWidth = frame.width() - main.width();
  const int frameHeight = frame.height() - main.height();
  const QSize wanted = sizeHint(), least = minimumSizeHint();
  const Box place = PlaceBeside({frame.x(), frame.y(), frame.width(), frame.height()},
                                {area.x(), area.y(), area.width(), area.height()},
                                wanted.width() + frameWidth, wanted.height() + frameHeight,
                                least.width() + frameWidth, least.height() + frameHeight);
  resize(place.width - frameWidth, place.height - frameHeight);
  move(place.left, place.top);
}

void TfmCheck::Present() {
  // Shown but never exposed: its native window went away behind our back
  // (destroyed from outside), or it is minimized or on another desktop: a
  // new one is made here.
  QWindow* native = windowHandle();
  if (isVisible() && native != nullptr && !native->isExposed()) {
    hide();
    native->destroy();
  }
  show();
  raise();
  activateWindow();
}

void TfmCheck::keyPressEvent(QKeyEvent* event) {
  // Escape closes the tool window; Return presses the button that has the focus.
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    close();
    return;
  }
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
      if (button->isEnabled()) button->animateClick();
      return;
    }
  }
  QWidget::keyPressEvent(event);
}

void TfmCheck::SetDesign(const std::optional<DesignSnapshot>& design) {
  design_ = design;
  Check();
}

void TfmCheck::ReadControls() {
  settings_.conditions.vcc = vcc_->value();
  settings_.conditions.family =
      family_->currentIndex() == 1 ? TimerFamily::Cmos : TimerFamily::Bipolar;
  settings_.series = static_cast<Series>(series_->currentIndex());
  settings_.tolerance.resistor = resistorTolerance_->value() / 100;
  settings_.tolerance.capacitor = capacitorTolerance_->value() / 100;
  // A range given upside down is read the right way round.
  settings_.tolerance.minCelsius = std::min(minCelsius_->value(), maxCelsius_->value());
  settings_.tolerance.maxCelsius = std::max(minCelsius_->value(), maxCelsius_->value());
  Check();
}

QLabel* TfmCheck::Cell(int row, int column) const {
  return static_cast<QLabel*>(figures_->itemAtPosition(row, column)->widget());
}

void TfmCheck::Check() {
  if (checked_ && design_ == checkedDesign_ && settings_ == checkedSettings_) return;
  checked_ = true;
  checkedDesign_ = design_;
  checkedSettings_ = settings_;
  report_.reset();
  simulation_->SetDesign(design_, settings_.conditions);
  if (!design_) {
    ShowNothing();
    return;
  }
  report_ = RunCheck(*design_, settings_);
  ShowFigures();
  SearchParts();
}

void TfmCheck::ShowNothing() {
  setWindowTitle("Real-world check");
  ShowText(status_, "No calculated design: pick a design, type its figures and press Calculate.");
  for (int row = 1; row < figures_->rowCount(); ++row)
    for (int column = 1; column <= 2; ++column)
      ShowText(Cell(row, column), {});
  ShowText(warnings_, {});
  ShowText(band_, {});
  SearchParts();
}

void TfmCheck::ShowFigures() {
  const DesignSnapshot& d = *design_;
  const CheckReport& r = *report_;
  const DesignTraits& traits = TraitsOf(d.kind);
  setWindowTitle(QString("Real-world check \u2014 ") + traits.title);
  ShowText(status_, Text(PartsText(d)));
  // The one-shot's pulse stands in the first row; the astables' five rows
  // are shown whole.
  const std::vector<TimingRow>& rows = TimingRows(d.kind);
  for (int row = 0; row < static_cast<int>(rowLabels_.size()); ++row) {
    const bool shown = row < static_cast<int>(rows.size());
    for (int column = 0; column <= 3; ++column)
      figures_->itemAtPosition(row + 1, column)->widget()->setVisible(shown);
    if (!shown) continue;
    const TimingRow& figure = rows[static_cast<size_t>(row)];
    rowLabels_[static_cast<size_t>(row)]->setText(figure.label);
    const Timing* timings[] = {&r.ideal, &r.predicted};
    for (int column = 1; column <= 3; ++column) {
      QLabel* cell = Cell(row + 1, column);
      cell->setAccessibleDescription(QString(figure.label) + ", " + kColumns[column - 1].heading);
      if (column <= 2)
        ShowText(cell, Text(FigureText(figure.kind, figure.value(*timings[column - 1]))));
    }
  }
  QString text;
  for (const Warning& w : r.warnings)
    text += "<p><b>" + QString(CodeKey(w.code)).toHtmlEscaped() +
            "</b>: " + Text(w.message).toHtmlEscaped() + "</p>";
  ShowText(warnings_, text.isEmpty() ? "None: the design keeps every limit." : text);
  ShowText(band_,
           Text(ToleranceText(settings_.tolerance) + ": " + WorstCaseText(r.band, traits.oneShot)));
}

void TfmCheck::ShowSimulated(const std::optional<Timing>& t) {
  const std::vector<TimingRow>& rows = design_ ? TimingRows(design_->kind) : AllTimingRows();
  for (int row = 0; row < static_cast<int>(rowLabels_.size()); ++row) {
    const bool shown = t && row < static_cast<int>(rows.size());
    const TimingRow* figure = shown ? &rows[static_cast<size_t>(row)] : nullptr;
    ShowText(Cell(row + 1, 3), figure ? Text(FigureText(figure->kind, figure->value(*t))) : "");
  }
}

QString TfmCheck::FiguresText() const {
  QString text;
  for (int row = 0; row < static_cast<int>(rowLabels_.size()); ++row) {
    if (!rowLabels_[static_cast<size_t>(row)]->isVisibleTo(this)) continue;
    text += rowLabels_[static_cast<size_t>(row)]->text() + ": " + Cell(row + 1, 1)->text() + " / " +
            Cell(row + 1, 2)->text() + "\n";
  }
  return text;
}

QString TfmCheck::WarningsText() const {
  return warnings_->text();
}

}  // namespace timer555
