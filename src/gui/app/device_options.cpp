#include "gui/app/device_options.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

#include "gui/app/gui_texts.h"
#include "gui/app/qt_text.h"

namespace lcu::gui {

namespace {

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
