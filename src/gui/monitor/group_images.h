// The seven pictures of the channel groups that a monitor row shows beside its channel
// number, in the order of GetChannelImage's indexes.
#pragma once

#include <QIcon>

namespace lcu::gui {

inline constexpr int kGroupImageCount = 7;

/// The picture of an image index; an index out of range gives the first picture.
const QIcon& GroupImage(int index);

}  // namespace lcu::gui
