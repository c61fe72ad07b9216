#include "gui/logger/progress_dlg.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>

#include "core/app/transfer_progress.h"
#include "core/commands/stop_download.h"
#include "core/messages/messages.h"
#include "gui/app/centre_on_owner.h"
#include "gui/app/gui_texts.h"
#include "gui/app/logger_icon.h"
#include "gui/app/qt_text.h"

namespace lcu::gui {

ProgressDlg::ProgressDlg(LinkOwner& link, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_link(link),
      m_pProgress(new QProgressBar),
      m_pStop(new QPushButton(ToQString(text::kStopButton))),
      m_pFigures(new QLabel) {
  setModal(false);
  setWindowTitle(ToQString(text::kDownloadCaption));
  m_pProgress->setTextVisible(false);
  m_pProgress->setFixedSize(280, 16);

  auto* panel = new QFrame(this);
  panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  auto* icon = new QLabel(panel);
  icon->setPixmap(LoggerIcon());
  auto* grid = new QGridLayout(panel);
  grid->addWidget(icon, 0, 0, 3, 1, Qt::AlignTop);
  grid->addWidget(new QLabel(ToQString(msg::kDownloadingLogger), panel), 0, 1);
  m_pProgress->setParent(panel);
  grid->addWidget(m_pProgress, 1, 1);
  m_pFigures->setParent(panel);
  // Room for the longest figures, so that the window does not change size as they change.
  constexpr std::uint64_t kWideBytes = 9999ULL << 20;
  const TransferProgress wide{kWideBytes / 2, kWideBytes, std::chrono::hours(9)};
  m_pFigures->setMinimumWidth(m_pFigures->fontMetrics().horizontalAdvance(ToQString(TransferProgressText(wide))));
  grid->addWidget(m_pFigures, 2, 1);
  m_pStop->setParent(panel);
  m_pStop->setDefault(true);
  connect(m_pStop, &QPushButton::clicked, this, &ProgressDlg::OnStopDownload);
  grid->addWidget(m_pStop, 1, 2, Qt::AlignVCenter);
  grid->setHorizontalSpacing(16);
  grid->setContentsMargins(16, 10, 16, 12);

  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(panel);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void ProgressDlg::SetRange(int low, int high) { m_pProgress->setRange(low, high); }

void ProgressDlg::SetStep(int step) { m_nStep = step; }

void ProgressDlg::SetPos(int position) {
  if (position < m_pProgress->minimum()) {
    m_pProgress->reset();
  } else {
    m_pProgress->setValue(position);
  }
}

void ProgressDlg::StepIt() {
  const int next = m_pProgress->value() + m_nStep;
  SetPos(next > m_pProgress->maximum() ? m_pProgress->minimum() : next);
}

int ProgressDlg::Position() const { return m_pProgress->value(); }

void ProgressDlg::SetFigures(const QString& text) { m_pFigures->setText(text); }

QString ProgressDlg::Figures() const { return m_pFigures->text(); }

void ProgressDlg::OnStopDownload() { StopDownload(m_link); }

void ProgressDlg::reject() { OnStopDownload(); }

// The window manager's close asks to stop too; the download closes the window when it ends.
void ProgressDlg::closeEvent(QCloseEvent* event) {
  OnStopDownload();
  event->ignore();
}

void ProgressDlg::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_S && event->modifiers() == Qt::ControlModifier) {
    OnStopDownload();
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void ProgressDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  CentreOnOwner(*this);
}

}  // namespace lcu::gui
