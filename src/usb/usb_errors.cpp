#include "usb/usb_errors.h"

#include "core/link/usb_backend.h"

namespace lcu::usb {

std::string UsbErrorText(std::uint32_t code) {
  switch (code) {
    case kErrorSuccess: return std::string(text::kSuccess);
    case kErrorNoLcu: return std::string(text::kNoLcu);
    case kErrorNotAnLcu: return std::string(text::kNotAnLcu);
    case kErrorAccessDenied: return std::string(text::kAccessDenied);
    case kErrorNotEnoughMemory: return std::string(text::kNotEnoughMemory);
    case kErrorStall: return std::string(text::kStall);
    case kErrorNotSupported: return std::string(text::kNotSupported);
    case kErrorInvalidParameter: return std::string(text::kInvalidParameter);
    case kErrorTimeout: return std::string(text::kTimeout);
    case kErrorBusy: return std::string(text::kBusy);
    case kErrorOverflow: return std::string(text::kOverflow);
    case kErrorIo: return std::string(text::kIo);
    case kErrorDisconnected: return std::string(text::kDisconnected);
    case kErrorInterrupted: return std::string(text::kInterrupted);
    default: return CommonErrorText(code);
  }
}

}  // namespace lcu::usb
