// The system's texts are 8-bit strings kept as std::string_view; Qt wants QString.
#pragma once

#include <string>
#include <string_view>

#include <QFile>
#include <QString>

namespace lcu::gui {

inline QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string ToStdString(const QString& text) { return text.toUtf8().toStdString(); }

// Paths go to the core and the settings in the file system's own encoding, not as UTF-8 text.
// On Windows that is UTF-8 whatever the system's code page: the native file layer and the
// registry store turn it into the system's UTF-16.
#ifdef Q_OS_WIN
inline QString PathFromStore(const std::string& path) { return ToQString(path); }
inline std::string PathToStore(const QString& path) { return ToStdString(path); }
#else
inline QString PathFromStore(const std::string& path) { return QFile::decodeName(path.c_str()); }
inline std::string PathToStore(const QString& path) { return QFile::encodeName(path).toStdString(); }
#endif

}  // namespace lcu::gui
