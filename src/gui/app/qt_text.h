// The system's texts are 8-bit strings kept as std::string_view; Qt wants QString.
#pragma once

#include <string>
#include <string_view>

#include <QString>

namespace lcu::gui {

inline QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string ToStdString(const QString& text) { return text.toUtf8().toStdString(); }

}  // namespace lcu::gui
