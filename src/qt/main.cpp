// orvane: the drill in its window. The speech engine starts first, on its own thread, and the
// window is built meanwhile. Start-up runs before the window is shown, as the first prompt is
// handed to speech and any start-up failure is reported first.
#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPixmap>
#include <QScreen>
#include <QTranslator>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <optional>

#include "app/dispatcher.hpp"
#include "app/logging_speech.hpp"
#include "app/session.hpp"
#include "app/transcript.hpp"
#include "qt/fonts.hpp"
#include "qt/main_window.hpp"
#include "qt/qt_platform.hpp"
#include "speech/speech_engine.hpp"

namespace {
constexpr const char* kUsage =
    "usage: orvane [FILE.dat | --help | --version | --show-error MESSAGE]\n"
    "Starts the drill in its window, in the current folder: the questions of FILE.dat, or of\n"
    "toi.dat, and the voices of speech.ini and settings of settings.ini found there. See the\n"
    "manual page orvane(1).\n"
    "  --show-error MESSAGE  only show MESSAGE in an error box (for the menu's launcher)\n";

// The launcher's failures, shown where a user who started the drill from the menu sees them.
int showError(int argc, char** argv, const char* message) {
  QApplication app(argc, argv);
  QMessageBox::critical(nullptr, QStringLiteral("Orvane"), QString::fromUtf8(message));
  return 1;
}
}  // namespace

int main(int argc, char** argv) {
  // Options are answered before anything else: no window, no display, no file touched.
  // Single-dash arguments are Qt's own (-platform, -display).
  if (argc > 1 && std::strncmp(argv[1], "--", 2) == 0) {
    const std::string option = argv[1];
    if (option == "--help" && argc == 2) {
      std::cout << kUsage;
      return std::cout.flush() ? 0 : 1;
    }
    if (option == "--version" && argc == 2) {
      std::cout << "orvane " << ORVANE_VERSION << '\n';
      return std::cout.flush() ? 0 : 1;
    }
    if (option == "--show-error" && argc == 3) {
      int qtArgc = 1;
      return showError(qtArgc, argv, argv[2]);
    }
    std::cerr << "orvane: unknown option or wrong arguments: " << option << '\n' << kUsage;
    return 2;
  }
  // The voices start on the engine's own thread and the fonts' settings load on another while
  // Qt starts and the window is built.
  std::thread fonts = orvane::qt::loadFontConfiguration();
  orvane::SpeechEngine engine;
  QApplication app(argc, argv);
  fonts.join();
  app.setApplicationName("orvane");
  // From a pixmap: an icon made from a file name first looks through Qt's icon plugins.
  app.setWindowIcon(QIcon(QPixmap(":/orvane/orvane.png")));
  orvane::qt::registerFontSubstitutes();
  // The program speaks Japanese to its user: Qt's own dialogs and buttons too, whatever the
  // desktop's language.
  QTranslator qtTexts;
  if (qtTexts.load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                   QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(&qtTexts);
  }

  // ORVANE_TRANSCRIPT names a file that receives the event lines orvane-sim prints, so a test
  // can hold the window and the headless runner side by side.
  const char* transcriptPath = std::getenv("ORVANE_TRANSCRIPT");
  orvane::qt::QtPlatform platform(transcriptPath ? transcriptPath : "");

  // Only a transcript needs every utterance written out.
  std::optional<orvane::LoggingSpeech> logging;
  if (transcriptPath) {
    logging.emplace(engine,
                    [&](const orvane::Utterance& u) { platform.log(orvane::transcript::say(u)); });
  }
  orvane::SpeechControl& speech = logging ? static_cast<orvane::SpeechControl&>(*logging) : engine;

  orvane::Session session(speech, platform);
  // A lesson named on the command line (the file manager's "Open with") instead of toi.dat;
  // Qt has taken its own options out of the arguments by now.
  const QStringList arguments = QApplication::arguments();
  if (arguments.size() > 2) {
    std::cerr << "orvane: one question file at most\n" << kUsage;
    return 2;
  }
  if (arguments.size() == 2) {
    session.startFilePath = arguments[1].toStdString();
    session.startFileGiven = true;
  }
  orvane::Dispatcher dispatcher(session);
  orvane::qt::MainWindow window(session, dispatcher);
  platform.attach(&window);
  window.setOnFinished([&] { platform.log("exit"); });

  dispatcher.startUp();
  if (dispatcher.finished()) {
    platform.log("exit");
    return 0;
  }
  window.sync();
  window.adjustSize();
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    window.move(screen->availableGeometry().center() - window.rect().center());
  }
  window.show();
  window.activateWindow();
  return app.exec();
}
