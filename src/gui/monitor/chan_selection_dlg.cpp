#include "gui/monitor/chan_selection_dlg.h"

#include <algorithm>

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

#include "gui/app/gui_texts.h"
#include "gui/app/qt_text.h"

namespace lcu::gui {

namespace {
constexpr int kListWidth = 480;
constexpr int kListHeight = 300;
}  // namespace

CChanSelectionDlg::CChanSelectionDlg(const AppState& app, std::span<const std::uint16_t> channels, QWidget* parent)
    : QDialog(parent), m_app(app), m_checkList(new QListWidget(this)) {
  setWindowTitle(ToQString(text::kActiveChannelsCaption));
  const std::size_t count = std::min(channels.size(), m_channels.size());
  std::copy_n(channels.begin(), count, m_channels.begin());
  m_nChannels = static_cast<std::int32_t>(count);

  // Names in columns, filled top to bottom and scrolled sideways, like a multi-column
  // check list; each column as wide as its longest name, so that no name is cut.
  m_checkList->setViewMode(QListView::ListMode);
  m_checkList->setFlow(QListView::TopToBottom);
  m_checkList->setWrapping(true);
  m_checkList->setResizeMode(QListView::Adjust);
  m_checkList->setSelectionMode(QAbstractItemView::ExtendedSelection);
  m_checkList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  m_checkList->setMinimumSize(kListWidth, kListHeight);

  for (const std::int32_t channel : app.m_availableChannels) {
    if (channel == kNoChannel) break;
    auto* item = new QListWidgetItem(ToQString(app.m_channelTable[static_cast<std::size_t>(channel)].NameText()),
                                     m_checkList);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
  }
  for (std::size_t i = 0; i < count; ++i) {
    const auto* end = app.m_availableChannels.begin() + m_checkList->count();
    const auto* found = std::find(app.m_availableChannels.begin(), end, static_cast<std::int32_t>(m_channels[i]));
    if (found != end) m_checkList->item(static_cast<int>(found - app.m_availableChannels.begin()))->setCheckState(Qt::Checked);
  }

  auto* label = new QLabel(ToQString(text::kAvailableChannelsLabel), this);
  label->setBuddy(m_checkList);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &CChanSelectionDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label);
  layout->addWidget(m_checkList, 1);
  layout->addWidget(buttons);
}

void CChanSelectionDlg::accept() {
  std::size_t taken = 0;
  for (int j = 0; j < m_checkList->count() && taken < m_channels.size(); ++j) {
    if (m_checkList->item(j)->checkState() != Qt::Checked) continue;
    m_channels[taken++] = static_cast<std::uint16_t>(m_app.m_availableChannels[static_cast<std::size_t>(j)]);
  }
  m_nChannels = static_cast<std::int32_t>(taken);
  if (taken < m_channels.size()) m_channels[taken] = 0;
  QDialog::accept();
}

}  // namespace lcu::gui
