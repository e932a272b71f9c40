#include "app/save_dialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QRegularExpression>

#include "app/accessibility.h"
#include "components/atomic_file.h"

namespace timer555 {

namespace {

QString AskWithTheFileDialog(QWidget* parent, const QString& caption, const QString& proposed,
                             const QString& filters, QString* chosen) {
  // The overwrite question comes after the extension is settled, not here.
  return QFileDialog::getSaveFileName(parent, caption, proposed, filters, chosen,
                                      QFileDialog::DontConfirmOverwrite);
}

SaveNameAsker& Asker() {
  static SaveNameAsker asker = AskWithTheFileDialog;
  return asker;
}

// ".png" of "PNG picture (*.png)".
QString ExtensionOf(const QString& filter) {
  const QRegularExpressionMatch m = QRegularExpression(R"(\(\*(\.[A-Za-z0-9]+)\))").match(filter);
  return m.hasMatch() ? m.captured(1) : QString();
}

}  // namespace

QString SettledSaveName(const QString& typed, const QString& filters, const QString& chosen) {
  if (typed.isEmpty()) return typed;
  for (const QString& filter : filters.split(";;")) {
    const QString extension = ExtensionOf(filter);
    if (!extension.isEmpty() && typed.endsWith(extension, Qt::CaseInsensitive)) return typed;
  }
  const QString extension = ExtensionOf(chosen.isEmpty() ? filters.split(";;").front() : chosen);
  return typed + extension;
}

void SetSaveNameAsker(SaveNameAsker asker) {
  Asker() = asker ? std::move(asker) : AskWithTheFileDialog;
}

QString AskSaveFileName(QWidget* parent, const QString& caption, const QString& proposed,
                        const QString& filters) {
  const FocusReturn back;
  QString chosen;
  QString file =
      SettledSaveName(Asker()(parent, caption, proposed, filters, &chosen), filters, chosen);
  if (file.isEmpty() || !QFileInfo::exists(file)) return file;
  QMessageBox box(QMessageBox::Question, caption,
                  "'" + QFileInfo(file).fileName() + "' already exists. Replace it?",
                  QMessageBox::Yes | QMessageBox::No, parent);
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes ? file : QString();
}

bool SaveFile(QWidget* parent, const QString& file, std::string_view bytes) {
  const auto failure = WriteFileAtomically(file.toStdString(), bytes);
  if (!failure) return true;
  const FocusReturn back;
  QMessageBox box(QMessageBox::Critical, "Error", QString::fromStdString(*failure), QMessageBox::Ok,
                  parent);
  box.exec();
  return false;
}

}  // namespace timer555
