// CTavrixDoc: the one document every monitor and memory window hangs off. It has no data and
// no file of its own, and lives as long as the program, also when its last window closes.
#pragma once

#include <QObject>

namespace lcu::gui {

class CTavrixDoc : public QObject {
  Q_OBJECT

 public:
  using QObject::QObject;
};

}  // namespace lcu::gui
