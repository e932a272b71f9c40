#include "app/simulation_panel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/save_dialog.h"
#include "render/qt_canvas.h"
#include "simulation/netlist.h"
#include "simulation/wave_picture.h"

namespace timer555 {

SimulationPanel::SimulationPanel(QWidget* parent) : QGroupBox("Simulation", parent) {
  auto* layout = new QVBoxLayout(this);
  auto* buttons = new QHBoxLayout;
  SimulateButton = new QPushButton("Simulate");
  SimulateButton->setAccessibleName("Simulate");
  NetlistButton = new QPushButton("Save netlist\u2026");
  NetlistButton->setAccessibleName("Save netlist");
  Busy = new QProgressBar;
  Busy->setRange(0, 0);  // a busy indication: the run's length is not known
  Busy->setVisible(false);
  Busy->setAccessibleName("Simulating");
  buttons->addWidget(SimulateButton);
  buttons->addWidget(NetlistButton);
  buttons->addWidget(Busy, 1);
  layout->addLayout(buttons);
  Status = new QLabel;
  Status->setWordWrap(true);
  Status->setAccessibleName("Simulation status");
  layout->addWidget(Status);
  Picture = new QLabel;
  Picture->setAccessibleName("Simulated waveform");
  Picture->setFixedSize(kWavePictureWidth, kWavePictureHeight);
  Picture->setVisible(false);
  layout->addWidget(Picture);
  connect(SimulateButton, &QPushButton::clicked, this, [this] {
    if (Running()) {
      Cancel();
    } else {
      Start();
    }
  });
  connect(NetlistButton, &QPushButton::clicked, this, [this] {
    const QString file =
        AskSaveFileName(this, "Save netlist", "timer555.cir", "SPICE netlist (*.cir)");
    if (!file.isEmpty()) SaveNetlist(file);
  });
  SetProgram("ngspice", kSimulationSeconds);
  SetDesign(std::nullopt, conditions_);
}

SimulationPanel::~SimulationPanel() {
  // The child is killed at the next poll; nothing waits for the limit.
  cancel_ = true;
  if (worker_.joinable()) worker_.join();
}

void SimulationPanel::SetProgram(const std::string& program, double seconds) {
  program_ = program;
  seconds_ = seconds;
  const bool found = program != "ngspice" || !FindNgspice().empty();
  SimulateButton->setProperty("available", found);
  SimulateButton->setToolTip(found ? "Simulate the circuit with ngspice" : kNgspiceMissing);
  SetDesign(design_, conditions_);
}

void SimulationPanel::SetDesign(const std::optional<DesignSnapshot>& design,
                                const Conditions& conditions) {
  const bool changed = design != design_ || !(conditions == conditions_);
  design_ = design;
  conditions_ = conditions;
  if (changed && !Running()) Clear();
  const bool available = SimulateButton->property("available").toBool();
  SimulateButton->setEnabled(Running() || (available && design_.has_value()));
  NetlistButton->setEnabled(design_.has_value());
  if (!available) Status->setText(kNgspiceMissing);
}

void SimulationPanel::Clear() {
  Picture->clear();
  Picture->setVisible(false);
  Status->clear();
  if (resultHandler_) resultHandler_(std::nullopt);
}

void SimulationPanel::Start() {
  if (!design_ || Running()) return;
  cancel_ = false;
  SimulateButton->setText("Cancel");
  Busy->setVisible(true);
  Status->setText("Simulating\u2026");
  const DesignSnapshot design = *design_;
  const Conditions conditions = conditions_;
  running_ = design;
  runningConditions_ = conditions;
  const std::string program = program_;
  const double seconds = seconds_;
  worker_ = std::thread([this, design, conditions, program, seconds] {
    SimulationResult result = Simulate(design, conditions, program, seconds, &cancel_);
    QMetaObject::invokeMethod(
        this, [this, result = std::move(result)]() mutable { Finished(std::move(result)); },
        Qt::QueuedConnection);
  });
}

void SimulationPanel::Cancel() {
  cancel_ = true;
  Status->setText("Cancelling\u2026");
}

void SimulationPanel::Finished(SimulationResult result) {
  if (worker_.joinable()) worker_.join();
  SimulateButton->setText("Simulate");
  Busy->setVisible(false);
  SetDesign(design_, conditions_);
  // A run for a design that has changed since says nothing of this one.
  const bool current = design_ && design_ == running_ && conditions_ == runningConditions_;
  if (!current && !result.error) result.error = "the design changed during the simulation";
  if (result.error) {
    Status->setText(QString::fromStdString(*result.error));
    Picture->setVisible(false);
    if (resultHandler_) resultHandler_(std::nullopt);
    return;
  }
  Status->setText(QString("Simulated by ngspice in %1 s.").arg(result.seconds, 0, 'f', 2));
  if (design_) {
    QtCanvas canvas(kWavePictureWidth, kWavePictureHeight);
    DrawSimulatedWave(canvas, *design_, conditions_, result);
    Picture->setPixmap(QPixmap::fromImage(canvas.Image()));
    Picture->setVisible(true);
  }
  if (resultHandler_) resultHandler_(result.simulated);
}

bool SimulationPanel::SaveNetlist(const QString& file) {
  if (!design_) return false;
  return SaveFile(this, file,
                  Netlist(*design_, conditions_, PlanSimulation(*design_, conditions_)));
}

}  // namespace timer555
