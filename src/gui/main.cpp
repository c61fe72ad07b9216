// corvalent: the desktop workstation of the LCU engine data logger.
#include <memory>

#include <QApplication>
#include <QCoreApplication>

#include "gui/app/device_options.h"
#include "gui/app/main_frame.h"
#include "gui/app/program_identity.h"
#include "gui/app/program_services.h"
#include "gui/app/single_instance_lock.h"
#include "gui/app/tavrix_app.h"
#include "platform/host_file_system.h"

int main(int argc, char* argv[]) {
  lcu::gui::SetProgramIdentity();
  {
    // --help and --version answer before the window system is needed, so that they work
    // without a display (a terminal over ssh, a package build).
    const QCoreApplication noDisplay(argc, argv);
    lcu::gui::AnswerHelpAndVersion(QCoreApplication::arguments());
  }
  lcu::TreatFileSizeLimitAsWriteError();
  QApplication application(argc, argv);
  const lcu::program::ProgramOptions options = lcu::gui::ParseDeviceOptions(QApplication::arguments());

  // A second copy ends at once, without a window or a message of its own; it brings the
  // running copy's window to the front.
  lcu::gui::SingleInstanceLock lock;
  if (!lock.TryLock()) {
    lock.ActivateRunningCopy();
    return 0;
  }

  auto app = std::make_unique<lcu::gui::CTavrixApp>(lcu::gui::MakeProgramServices(options));
  if (!app->InitInstance()) return 0;
  lock.MarkMainWindow(*app->MainFrame());
  return QApplication::exec();
}
