// ChildView: what a child frame tells the view it holds. A view that cares (the memory
// window, whose address bar follows its frame's show state) implements it; monitor views
// do not.
#pragma once

namespace lcu::gui {

/// Show commands of a frame, as window placements carry them.
inline constexpr int kFrameShowNormal = 1;
inline constexpr int kFrameShowMinimized = 2;
inline constexpr int kFrameShowMaximized = 3;

class ChildView {
 public:
  virtual ~ChildView() = default;
  /// The frame's size, position or minimized/maximized state changed; showCmd is its
  /// show command now.
  virtual void OnFrameShowState(int showCmd) = 0;
};

}  // namespace lcu::gui
