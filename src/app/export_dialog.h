#pragma once

#include <QDialog>
#include <QStringList>

#include "export/export_files.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace timer555 {

class SimulationPanel;

// What an export of `built` (C1's kind as its capacitor) writes from: the
// question it answers, the window's timer, and the simulation panel's last
// run where it simulated these very parts under the same conditions.
ExportJob WindowExportJob(const PartsQuestion& question, const DesignSnapshot& built,
                          const SimulationPanel* simulation);

// "Export": which files to write (the KiCad schematic, the bill of
// materials, the design sheet), their name and folder, the sheet's paper and
// whether the parts are surface-mount. Export writes each file through the
// atomic save, asks once before replacing files, and says what it wrote; a
// failure says why and keeps the dialog open.
class ExportDialog final : public QDialog {
  Q_OBJECT

 public:
  // `what`: the parts and the design, as the dialog's first line reads them.
  ExportDialog(ExportJob job, const QString& what, const QString& name, QWidget* parent);

  QCheckBox* KicadBox() const noexcept { return kicad_; }
  QCheckBox* BomBox() const noexcept { return bom_; }
  QCheckBox* SheetBox() const noexcept { return sheet_; }
  QLineEdit* NameField() const noexcept { return name_; }
  QLineEdit* FolderField() const noexcept { return folder_; }
  QComboBox* PaperBox() const noexcept { return paper_; }
  QCheckBox* SmdBox() const noexcept { return smd_; }
  // The files the last Export wrote.
  const QStringList& Written() const noexcept { return written_; }

 private:
  void Browse();
  void Export();
  // The files checked, each with its kind; empty with a message when the
  // name or the folder will not do.
  std::vector<std::pair<QString, ExportFile>> Files();

  ExportJob job_;
  QCheckBox* kicad_ = nullptr;
  QCheckBox* bom_ = nullptr;
  QCheckBox* sheet_ = nullptr;
  QLineEdit* name_ = nullptr;
  QLineEdit* folder_ = nullptr;
  QComboBox* paper_ = nullptr;
  QCheckBox* smd_ = nullptr;
  QStringList written_;
};

}  // namespace timer555
