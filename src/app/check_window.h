#pragma once

#include <QWidget>
#include <functional>
#include <optional>

#include "analysis/check.h"
#include "analysis/parts.h"
#include "app/background.h"
#include "report/parts_report.h"

class QComboBox;
class QDoubleSpinBox;
class QBoxLayout;
class QGridLayout;
class QResizeEvent;
class QVBoxLayout;
class QHBoxLayout;
class QLabel;
class QKeyEvent;
class QPushButton;
class QScrollArea;
class QTableWidget;

namespace timer555 {

class CanvasView;
class MainShell;
class SimulationPanel;

// The "Real-world check" tool window: the design on show as a built circuit.
// It follows the design the main window announces (SetDesign) and its own
// settings, and checks again only when one of them has changed; the
// settings last for the run.
class TfmCheck final : public QWidget {
  Q_OBJECT

 public:
  TfmCheck(MainShell& shell, QWidget* parent);

  // Beside the main window inside the screen's available area, never over
  // the page where there is room elsewhere.
  void StandBeside(const QWidget& main);
  // Shows the window, raised and active; a new native window where the old
  // one is gone.
  void Present();

  // The design to check; none where nothing is calculated.
  void SetDesign(const std::optional<DesignSnapshot>& design);
  const CheckSettings& Settings() const noexcept { return settings_; }

  // Runs a change of the design through the main window's event guard, which
  // reports errors, redraws and announces the new design.
  using Guard = std::function<void(const std::function<void()>&)>;
  void SetGuard(Guard guard) { guard_ = std::move(guard); }

  SimulationPanel* Simulation() const noexcept { return simulation_; }
  // Parts for the bench: the list, its buttons and the chosen part's histogram.
  QTableWidget* PartsTable() const noexcept { return partsTable_; }
  QPushButton* ApplyPartsButton() const noexcept { return applyParts_; }
  QPushButton* CopyPartsButton() const noexcept { return copyParts_; }
  QPushButton* ExportPartsButton() const noexcept { return exportParts_; }
  CanvasView* Histogram() const noexcept { return histogram_; }
  bool Searching() const noexcept { return search_.Busy(); }
  QString FiguresText() const;
  QString WarningsText() const;
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void BuildColumns();  // the scroll area and its two columns
  QWidget* BuildConditions();
  QWidget* BuildFigures();
  QWidget* BuildParts();
  QHBoxLayout* BuildPartsButtons();
  // The content's size beside a vertical scroll bar: the two columns side
  // by side or one above the other, at their wanted or their least sizes.
  QSize ContentSize(bool stacked, bool least) const;  // Apply, Copy parts list, Export…
  void ReadControls();
  // Checks the design with the settings when either differs from the last check.
  void Check();
  void ShowNothing();
  void ShowFigures();
  // The parts search runs off the window's thread; a question asked while
  // it runs is asked again when it ends.
  void SearchParts();
  void ShowParts(const PartsQuestion& question, PartsAnswer answer);
  // The row of the answer the table's current row shows; none without one.
  const PartsChoice* ChosenParts() const;
  void ChooseParts();
  void ApplyParts();
  void CopyParts();
  void ExportParts();
  void ShowSimulated(const std::optional<Timing>& simulated);
  QLabel* Cell(int row, int column) const;
  // The engine's texts are UTF-8 (Ω, µ, ±).
  static QString Text(const std::string& text) { return QString::fromStdString(text); }

  MainShell& shell_;
  CheckSettings settings_;
  std::optional<DesignSnapshot> design_;
  std::optional<CheckReport> report_;
  bool checked_ = false;  // report_ is of design_ with checkedSettings_
  std::optional<DesignSnapshot> checkedDesign_;
  CheckSettings checkedSettings_;
  Guard guard_;

  QDoubleSpinBox* vcc_ = nullptr;
  QComboBox* family_ = nullptr;
  QComboBox* series_ = nullptr;
  QDoubleSpinBox* resistorTolerance_ = nullptr;
  QDoubleSpinBox* capacitorTolerance_ = nullptr;
  QDoubleSpinBox* minCelsius_ = nullptr;
  QDoubleSpinBox* maxCelsius_ = nullptr;
  SimulationPanel* simulation_ = nullptr;
  QScrollArea* scroll_ = nullptr;
  QBoxLayout* columns_ = nullptr;  // the conditions and timing; what follows from them
  QVBoxLayout* left_ = nullptr;
  QVBoxLayout* right_ = nullptr;
  QLabel* status_ = nullptr;
  QGridLayout* figures_ = nullptr;
  std::vector<QLabel*> rowLabels_;
  QLabel* warnings_ = nullptr;
  QComboBox* capacitors_ = nullptr;
  QComboBox* kinds_ = nullptr;
  QLabel* partsStatus_ = nullptr;
  QTableWidget* partsTable_ = nullptr;
  QPushButton* applyParts_ = nullptr;
  QPushButton* copyParts_ = nullptr;
  QPushButton* exportParts_ = nullptr;
  CanvasView* histogram_ = nullptr;
  std::optional<PartsQuestion> partsQuestion_;  // what the list answers
  std::optional<PartsAnswer> partsAnswer_;
  std::optional<PartsChoice> applied_;  // chosen again when the search answers after Apply
  bool askAgain_ = false;
  Background<PartsAnswer> search_{this};
  QLabel* band_ = nullptr;
};

}  // namespace timer555
