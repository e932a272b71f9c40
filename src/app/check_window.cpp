#include "app/check_window.h"

#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <charconv>
#include <cmath>

#include "app/shell.h"
#include "app/simulation_panel.h"
#include "design/adjustment.h"
#include "report/figures.h"
#include "state/global.h"

namespace timer555 {

namespace {

constexpr int kChoiceRows = 5;
constexpr TimingColumn kColumns[] = {kIdealColumn, kPredictedColumn, kSimulatedColumn};

QString Text(const std::string& text) {
  return QString::fromStdString(text);
}

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
  // Two columns keep the window short: the conditions and the timing on the
  // left, what follows from them on the right. They scroll where the screen
  // is smaller than they are; the window is resizable and keeps its size
  // when results arrive (the waveform's room is there from the start).
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  scroll_ = new QScrollArea;
  scroll_->setWidgetResizable(true);
  scroll_->setFrameShape(QFrame::NoFrame);
  outer->addWidget(scroll_);
  auto* content = new QWidget;
  scroll_->setWidget(content);
  auto* columns = new QHBoxLayout(content);
  auto* left = new QVBoxLayout;
  auto* right = new QVBoxLayout;
  columns->addLayout(left);
  columns->addLayout(right, 1);

  left->addWidget(BuildConditions());
  status_ = new QLabel;
  status_->setWordWrap(true);
  status_->setAccessibleName("Design");
  left->addWidget(status_);
  left->addWidget(BuildFigures());
  auto* tolerance = new QGroupBox("Worst case");
  auto* toleranceLayout = new QVBoxLayout(tolerance);
  band_ = new QLabel;
  band_->setWordWrap(true);
  band_->setAccessibleName("Worst case");
  toleranceLayout->addWidget(band_);
  left->addWidget(tolerance);
  left->addStretch(1);

  auto* warnings = new QGroupBox("Warnings");
  auto* warningsLayout = new QVBoxLayout(warnings);
  warnings_ = new QLabel;
  warnings_->setWordWrap(true);
  warnings_->setAccessibleName("Warnings");
  warnings_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  warnings_->setMinimumWidth(380);
  warningsLayout->addWidget(warnings_);
  right->addWidget(warnings);
  right->addWidget(BuildChoices());
  simulation_ = new SimulationPanel;
  simulation_->SetResultHandler([this](const std::optional<Timing>& t) { ShowSimulated(t); });
  right->addWidget(simulation_);
  right->addStretch(1);
  SetDesign(shell_.CheckedDesign());
}

QWidget* TfmCheck::BuildConditions() {
  auto* conditions = new QGroupBox("Built with");
  auto* form = new QFormLayout(conditions);
  vcc_ = Spin(1, 30, settings_.conditions.vcc, 1, " V", "Supply voltage");
  family_ = new QComboBox;
  family_->addItems({"bipolar (NE555 class)", "CMOS (7555 class)"});
  family_->setAccessibleName("Timer family");
  series_ = new QComboBox;
  for (Series s : {Series::E6, Series::E12, Series::E24, Series::E48, Series::E96})
    series_->addItem(SeriesName(s));
  series_->setCurrentIndex(static_cast<int>(settings_.series));
  series_->setAccessibleName("Resistor series");
  const ToleranceSpec& t = settings_.tolerance;
  resistorTolerance_ = Spin(0, 50, t.resistor * 100, 1, " %", "Resistor tolerance");
  capacitorTolerance_ = Spin(0, 50, t.capacitor * 100, 1, " %", "Capacitor tolerance");
  minCelsius_ = Spin(-55, 150, t.minCelsius, 0, " \u00b0C", "Lowest temperature");
  maxCelsius_ = Spin(-55, 150, t.maxCelsius, 0, " \u00b0C", "Highest temperature");
  form->addRow("Supply", vcc_);
  form->addRow("Timer", family_);
  form->addRow("Resistors", series_);
  form->addRow("Tolerance R", resistorTolerance_);
  form->addRow("Tolerance C", capacitorTolerance_);
  form->addRow("From", minCelsius_);
  form->addRow("To", maxCelsius_);
  for (QDoubleSpinBox* box :
       {vcc_, resistorTolerance_, capacitorTolerance_, minCelsius_, maxCelsius_})
    connect(box, &QDoubleSpinBox::valueChanged, this, [this] { ReadControls(); });
  for (QComboBox* box : {family_, series_})
    connect(box, &QComboBox::currentIndexChanged, this, [this] { ReadControls(); });
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
      value->setTextInteractionFlags(Qt::TextSelectableByMouse);
      figures_->addWidget(value, row + 1, column);
    }
  }
  return timing;
}

QWidget* TfmCheck::BuildChoices() {
  auto* standard = new QGroupBox("Standard values for C1");
  auto* choices = new QGridLayout(standard);
  for (int i = 0; i < kChoiceRows; ++i) {
    auto* label = new QLabel;
    label->setAccessibleName("Choice " + QString::number(i + 1));
    auto* apply = new QPushButton("Apply");
    apply->setAccessibleName("Apply choice " + QString::number(i + 1));
    connect(apply, &QPushButton::clicked, this, [this, i] { Apply(i); });
    choices->addWidget(label, i, 0);
    choices->addWidget(apply, i, 1);
    choiceLabels_.push_back(label);
    applyButtons_.push_back(apply);
  }
  return standard;
}

QSize TfmCheck::sizeHint() const {
  // The whole content without scroll bars, as far as the screen allows.
  const QSize content = scroll_->widget()->sizeHint();
  return {content.width() + scroll_->verticalScrollBar()->sizeHint().width(), content.height()};
}

QSize TfmCheck::minimumSizeHint() const {
  return {280, 180};
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
  ShowChoices();
}

void TfmCheck::ShowNothing() {
  setWindowTitle("Real-world check");
  status_->setText("No calculated design: pick a design, type its figures and press Calculate.");
  for (int row = 1; row < figures_->rowCount(); ++row)
    for (int column = 1; column <= 2; ++column)
      Cell(row, column)->clear();
  warnings_->clear();
  for (int i = 0; i < kChoiceRows; ++i) {
    choiceLabels_[static_cast<size_t>(i)]->clear();
    applyButtons_[static_cast<size_t>(i)]->setEnabled(false);
  }
  band_->clear();
}

void TfmCheck::ShowFigures() {
  const DesignSnapshot& d = *design_;
  const CheckReport& r = *report_;
  const DesignTraits& traits = TraitsOf(d.kind);
  setWindowTitle(QString("Real-world check \u2014 ") + traits.title);
  status_->setText(Text(PartsText(d)));
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
      cell->setAccessibleName(QString(figure.label) + ", " + kColumns[column - 1].heading);
      if (column <= 2)
        cell->setText(Text(FigureText(figure.kind, figure.value(*timings[column - 1]))));
    }
  }
  QString text;
  for (const Warning& w : r.warnings)
    text += "<p><b>" + Text(w.code).toHtmlEscaped() + "</b>: " + Text(w.message).toHtmlEscaped() +
            "</p>";
  warnings_->setText(text.isEmpty() ? "None: the design keeps every limit." : text);
  band_->setText(
      Text(ToleranceText(settings_.tolerance) + ": " + WorstCaseText(r.band, traits.oneShot)));
}

void TfmCheck::ShowChoices() {
  const DesignSnapshot& d = *design_;
  const std::vector<StandardChoice>& choices = report_->choices;
  const bool pair = TraitsOf(d.kind).resistorPair;
  const TimerDesignState& state = Global::TimerDesign();
  for (size_t i = 0; i < static_cast<size_t>(kChoiceRows); ++i) {
    QLabel* label = choiceLabels_[i];
    QPushButton* apply = applyButtons_[i];
    if (i >= choices.size()) {
      label->clear();
      apply->setEnabled(false);
      continue;
    }
    const StandardChoice& c = choices[i];
    label->setText(Text(ChoiceText(d.kind, c)));
    const bool inBand =
        AcceptsResistor(state, 1, c.r1) && (!pair || (c.r2 && AcceptsResistor(state, 2, *c.r2)));
    apply->setEnabled(inBand);
    apply->setToolTip(inBand ? "Enter these resistors as the adjustment dialog would"
                             : "Outside the \u00b120 % the adjustment dialog accepts");
  }
}

void TfmCheck::Apply(int row) {
  if (!report_ || !design_ || row >= static_cast<int>(report_->choices.size())) return;
  const StandardChoice c = report_->choices[static_cast<size_t>(row)];
  const bool pair = TraitsOf(design_->kind).resistorPair;
  const auto apply = [&] { shell_.ApplyStandardResistors(c.r1, pair ? c.r2 : std::nullopt); };
  if (guard_) {
    guard_(apply);
  } else {
    apply();
    SetDesign(shell_.CheckedDesign());
  }
}

void TfmCheck::ShowSimulated(const std::optional<Timing>& t) {
  const std::vector<TimingRow>& rows = design_ ? TimingRows(design_->kind) : AllTimingRows();
  for (int row = 0; row < static_cast<int>(rowLabels_.size()); ++row) {
    const bool shown = t && row < static_cast<int>(rows.size());
    const TimingRow* figure = shown ? &rows[static_cast<size_t>(row)] : nullptr;
    Cell(row + 1, 3)->setText(figure ? Text(FigureText(figure->kind, figure->value(*t))) : "");
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
