#include "app/export_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/accessibility.h"
#include "app/save_dialog.h"
#include "app/simulation_panel.h"

namespace timer555 {

namespace {

// The folder of the last export, for the next one in this run.
QString& LastFolder() {
  static QString folder = QDir::homePath();
  return folder;
}

QCheckBox* Checked(const QString& text) {
  auto* box = new QCheckBox(text);
  box->setChecked(true);
  return box;
}

void Complain(QWidget* parent, const QString& text) {
  const FocusReturn back;
  QMessageBox box(QMessageBox::Warning, "Export", text, QMessageBox::Ok, parent);
  box.exec();
}

}  // namespace

ExportJob WindowExportJob(const PartsQuestion& question, const DesignSnapshot& built,
                          const SimulationPanel* simulation) {
  ExportJob job;
  job.sheet = {question,         built,  Global::Drawing().TimerVariant, std::nullopt,
               ProgramVersion(), Today()};
  if (simulation == nullptr || !simulation->LastRun()) return job;
  const SimulationPanel::Run& run = *simulation->LastRun();
  const DesignSnapshot& d = run.design;
  if (d.kind == built.kind && d.r1 == built.r1 && d.r2 == built.r2 && d.c1 == built.c1 &&
      run.conditions == question.bench.conditions)
    job.sheet.simulation = run.result;
  return job;
}

ExportDialog::ExportDialog(ExportJob job, const QString& what, const QString& name, QWidget* parent)
    : QDialog(parent), job_(std::move(job)) {
  setWindowTitle("Export");
  setAccessibleName("Export");
  setAccessibleDescription("Export " + what);
  auto* layout = new QVBoxLayout(this);
  auto* intro = new QLabel("Export " + what);
  intro->setWordWrap(true);
  layout->addWidget(intro);
  kicad_ = Checked("&KiCad schematic (.kicad_sch)");
  bom_ = Checked("&Bill of materials (.csv)");
  sheet_ = Checked("Design &sheet (.pdf)");
  for (QCheckBox* box : {kicad_, bom_, sheet_})
    layout->addWidget(box);
  auto* form = new QFormLayout;
  name_ = new QLineEdit(name);
  form->addRow("&Name:", name_);
  folder_ = new QLineEdit(LastFolder());
  auto* browse = new QPushButton("B&rowse\u2026");
  browse->setAccessibleName("Browse for the folder");
  auto* where = new QHBoxLayout;
  where->addWidget(folder_, 1);
  where->addWidget(browse);
  form->addRow("&Folder:", where);
  if (auto* label = qobject_cast<QLabel*>(form->labelForField(where))) label->setBuddy(folder_);
  paper_ = new QComboBox;
  paper_->addItems({"A4", "Letter"});
  // The desktop's paper: Letter where the measures are American.
  paper_->setCurrentIndex(QLocale().measurementSystem() == QLocale::ImperialUSSystem ? 1 : 0);
  form->addRow("&Paper:", paper_);
  smd_ = new QCheckBox("Surface-&mount parts (0805, SOIC)");
  smd_->setChecked(job_.smd);
  form->addRow(smd_);
  layout->addLayout(form);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  buttons->button(QDialogButtonBox::Ok)->setText("&Export");
  layout->addWidget(buttons);
  setMinimumWidth(fontMetrics().averageCharWidth() * 64);
  connect(browse, &QPushButton::clicked, this, [this] { Browse(); });
  connect(buttons, &QDialogButtonBox::accepted, this, [this] { Export(); });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(sheet_, &QCheckBox::toggled, paper_, &QWidget::setEnabled);
}

void ExportDialog::Browse() {
  const FocusReturn back;
  const QString folder =
      QFileDialog::getExistingDirectory(this, "Export to folder", folder_->text());
  if (!folder.isEmpty()) folder_->setText(folder);
}

std::vector<std::pair<QString, ExportFile>> ExportDialog::Files() {
  const QString name = name_->text().trimmed();
  const QString folder = folder_->text().trimmed();
  if (!kicad_->isChecked() && !bom_->isChecked() && !sheet_->isChecked()) {
    Complain(this, "Choose at least one file to write.");
    return {};
  }
  if (name.isEmpty() || name.contains('/') || name == "." || name == "..") {
    Complain(this, "The name '" + name + "' is not a file name: type one without '/'.");
    name_->setFocus();
    return {};
  }
  if (!QFileInfo(folder).isDir()) {
    Complain(this, "The folder '" + folder + "' does not exist.");
    folder_->setFocus();
    return {};
  }
  std::vector<std::pair<QString, ExportFile>> files;
  const QDir dir(folder);
  if (kicad_->isChecked()) files.emplace_back(dir.filePath(name + ".kicad_sch"), ExportFile::Kicad);
  if (bom_->isChecked()) files.emplace_back(dir.filePath(name + ".csv"), ExportFile::Bom);
  if (sheet_->isChecked()) files.emplace_back(dir.filePath(name + ".pdf"), ExportFile::Sheet);
  return files;
}

void ExportDialog::Export() {
  const auto files = Files();
  if (files.empty()) return;
  QStringList existing;
  for (const auto& [path, kind] : files)
    if (QFileInfo::exists(path)) existing << QFileInfo(path).fileName();
  if (!existing.isEmpty()) {
    const FocusReturn back;
    QMessageBox box(QMessageBox::Question, "Export",
                    existing.join(", ") +
                        (existing.size() == 1 ? " already exists" : " already exist") +
                        ". Replace?",
                    QMessageBox::Yes | QMessageBox::No, this);
    box.setDefaultButton(QMessageBox::No);
    if (box.exec() != QMessageBox::Yes) return;
  }
  job_.paper = paper_->currentIndex() == 1 ? Paper::Letter : Paper::A4;
  job_.smd = smd_->isChecked();
  written_.clear();
  for (const auto& [path, kind] : files) {
    if (!SaveFile(this, path, ExportedBytes(job_, kind))) return;
    written_ << QFileInfo(path).fileName();
  }
  LastFolder() = folder_->text().trimmed();
  QMessageBox done(QMessageBox::Information, "Export",
                   "Wrote " + written_.join(", ") + " in " + LastFolder() + ".", QMessageBox::Ok,
                   this);
  done.exec();
  accept();
}

}  // namespace timer555
