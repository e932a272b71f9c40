#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <string_view>

namespace timer555 {

// The name a save dialog's answer stands for: the extension of the chosen
// filter ("PNG picture (*.png)") added when the typed name ends in none of
// the filters' extensions.
QString SettledSaveName(const QString& typed, const QString& filters, const QString& chosen);

// The file dialog itself, replaceable where no person answers it (tests):
// (parent, caption, proposed name, filters, chosen filter) -> typed name.
using SaveNameAsker =
    std::function<QString(QWidget*, const QString&, const QString&, const QString&, QString*)>;
void SetSaveNameAsker(SaveNameAsker asker);

// Asks for a file to save to: the dialog, the extension settled, and only
// then the question whether an existing file of that name is replaced.
// Empty when the user cancels at either step.
QString AskSaveFileName(QWidget* parent, const QString& caption, const QString& proposed,
                        const QString& filters);

// Writes `bytes` through the one atomic path; a failure is a message box
// with the system's reason ("cannot write 'FILE': No space left on device").
bool SaveFile(QWidget* parent, const QString& file, std::string_view bytes);

}  // namespace timer555
