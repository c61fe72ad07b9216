#include "core/link/usb_transcript.h"

#include <limits>
#include <map>
#include <type_traits>

#include "core/util/strict_number.h"

namespace lcu {

namespace {

constexpr std::string_view kKindNames[] = {"open", "descriptor", "control", "bulk-read", "bulk-write", "close", "text"};

std::string_view KindName(UsbCallKind kind) { return kKindNames[static_cast<int>(kind)]; }

std::optional<UsbCallKind> KindFromName(std::string_view name) {
  for (std::size_t i = 0; i < std::size(kKindNames); ++i) {
    if (kKindNames[i] == name) return static_cast<UsbCallKind>(i);
  }
  return std::nullopt;
}

std::string Hex(std::uint32_t value, int digits) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text(static_cast<std::size_t>(digits), '0');
  for (int i = digits - 1; i >= 0; --i) {
    text[static_cast<std::size_t>(i)] = kDigits[value & 0xF];
    value >>= 4;
  }
  return text;
}

bool HexDigit(char c, std::uint8_t& value) {
  if (c >= '0' && c <= '9')
    value = static_cast<std::uint8_t>(c - '0');
  else if (c >= 'A' && c <= 'F')
    value = static_cast<std::uint8_t>(c - 'A' + 10);
  else if (c >= 'a' && c <= 'f')
    value = static_cast<std::uint8_t>(c - 'a' + 10);
  else
    return false;
  return true;
}

bool ParseBytes(std::string_view text, std::vector<std::uint8_t>& bytes) {
  if (text.size() % 2 != 0) return false;
  bytes.clear();
  bytes.reserve(text.size() / 2);
  for (std::size_t i = 0; i < text.size(); i += 2) {
    std::uint8_t high = 0;
    std::uint8_t low = 0;
    if (!HexDigit(text[i], high) || !HexDigit(text[i + 1], low)) return false;
    bytes.push_back(static_cast<std::uint8_t>(high << 4 | low));
  }
  return true;
}

// A field's whole text is its number, which must fit the field; only a signed field may carry
// a sign.
template <typename T>
bool ParseNumber(std::string_view text, T& value, int base) {
  const NumberForm form{base == 16 ? NumberBase::kHex : NumberBase::kDecimal, std::is_signed_v<T>};
  const StrictNumber number =
      ParseStrictNumber(text, form, std::numeric_limits<T>::min(), std::numeric_limits<T>::max());
  if (!number) return false;
  value = static_cast<T>(number.value);
  return true;
}

class Fields {
 public:
  explicit Fields(std::string_view words) {
    while (!words.empty()) {
      const std::size_t space = words.find(' ');
      const std::string_view word = words.substr(0, space);
      const std::size_t equals = word.find('=');
      if (equals == std::string_view::npos) {
        m_bad = std::string(word);
      } else {
        m_values[std::string(word.substr(0, equals))] = word.substr(equals + 1);
      }
      words = space == std::string_view::npos ? std::string_view() : words.substr(space + 1);
    }
  }

  const std::string& Bad() const { return m_bad; }

  template <typename T>
  bool Number(std::string_view name, T& value, int base, std::string& problem) const {
    const auto it = m_values.find(std::string(name));
    if (it == m_values.end()) {
      problem = "missing " + std::string(name) + "=";
      return false;
    }
    if (!ParseNumber(it->second, value, base)) {
      problem = "bad " + std::string(name) + "=" + std::string(it->second);
      return false;
    }
    return true;
  }

  bool Flag(std::string_view name, bool& value, std::string& problem) const {
    int number = 0;
    if (!Number(name, number, 10, problem)) return false;
    if (number != 0 && number != 1) {
      problem = "bad " + std::string(name) + "=";
      return false;
    }
    value = number == 1;
    return true;
  }

  bool Bytes(std::vector<std::uint8_t>& bytes, std::string& problem) const {
    const auto it = m_values.find("data");
    if (it == m_values.end()) {
      problem = "missing data=";
      return false;
    }
    if (!ParseBytes(it->second, bytes)) {
      problem = "bad data=";
      return false;
    }
    return true;
  }

 private:
  std::map<std::string, std::string_view, std::less<>> m_values;
  std::string m_bad;
};

}  // namespace

std::string ToHex(const std::uint8_t* bytes, std::size_t count) {
  std::string text;
  text.reserve(count * 2);
  for (std::size_t i = 0; i < count; ++i) text += Hex(bytes[i], 2);
  return text;
}

std::string DescribeUsbRequest(const UsbCall& call) {
  std::string text(KindName(call.kind));
  switch (call.kind) {
    case UsbCallKind::kOpen: return text + " node=" + std::to_string(call.node);
    case UsbCallKind::kDescriptor:
    case UsbCallKind::kClose: return text + " handle=" + std::to_string(call.handle);
    case UsbCallKind::kControl:
      return text + " handle=" + std::to_string(call.handle) + " type=" + Hex(call.request.bmRequestType, 2) +
             " request=" + Hex(call.request.bRequest, 2) + " value=" + Hex(call.request.wValue, 4) +
             " index=" + Hex(call.request.wIndex, 4) + " length=" + std::to_string(call.request.wLength);
    case UsbCallKind::kBulkRead:
      return text + " handle=" + std::to_string(call.handle) + " length=" + std::to_string(call.length);
    case UsbCallKind::kBulkWrite:
      return text + " handle=" + std::to_string(call.handle) + " length=" + std::to_string(call.length) +
             " data=" + ToHex(call.data.data(), call.data.size());
    case UsbCallKind::kText: return text + " code=" + std::to_string(call.error);
  }
  return text;
}

std::string FormatUsbCall(const UsbCall& call) {
  const std::string ok = call.ok ? " ok=1" : " ok=0";
  const std::string error = " error=" + std::to_string(call.error);
  const std::string data = " data=" + ToHex(call.data.data(), call.data.size());
  switch (call.kind) {
    case UsbCallKind::kOpen: return DescribeUsbRequest(call) + " handle=" + std::to_string(call.handle) + error;
    case UsbCallKind::kDescriptor:
    case UsbCallKind::kControl: return DescribeUsbRequest(call) + ok + data + error;
    case UsbCallKind::kBulkRead:
      return DescribeUsbRequest(call) + ok + " moved=" + std::to_string(call.moved) + data + error;
    case UsbCallKind::kBulkWrite: return DescribeUsbRequest(call) + ok + " moved=" + std::to_string(call.moved) + error;
    case UsbCallKind::kClose: return DescribeUsbRequest(call);
    case UsbCallKind::kText: {
      // A system's text may end in a line break; the transcript keeps one line per call.
      std::string text = call.text;
      while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
      for (char& c : text) {
        if (c == '\n' || c == '\r') c = ' ';
      }
      return DescribeUsbRequest(call) + " " + text;
    }
  }
  return {};
}

std::optional<UsbCall> ParseUsbCall(std::string_view line, std::string& problem) {
  const std::size_t space = line.find(' ');
  const std::string_view name = line.substr(0, space);
  const std::string_view rest = space == std::string_view::npos ? std::string_view() : line.substr(space + 1);
  const std::optional<UsbCallKind> kind = KindFromName(name);
  if (!kind) {
    problem = "unknown call \"" + std::string(name) + "\"";
    return std::nullopt;
  }
  UsbCall call;
  call.kind = *kind;
  if (call.kind == UsbCallKind::kText) {
    const std::size_t textStart = rest.find(' ');
    const Fields fields(rest.substr(0, textStart));
    if (!fields.Number("code", call.error, 10, problem)) return std::nullopt;
    if (textStart != std::string_view::npos) call.text = std::string(rest.substr(textStart + 1));
    return call;
  }
  const Fields fields(rest);
  if (!fields.Bad().empty()) {
    problem = "\"" + fields.Bad() + "\" is not name=value";
    return std::nullopt;
  }
  if (!fields.Number("handle", call.handle, 10, problem)) return std::nullopt;
  bool good = true;
  switch (call.kind) {
    case UsbCallKind::kOpen:
      good = fields.Number("node", call.node, 10, problem) && fields.Number("error", call.error, 10, problem);
      call.ok = call.handle != -1;
      break;
    case UsbCallKind::kDescriptor:
      good = fields.Flag("ok", call.ok, problem) && fields.Bytes(call.data, problem) &&
             fields.Number("error", call.error, 10, problem);
      break;
    case UsbCallKind::kControl:
      good = fields.Number("type", call.request.bmRequestType, 16, problem) &&
             fields.Number("request", call.request.bRequest, 16, problem) &&
             fields.Number("value", call.request.wValue, 16, problem) &&
             fields.Number("index", call.request.wIndex, 16, problem) &&
             fields.Number("length", call.request.wLength, 10, problem) && fields.Flag("ok", call.ok, problem) &&
             fields.Bytes(call.data, problem) && fields.Number("error", call.error, 10, problem);
      break;
    case UsbCallKind::kBulkRead:
    case UsbCallKind::kBulkWrite:
      good = fields.Number("length", call.length, 10, problem) && fields.Flag("ok", call.ok, problem) &&
             fields.Number("moved", call.moved, 10, problem) && fields.Bytes(call.data, problem) &&
             fields.Number("error", call.error, 10, problem);
      break;
    case UsbCallKind::kClose:
    case UsbCallKind::kText: break;
  }
  if (!good) return std::nullopt;
  return call;
}

}  // namespace lcu
