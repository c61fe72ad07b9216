#include "gui/monitor/chan_selection_dlg.h"

#include <algorithm>

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

#include "core/monitor/monitor_row.h"
#include "gui/app/gui_texts.h"
#include "gui/app/qt_text.h"

namespace lcu::gui {

namespace {
constexpr int kListWidth = 480;
constexpr int kListHeight = 300;
// Where an item keeps its channel number and its name, for the filter.
constexpr int kChannelRole = Qt::UserRole;
constexpr int kNameRole = Qt::UserRole + 1;

QString ChoiceText(const ChannelDefinition& definition, std::uint16_t channel) {
  const QString name = ToQString(definition.NameText());
  const QString units = ToQString(definition.UnitsText());
  const QString numbered = ToQString(text::kChannelChoice).arg(ToQString(FormatIdCell(channel)), name);
  return units.isEmpty() ? numbered : ToQString(text::kChannelChoiceUnits).arg(numbered, units);
}
}  // namespace

bool CChanSelectionDlg::MatchesFilter(std::uint16_t channel, const QString& name, const QString& filter) {
  const QString wanted = filter.trimmed();
  if (wanted.isEmpty() || name.contains(wanted, Qt::CaseInsensitive)) return true;
  bool number = false;
  wanted.toUInt(&number);
  return number && (QString::number(channel).startsWith(wanted) || ToQString(FormatIdCell(channel)).startsWith(wanted));
}

CChanSelectionDlg::CChanSelectionDlg(const AppState& app, std::span<const std::uint16_t> channels, QWidget* parent)
    : QDialog(parent), m_app(app), m_filter(new QLineEdit(this)), m_checkList(new QListWidget(this)) {
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
  m_checkList->setTextElideMode(Qt::ElideNone);

  for (const std::int32_t channel : app.m_availableChannels) {
    if (channel == kNoChannel) break;
    const auto number = static_cast<std::uint16_t>(channel);
    const ChannelDefinition& definition = app.m_channelTable[number];
    auto* item = new QListWidgetItem(ChoiceText(definition, number), m_checkList);
    item->setData(kChannelRole, number);
    item->setData(kNameRole, ToQString(definition.NameText()));
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
  }
  for (std::size_t i = 0; i < count; ++i) {
    const auto* end = app.m_availableChannels.begin() + m_checkList->count();
    const auto* found = std::find(app.m_availableChannels.begin(), end, static_cast<std::int32_t>(m_channels[i]));
    if (found != end)
      m_checkList->item(static_cast<int>(found - app.m_availableChannels.begin()))->setCheckState(Qt::Checked);
  }

  auto* filterLabel = new QLabel(ToQString(text::kChannelFilterLabel), this);
  filterLabel->setBuddy(m_filter);
  m_filter->setPlaceholderText(ToQString(text::kChannelFilterPlaceholder));
  m_filter->setClearButtonEnabled(true);
  connect(m_filter, &QLineEdit::textChanged, this, &CChanSelectionDlg::ApplyFilter);
  auto* filterRow = new QHBoxLayout;
  filterRow->addWidget(filterLabel);
  filterRow->addWidget(m_filter, 1);
  auto* label = new QLabel(ToQString(text::kAvailableChannelsLabel), this);
  label->setBuddy(m_checkList);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &CChanSelectionDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(filterRow);
  layout->addWidget(label);
  layout->addWidget(m_checkList, 1);
  layout->addWidget(buttons);
  // Typing goes to the filter at once.
  m_filter->setFocus();
}

void CChanSelectionDlg::ApplyFilter(const QString& filter) {
  for (int j = 0; j < m_checkList->count(); ++j) {
    QListWidgetItem* item = m_checkList->item(j);
    item->setHidden(!MatchesFilter(static_cast<std::uint16_t>(item->data(kChannelRole).toUInt()),
                                   item->data(kNameRole).toString(), filter));
  }
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
