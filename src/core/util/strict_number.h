// Reading a number that must be written as exactly that: command-line arguments, settings the
// programs read as numbers, dialog fields, the simulator's fault plan and transcript fields.
// The whole text is the number; anything else refuses it. (The settings and dialog texts that
// the programs read leniently, digits up to the first other character, go through
// decimal_text.h instead.)
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace lcu {

enum class NumberBase {
  kDecimal,       // digits 0 to 9
  kHex,           // hexadecimal digits, after an optional 0x or 0X
  kBinary,        // digits 0 and 1
  kDecimalOrHex,  // hexadecimal after 0x or 0X, else decimal
};

/// How a number may be written besides its digits.
struct NumberForm {
  NumberBase base = NumberBase::kDecimal;
  bool sign = false;          // a leading + or -
  bool blanks = false;        // white space before and after
  std::size_t maxDigits = 0;  // at most this many digits (a field read by its width); 0: any
};

enum class NumberError {
  kNone,
  kNotANumber,  // the text is not a number of the form
  kOutOfRange,  // it is one, but outside the range asked for (however many digits it has)
};

struct StrictNumber {
  std::int64_t value = 0;  // when error is kNone
  NumberError error = NumberError::kNotANumber;

  explicit operator bool() const { return error == NumberError::kNone; }
};

/// The number the whole text writes in that form, when it lies within lowest to highest.
StrictNumber ParseStrictNumber(std::string_view text, NumberForm form, std::int64_t lowest, std::int64_t highest);

}  // namespace lcu
