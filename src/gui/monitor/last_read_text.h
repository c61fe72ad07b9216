// The note a window carries while its values are not live: when they were read and how long
// ago ("last read 14:02:11, 55 s ago"), so that a technician never takes an old value for the
// engine's state now. It is in the value cells' tooltips and, in a monitor window, in the
// list's bottom corner, where it is seen also while a download's progress dialog keeps the
// pointer from the window.
#pragma once

#include <cstdint>
#include <optional>

#include <QRect>
#include <QString>

class QPainter;
class QWidget;

#include "core/app/command_context.h"
#include "core/host/clock.h"

namespace lcu::gui {

/// The note for a value read at the local time read, seconds ago.
QString LastReadText(const LocalTime& read, std::int64_t seconds);

/// Whether values taken at takenAt (none: no values yet) are live now, by ctx's clock and link.
bool AreReadingsLive(const CommandContext& ctx, std::optional<Clock::TimePoint> takenAt);
/// A window's note for its values taken at takenAt, at the local time read: empty while they
/// are live or when it has none.
QString StaleNote(const CommandContext& ctx, bool live, bool hasValues, std::optional<Clock::TimePoint> takenAt,
                  const LocalTime& read);

/// The strip along the bottom of a list's viewport that the note is drawn in.
QRect LastReadNoteStrip(const QWidget& viewport);
/// Draws the note at the bottom right of a list's viewport; nothing for an empty note.
void PaintLastReadNote(QPainter& painter, const QWidget& viewport, const QString& note);

}  // namespace lcu::gui
