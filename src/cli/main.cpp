#include <stdlib.h>

#include <QGuiApplication>
#include <csignal>
#include <iostream>
#include <optional>
#include <string>

#include "cli/cli.h"
#include "cli/cli_simulate.h"
#include "components/temporary_directory.h"
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
  // A write past the file-size limit fails with its error instead of ending the run.
  std::signal(SIGXFSZ, SIG_IGN);
  int status = 0;
  {
    // Qt wants a runtime directory; where the session has none, a private one
    // lives as long as the run instead of a /tmp/runtime-USER left behind.
    std::optional<timer555::TemporaryDirectory> runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
      runtime.emplace("timer555-cli");
      if (!runtime->Path().empty()) setenv("XDG_RUNTIME_DIR", runtime->Path().c_str(), 1);
    }
    timer555::FontConfigurationLoader fonts;
    // The arguments are the command's alone: Qt sees only the program's name,
    // so -platform, -reverse and the like are not taken out of them.
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    QGuiApplication app(qtArgc, qtArgv);
    timer555::InstallFontSubstitutions();
    fonts.Wait();
    std::vector<std::string> args(argv + 1, argv + argc);
    status = static_cast<int>(timer555::RunCli(args, std::cout, std::cerr));
  }
  // Interrupted: ended by the same signal, now that nothing is left behind.
  if (const int signal = timer555::InterruptingSignal()) {
    std::signal(signal, SIG_DFL);
    std::raise(signal);
  }
  return status;
}
