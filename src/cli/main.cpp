#include <stdlib.h>

#include <QGuiApplication>
#include <csignal>
#include <filesystem>
#include <iostream>
#include <string>

#include "cli/cli.h"
#include "cli/cli_simulate.h"
#include "render/qt_canvas.h"

namespace {

// Qt's notes about the session (no runtime directory on a bare shell) are not
// the user's business; everything else goes to standard error as usual.
void QuietMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.startsWith(QLatin1String("QStandardPaths:"))) return;
  std::cerr << qPrintable(qFormatLogMessage(type, context, message)) << "\n";
}

// Qt wants a runtime directory; where the session has none, a private one
// lives as long as the run instead of a /tmp/runtime-USER left behind.
class RuntimeDirectory {
 public:
  RuntimeDirectory() {
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) return;
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/timer555-cli-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) return;
    path_ = pattern;
    setenv("XDG_RUNTIME_DIR", path_.c_str(), 1);
  }
  ~RuntimeDirectory() {
    if (path_.empty()) return;
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  RuntimeDirectory(const RuntimeDirectory&) = delete;
  RuntimeDirectory& operator=(const RuntimeDirectory&) = delete;

 private:
  std::string path_;
};

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
    const RuntimeDirectory runtime;
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
