#include "gui/logger/lcu_check_dlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/app/gui_texts.h"
#include "gui/app/qt_text.h"

namespace lcu::gui {

namespace {

constexpr int kMarkerSize = 14;
constexpr int kTextWidth = 460;
constexpr int kColumnSpacing = 10;

QPixmap Marker(CheckLevel level, qreal scale) {
  QPixmap pixmap(QSize(kMarkerSize, kMarkerSize) * scale);
  pixmap.setDevicePixelRatio(scale);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(LcuCheckDlg::LevelColour(level).darker(130), 1));
  painter.setBrush(LcuCheckDlg::LevelColour(level));
  painter.drawEllipse(QRectF(1, 1, kMarkerSize - 2, kMarkerSize - 2));
  return pixmap;
}

std::string_view SummaryOf(CheckLevel worst) {
  switch (worst) {
    case CheckLevel::kOk: return text::kLcuCheckAllOk;
    case CheckLevel::kWarning: return text::kLcuCheckWarnings;
    case CheckLevel::kError: return text::kLcuCheckErrors;
  }
  return {};
}

}  // namespace

LcuCheckDlg::LcuCheckDlg(const std::vector<PreflightLine>& lines, QWidget* parent) : QDialog(parent) {
  setWindowTitle(ToQString(text::kLcuCheckCaption));
  m_summary = new QLabel(this);
  QFont bold = m_summary->font();
  bold.setBold(true);
  m_summary->setFont(bold);
  // As wide as the rows: a long summary (the off-line one) wraps instead of widening them.
  m_summary->setWordWrap(true);
  m_summary->setFixedWidth(kMarkerSize + kColumnSpacing + kTextWidth);

  m_rows = new QWidget(this);
  m_grid = new QGridLayout(m_rows);
  m_grid->setContentsMargins(0, 0, 0, 0);
  m_grid->setHorizontalSpacing(kColumnSpacing);
  m_grid->setVerticalSpacing(8);
  m_grid->setColumnStretch(1, 1);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  m_checkAgain = buttons->addButton(ToQString(text::kCheckAgainButton), QDialogButtonBox::ActionRole);
  m_checkAgain->setAutoDefault(false);
  connect(m_checkAgain, &QPushButton::clicked, this, &LcuCheckDlg::checkAgain);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_summary);
  layout->addWidget(m_rows);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  SetLines(lines);
}

void LcuCheckDlg::SetLines(const std::vector<PreflightLine>& lines) {
  while (QLayoutItem* item = m_grid->takeAt(0)) {
    delete item->widget();
    delete item;
  }
  m_bStale = false;
  m_rows->setEnabled(true);
  m_checkAgain->setEnabled(true);
  m_summary->setText(ToQString(SummaryOf(WorstLevel(lines))));
  const qreal scale = devicePixelRatioF();
  int row = 0;
  for (const PreflightLine& line : lines) {
    auto* marker = new QLabel(this);
    marker->setPixmap(Marker(line.level, scale));
    marker->setAccessibleName(ToQString(LevelName(line.level)));
    marker->setProperty("level", static_cast<int>(line.level));
    marker->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    auto* text = new QLabel(ToQString(line.text), this);
    text->setTextFormat(Qt::PlainText);  // texts from the LCU and from files are never markup
    text->setWordWrap(true);
    text->setFixedWidth(kTextWidth);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_grid->addWidget(marker, row, 0);
    m_grid->addWidget(text, row, 1);
    ++row;
    if (line.action.empty()) continue;
    auto* action = new QLabel(ToQString(text::kLcuCheckActionLead) + ToQString(line.action), this);
    action->setTextFormat(Qt::PlainText);
    action->setWordWrap(true);
    action->setFixedWidth(kTextWidth);
    // Quieter than the line it belongs to, and greyed like it when the lines are stale.
    QPalette quiet = action->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
      quiet.setColor(group, QPalette::WindowText, quiet.color(group, QPalette::PlaceholderText));
    action->setPalette(quiet);
    QFont italic = action->font();
    italic.setItalic(true);
    action->setFont(italic);
    m_grid->addWidget(action, row, 1);
    ++row;
  }
}

// A disabled label draws its text in the palette's disabled colour and its pixmap greyed by
// the style, so the markers lose their colours with the texts.
void LcuCheckDlg::SetStale(const QString& since) {
  m_bStale = true;
  m_rows->setEnabled(false);
  m_checkAgain->setEnabled(false);
  m_summary->setText(ToQString(text::kLcuCheckStale).arg(since));
}

QColor LcuCheckDlg::LevelColour(CheckLevel level) {
  switch (level) {
    case CheckLevel::kOk: return QColor(0x2E, 0x9D, 0x3A);
    case CheckLevel::kWarning: return QColor(0xE8, 0xA0, 0x00);
    case CheckLevel::kError: return QColor(0xD0, 0x30, 0x30);
  }
  return Qt::gray;
}

}  // namespace lcu::gui
