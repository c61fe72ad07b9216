// CChildFrame: the frame of every child window of the main window. It carries a window name
// given by the user (or by New Window, a settings file, the memory command) and shows it
// as its caption, so the many windows on the one shared document can be told apart. Its
// Window Name and Close commands come from the monitor view's right-click menu.
#pragma once

#include <QMdiSubWindow>
#include <QRect>
#include <QString>

namespace lcu::gui {

class GuiPrompter;

/// Longest window name, in bytes of its UTF-8 text (the settings file's limit).
inline constexpr int kWindowNameLimit = 79;

class CChildFrame : public QMdiSubWindow {
  Q_OBJECT

 public:
  /// The frame starts named "Untitled"; it deletes itself when closed.
  explicit CChildFrame(GuiPrompter& prompter, QWidget* parent = nullptr);

  /// The name; longer names are cut to 79 bytes, never inside a character. The caption
  /// follows at the next caption update.
  void SetWindowName(const QString& name);
  const QString& WindowName() const { return m_szWindowName; }

  /// The caption update: the caption becomes the window name when it differs.
  void OnUpdateFrameTitle();

  /// The show command of the frame's state: minimized 2, maximized 3, otherwise 1.
  int ShowCommand() const;
  /// The frame's rectangle in its normal state, also while it is minimized or maximized.
  QRect NormalGeometry() const;

 public slots:
  /// Asks for a new name ("Enter window name"); OK renames the window at once.
  void OnWindowName();
  /// Destroys the frame at once, without a close request.
  void OnClose();

 protected:
  void changeEvent(QEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void TellViewShowState();

  GuiPrompter& m_prompter;
  QString m_szWindowName;
  QRect m_normalGeometry;
};

}  // namespace lcu::gui
