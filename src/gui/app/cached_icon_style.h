// CachedIconStyle: the application's style with its standard icons made once. The built-in
// styles build a new icon, decoding its pictures again, on every standardIcon call, and
// every child window's frame asks for four of them (the icons of its system menu), so that
// restoring a layout of many monitor windows spent much of its time decoding the same few
// pictures. Everything else is the style the program would have had.
#pragma once

#include <QHash>
#include <QIcon>
#include <QProxyStyle>

namespace lcu::gui {

class CachedIconStyle : public QProxyStyle {
  Q_OBJECT

 public:
  /// Wraps base, which it then owns.
  explicit CachedIconStyle(QStyle* base);

  /// Puts a CachedIconStyle around the application's style unless it already has one.
  static void Install();

  QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption* option = nullptr,
                     const QWidget* widget = nullptr) const override;

 private:
  // By icon and the application's layout direction, all that an icon without a style
  // option depends on.
  mutable QHash<int, QIcon> m_icons;
};

}  // namespace lcu::gui
