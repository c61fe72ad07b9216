// MemoryTableModel: the rows of the memory window's document, one LCU byte per row: its
// address and the byte as decimal, hexadecimal, character and binary text. The addresses
// are set when the document's run changes; each read rewrites the other four columns and
// tells the view once. Bytes that are no longer live (the LCU off line, the link held by a
// download, a failed read) are shown greyed, with the time of their reading in the cells'
// tooltips, until the next read.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include <QAbstractTableModel>
#include <QString>
#include <QTimer>

#include "core/app/command_context.h"
#include "core/memory/memory_document.h"
#include "core/memory/memory_row.h"

namespace lcu::gui {

enum MemoryColumn : int {
  kAddrColumn = 0,
  kDecColumn,
  kHexColumn,
  kAsciiColumn,
  kBinaryColumn,
  kMemoryColumnCount,
};

class MemoryTableModel final : public QAbstractTableModel, private MemoryDocumentObserver {
  Q_OBJECT

 public:
  /// Observes the document until it goes; the rows start as the document's run. The
  /// context's link and clock tell whether the bytes are live.
  MemoryTableModel(MemoryDocument& document, const CommandContext& ctx, QObject* parent = nullptr);
  ~MemoryTableModel() override;
  MemoryTableModel(const MemoryTableModel&) = delete;
  MemoryTableModel& operator=(const MemoryTableModel&) = delete;

  /// The Addr text of a row as shown.
  const QString& AddressText(int row) const { return m_rows[static_cast<std::size_t>(row)][kAddrColumn]; }

  /// Whether the bytes shown are live; false while none are shown.
  bool IsLive() const { return m_bLive; }
  /// Looks again whether the bytes are live and tells the view when that changed; a timer
  /// of the model calls it.
  void CheckLive();
  /// While bytes are shown but not live: when they were read and how long ago; else empty.
  QString StaleText() const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

 private:
  /// One row per address of the run; only the Addr cells are filled.
  void OnRunChanged(const MemoryDocument& document) override;
  /// Writes the Dec, Hex, ASCII and Binary cells of the rows that have a row of texts (in
  /// row order); the Addr cells stay as they are. One dataChanged covers them all.
  void OnRowsRead(const MemoryDocument& document) override;

  bool LiveNow() const;
  void SignalLive();

  using Row = std::array<QString, kMemoryColumnCount>;
  MemoryDocument& m_document;
  const CommandContext& m_ctx;
  std::vector<Row> m_rows;
  bool m_bLive = false;
  QTimer m_liveCheck;
};

}  // namespace lcu::gui
