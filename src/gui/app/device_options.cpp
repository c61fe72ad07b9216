#include "device_options.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

#include "app/messages.h"
#include "gui/app/gui_texts.h"
#include "gui/app/qt_text.h"
#include "sim/lcu_simulator.h"

namespace lcu::gui {

DeviceOptions ParseDeviceOptions(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.addHelpOption();
  parser.addVersionOption();
  const QCommandLineOption simulate(ToQString(text::kSimulateOption), ToQString(text::kSimulateHelp));
  const QCommandLineOption simState(ToQString(text::kSimStateOption), ToQString(text::kSimStateHelp),
                                    ToQString(text::kSimStateValue));
  parser.addOption(simulate);
  parser.addOption(simState);
  parser.process(arguments);

  DeviceOptions options;
  options.simulate = parser.isSet(simulate);
  options.simState = parser.value(simState);
  return options;
}

BackendChoice OpenBackend(const DeviceOptions& options) {
  BackendChoice choice;
  if (options.simulate || !options.simState.isEmpty()) {
    sim::SimulatorOptions simOptions;
    if (!options.simState.isEmpty()) simOptions.stateDir = options.simState.toStdString();
    auto simulator = std::make_unique<sim::LcuSimulator>(simOptions);
    if (simulator->Ok()) {
      choice.backend = std::move(simulator);
      return choice;
    }
    choice.problem = simulator->Error();
  } else {
    // The real LCU's backend belongs here once this build has one.
    choice.problem = msg::kNoUsbBackend;
  }
  choice.backend = std::make_unique<NoLcuBackend>();
  return choice;
}

}  // namespace lcu::gui
