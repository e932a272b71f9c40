#include <QGuiApplication>
#include <iostream>

#include "cli/cli.h"
#include "render/qt_canvas.h"

namespace {

// Qt's notes about the session (no runtime directory on a bare shell) are not
// the user's business; everything else goes to standard error as usual.
void QuietMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.startsWith(QLatin1String("QStandardPaths:"))) return;
  std::cerr << qPrintable(qFormatLogMessage(type, context, message)) << "\n";
}

}  // namespace

int main(int argc, char** argv) {
  qInstallMessageHandler(QuietMessages);
  // Text is measured with the fonts the window uses, which needs a GUI
  // application but no display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  timer555::FontConfigurationLoader fonts;
  QGuiApplication app(argc, argv);
  timer555::InstallFontSubstitutions();
  fonts.Wait();
  std::vector<std::string> args(argv + 1, argv + argc);
  return static_cast<int>(timer555::RunCli(args, std::cout, std::cerr));
}
