#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <QGuiApplication>
#include <csignal>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>

#include "cli/cli.h"
#include "cli/cli_simulate.h"
#include "cli/output.h"
#include "components/standard_output.h"
#include "components/temporary_directory.h"
#include "render/qt_canvas.h"

namespace {

// Qt's notes about the session (no runtime directory on a bare shell) are not
// the user's business; everything else goes to standard error as usual.
void QuietMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.startsWith(QLatin1String("QStandardPaths:"))) return;
  std::cerr << qPrintable(qFormatLogMessage(type, context, message)) << "\n";
}

// The private runtime folder, for the signal handler: a signal that ends a
// command (but simulate, which ends itself) removes it first. rmdir is safe in
// a handler; the folder holds nothing the offscreen platform writes.
char gRuntime[4096] = {};

extern "C" void RemoveRuntimeAndEnd(int signal) {
  if (gRuntime[0] != '\0') rmdir(gRuntime);
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

void RemoveRuntimeOnSignals(const std::string& path) {
  if (path.empty() || path.size() >= sizeof gRuntime) return;
  std::memcpy(gRuntime, path.c_str(), path.size() + 1);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction old {};
    sigaction(signal, nullptr, &old);
    if (old.sa_handler == SIG_IGN) continue;  // a background job's SIGINT stays ignored
    struct sigaction action {};
    action.sa_handler = RemoveRuntimeAndEnd;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
  }
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
      // Before any thread starts: nothing reads the environment meanwhile.
      if (!runtime->Path().empty())
        setenv("XDG_RUNTIME_DIR", runtime->Path().c_str(), 1);  // NOLINT(concurrency-mt-unsafe)
      RemoveRuntimeOnSignals(runtime->Path());
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
  // An answer that did not reach standard output is a failure, not a success.
  if (const auto failure = timer555::StandardOutputFailure()) {
    std::cerr << timer555::kProgram << ": error: " << *failure << "\n";
    if (status == 0) status = 1;
  }
  // Interrupted: ended by the same signal, now that nothing is left behind.
  if (const int signal = timer555::InterruptingSignal()) {
    std::signal(signal, SIG_DFL);
    std::raise(signal);
  }
  return status;
}
