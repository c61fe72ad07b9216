// Reading an Intel-HEX firmware file into the LCU's firmware image: the 24576 bytes of
// program memory 0x2000 to 0x7FFF that Load Hex File sends, sealed with their checksum word.
//
// The reader works over the whole file's bytes and does no I/O. A UTF-8 byte-order mark at
// the start of the file is skipped. Lines end at LF, CR LF or a lone CR. Only records whose
// 16-bit start address lies in the load window 0x2000 <= A < 0x7FF0 are placed; lines
// without a colon (comments, blank lines) are skipped, and so are data records that lie
// wholly below the window or start at 0x7FF0 or above (boot-loader records, the checksum
// word): the result counts those ignored bytes and where they lay, so that the caller can
// say so. Reading goes on to the physical end of the file; a later record overwrites an
// earlier one. End-of-file records (type 01) and extended address records (types 02 and
// 04) are never placed.
//
// Whatever would leave a hole in the firmware refuses the file with its line number: a line
// that holds a colon after other characters (a blank, a tab, a NUL, an editor's mark before
// the record would otherwise hide the record whole), a data record that starts below the
// window and runs into it (its part in the window would be lost), and a record type other
// than 00 to 05. A record inside the window must be whole and exact, since the LCU would
// otherwise run half-read code: it is refused when a digit is not hexadecimal, the line ends
// before its checksum, characters other than blanks follow the checksum, the checksum does
// not match, or its data would run past LCU address 0x7FFF. End-of-file and extended
// address records are checked the same way wherever they stand, since they decide what the
// file means. Lines may be as long as a record of 255 data bytes needs, and longer.
//
// A file that would give the LCU no firmware is refused as a whole: one without a single
// data byte in the window (an empty or foreign file, or one for another part of memory),
// one without an end-of-file record (cut short), and one whose data records follow an
// extended address record with a non-zero value (their 16-bit addresses then name another
// address range, so they would land on the wrong addresses); a zero value is harmless.
// Nothing of a refused file reaches the LCU.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "core/link/lcu_protocol.h"

namespace lcu {

/// First record start address that is no longer placed.
inline constexpr std::uint16_t kLoadWindowEnd = 0x7FF0;
/// Image offset of the checksum word (low byte; the high byte follows).
inline constexpr std::size_t kFirmwareChecksumOffset = kChecksumAddress - kFirmwareBase;
/// Largest hex file the reader accepts; a full image takes well under 100 KiB.
inline constexpr std::size_t kHexFileLimit = std::size_t{16} << 20;

using FirmwareImageSpan = std::span<std::uint8_t, kFirmwareImageSize>;

enum class HexError {
  kNone,
  kFileTooLarge,     // more than kHexFileLimit bytes
  kInvalidRecord,    // a digit that is not hexadecimal, a truncated record, trailing characters
  kBadChecksum,      // the record's checksum does not match its bytes
  kPastImageEnd,     // the record's data would run past LCU address 0x7FFF
  kTextBeforeColon,  // the line holds a colon after other characters
  kIntoWindow,       // a data record starts below the load window and runs into it
  kUnknownType,      // the record type is not one of 00 to 05
  kExtendedData,     // a data record follows an extended address record with a non-zero value
  kNoData,           // no data byte lies in the load window
  kNoEndRecord,      // the file has no end-of-file record
};

/// Data bytes of the file that lie outside the load window on one side of it and are not
/// placed: how many (each address counted once) and the lowest and highest of their
/// addresses. Addresses above the window may pass 0xFFFF where a record runs past it.
struct IgnoredBytes {
  std::size_t count = 0;
  std::uint32_t first = 0;
  std::uint32_t last = 0;

  friend bool operator==(const IgnoredBytes&, const IgnoredBytes&) = default;
};

struct HexReadResult {
  HexError error = HexError::kNone;
  /// Line of the refused record, counted from 1; 0 when the refusal is about the whole file.
  std::size_t line = 0;
  /// Bytes of the image that the file's records set, each counted once; 0 on refusal.
  std::size_t covered = 0;
  /// Data bytes below 0x2000 and from 0x7FF0 on that were not placed; none on refusal.
  IgnoredBytes ignoredBelow{};
  IgnoredBytes ignoredAbove{};

  bool Ok() const { return error == HexError::kNone; }
  friend bool operator==(const HexReadResult&, const HexReadResult&) = default;
};

/// Builds the firmware image from a hex file's bytes: zero-fills it, places the records of
/// the load window and seals it with SealFirmwareImage. On refusal the image's contents have
/// no meaning and must not be sent.
HexReadResult ReadHexImage(std::span<const std::uint8_t> file, FirmwareImageSpan image);

/// The text to show for a refusal, naming the line where there is one.
std::string HexErrorText(const HexReadResult& result);

/// Sum modulo 65536 of the 12287 little-endian words at image offsets 0, 2, ... 0x5FFC.
std::uint16_t FirmwareChecksum(std::span<const std::uint8_t, kFirmwareImageSize> image);

/// Stores FirmwareChecksum at image bytes 0x5FFE (low) and 0x5FFF (high), replacing what was
/// there.
void SealFirmwareImage(FirmwareImageSpan image);

}  // namespace lcu
