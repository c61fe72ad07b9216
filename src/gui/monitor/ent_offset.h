// CEntOffset: "Zero channel(s)", which asks for the value the zeroed channels are to show.
// Text that is not a number is refused with a message and the dialog stays open.
#pragma once

#include <optional>
#include <string_view>

#include <QDialog>

class QLineEdit;

namespace lcu {
class Prompter;
}

namespace lcu::gui {

/// A number as the value box takes it: decimal or exponent notation with an optional sign
/// and blanks around it, independent of the locale; nullopt for anything else (also for an
/// empty box and for values beyond the float range).
std::optional<float> ParseFloatEntry(std::string_view text);

class CEntOffset : public QDialog {
  Q_OBJECT

 public:
  /// Opens showing value.
  explicit CEntOffset(Prompter& prompter, float value = 0.0F, QWidget* parent = nullptr);

  /// The value typed, once the dialog ended with OK.
  float m_fValue = 0.0F;

  QLineEdit& ValueBox() const { return *m_pEdit; }

  void accept() override;

 private:
  Prompter& m_prompter;
  QLineEdit* m_pEdit;
};

}  // namespace lcu::gui
