#pragma once

#include <QWidget>
#include <functional>
#include <optional>

#include "analysis/check.h"

class QComboBox;
class QDoubleSpinBox;
class QGridLayout;
class QLabel;
class QKeyEvent;
class QPushButton;
class QScrollArea;

namespace timer555 {

class MainShell;
class SimulationPanel;

// The "Real-world check" tool window: the design on show as a built circuit.
// It follows the design while it is open (the main window calls Refresh after
// every event); its settings last for the run.
class TfmCheck final : public QWidget {
  Q_OBJECT

 public:
  TfmCheck(MainShell& shell, QWidget* parent);

  // Reads the design again and redraws the figures.
  void Refresh();

  // Runs a change of the design through the main window's event guard, which
  // reports errors and redraws.
  using Guard = std::function<void(const std::function<void()>&)>;
  void SetGuard(Guard guard) { guard_ = std::move(guard); }

  QPushButton* ApplyButton(int row) const { return applyButtons_[static_cast<size_t>(row)]; }
  QString FiguresText() const;
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;
  QString WarningsText() const;

  QDoubleSpinBox* Vcc = nullptr;
  QComboBox* Family = nullptr;
  QComboBox* SeriesBox = nullptr;
  QDoubleSpinBox* ResistorTolerance = nullptr;
  QDoubleSpinBox* CapacitorTolerance = nullptr;
  QDoubleSpinBox* MinCelsius = nullptr;
  QDoubleSpinBox* MaxCelsius = nullptr;
  SimulationPanel* Simulation = nullptr;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void ReadControls();
  void Apply(int row);
  void ShowSimulated(const std::optional<Timing>& simulated);

  MainShell& shell_;
  CheckSettings settings_;
  std::optional<DesignSnapshot> design_;
  std::optional<CheckReport> report_;
  Guard guard_;
  QScrollArea* scroll_ = nullptr;
  QLabel* status_ = nullptr;
  QGridLayout* figures_ = nullptr;
  QLabel* warnings_ = nullptr;
  QGridLayout* choices_ = nullptr;
  std::vector<QLabel*> choiceLabels_;
  std::vector<QPushButton*> applyButtons_;
  QLabel* band_ = nullptr;
  bool refreshing_ = false;
  bool checked_ = false;  // the figures show design_ with checkedSettings_
  CheckSettings checkedSettings_;
};

}  // namespace timer555
