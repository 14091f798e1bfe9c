// vantor: the RW4000 service and commissioning window.
#include <QApplication>
#include <QMessageBox>
#include <csignal>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "app/data_dir.h"
#include "app/main_window_logic.h"
#include "app/window_options.h"
#include "platform/default_data_dir.h"
#include "platform/file_size_signal.h"
#include "platform/qt_seams.h"
#include "ui/stop_signals.h"
#include "ui/tqxvantor.h"

using namespace vantor;

int main(int argc, char** argv) {
  // The usage needs no display: answer it before Qt looks for one.
  for (int i = 1; i < argc; ++i) {
    const std::string word = argv[i];
    if (word == "--help" || word == "-h") {
      std::fputs(kWindowUsage, stdout);
      return 0;
    }
  }
  QApplication app(argc, argv);  // takes Qt's own options (-platform, ...) out of argv
  reportOversizeWritesAsErrors();
  const std::vector<std::string> words(argv + 1, argv + argc);
  const WindowOptionsParse parsed = parseWindowOptions(words);
  if (!parsed.options) {
    std::fprintf(stderr, "vantor: %s\n%s", parsed.error.c_str(), kWindowUsage);
    return 2;
  }
  const WindowOptions& o = *parsed.options;
  WindowStart start{o.dataDir ? withTrailingSlash(*o.dataDir) : defaultDataDir(), o.host};

  // An exception during start-up or escaping the loop is shown, and the
  // program then ends with result 0.
  try {
    QtSeams seams;
    TQXVantor window(seams, start);
    window.show();
    StopSignals stop({SIGTERM, SIGINT});
    QObject::connect(&stop, &StopSignals::received, &window, [&window] { window.close(); });
    return QApplication::exec();
  } catch (const std::exception& e) {
    QMessageBox::critical(nullptr, QString::fromUtf8(kWindowCaption),
                          QString::fromStdString(e.what()));
  }
  return 0;
}
