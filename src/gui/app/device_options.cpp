#include "gui/app/device_options.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

#include "gui/app/gui_texts.h"
#include "gui/app/qt_text.h"

#ifdef Q_OS_WIN
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include <QCoreApplication>
#endif

namespace lcu::gui {

namespace {

#ifdef Q_OS_WIN
// On Windows the desktop program belongs to the window system and has no console of its
// own, and Qt shows its answers to --help and --version in a message box unless the program
// was started with the output handles in its start-up information. They go to the output
// the program was given (a pipe, a file) or else to the console of the command prompt it
// was started from; only a program started from neither (a shortcut) shows the box.
bool OpenOutputForAnswers() {
  const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  if (out != nullptr && out != INVALID_HANDLE_VALUE) return true;
  if (!AttachConsole(ATTACH_PARENT_PROCESS)) return false;
  FILE* console = nullptr;
  return freopen_s(&console, "CONOUT$", "w", stdout) == 0;
}
#endif

// The desktop program's command line: the device options, --help and --version.
struct OptionParser {
  QCommandLineParser parser;
  const QCommandLineOption help = parser.addHelpOption();
  const QCommandLineOption version = parser.addVersionOption();
  const QCommandLineOption simulate{ToQString(text::kSimulateOption), ToQString(text::kSimulateHelp)};
  const QCommandLineOption simState{ToQString(text::kSimStateOption), ToQString(text::kSimStateHelp),
                                    ToQString(text::kSimStateValue)};
  const QCommandLineOption record{ToQString(text::kRecordOption), ToQString(text::kRecordHelp),
                                  ToQString(text::kRecordValue)};
  const QCommandLineOption replay{ToQString(text::kReplayOption), ToQString(text::kReplayHelp),
                                  ToQString(text::kReplayValue)};

  OptionParser() {
    parser.setApplicationDescription(ToQString(text::kProgramDescription));
    parser.addOption(simulate);
    parser.addOption(simState);
    parser.addOption(record);
    parser.addOption(replay);
  }
};

}  // namespace

void AnswerHelpAndVersion(const QStringList& arguments) {
  OptionParser options;
  // The window system's own options (-platform, -stylesheet, -reverse) are unknown here and
  // left for the application object; read as words, none of them passes for -h or -v.
  options.parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  options.parser.parse(arguments);
#ifdef Q_OS_WIN
  const bool help = options.parser.isSet(options.help);
  if ((help || options.parser.isSet(options.version)) && OpenOutputForAnswers()) {
    // The same texts as showHelp and showVersion print.
    const QString text = help ? options.parser.helpText()
                              : QCoreApplication::applicationName() + QLatin1Char(' ') +
                                    QCoreApplication::applicationVersion() + QLatin1Char('\n');
    std::fputs(qPrintable(text), stdout);
    std::fflush(stdout);
    std::exit(0);
  }
#endif
  if (options.parser.isSet(options.help)) options.parser.showHelp(0);
  if (options.parser.isSet(options.version)) options.parser.showVersion();
}

program::ProgramOptions ParseDeviceOptions(const QStringList& arguments) {
  OptionParser parsed;
  parsed.parser.process(arguments);

  program::ProgramOptions options;
  options.simulate = parsed.parser.isSet(parsed.simulate);
  options.simState = ToStdString(parsed.parser.value(parsed.simState));
  options.record = ToStdString(parsed.parser.value(parsed.record));
  options.replay = ToStdString(parsed.parser.value(parsed.replay));
  options.faults = program::FaultsFromEnvironment();
  return options;
}

}  // namespace lcu::gui
