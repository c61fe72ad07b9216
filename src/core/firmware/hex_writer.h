// The Intel-HEX writer, the counterpart of the reader in hex_image.h: records with their
// checksums and whole images cut into data records. Benchmarks, fuzzers and tests build their
// firmware files with it.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lcu {

inline constexpr std::uint8_t kHexData = 0x00;
inline constexpr std::uint8_t kHexEndOfFile = 0x01;
inline constexpr std::uint8_t kHexExtendedSegment = 0x02;
inline constexpr std::uint8_t kHexExtendedLinear = 0x04;

/// One record line without its line end, checksum included.
std::string HexRecord(std::uint16_t address, std::span<const std::uint8_t> data, std::uint8_t type = kHexData);
std::string HexRecord(std::uint16_t address, std::initializer_list<std::uint8_t> data, std::uint8_t type = kHexData);

/// The end-of-file record, without its line end.
std::string HexEndRecord();

/// Data records for bytes placed from address on, cut into records whose lengths cycle
/// through recordLengths (none of them zero), each line ended by lineEnd; no end-of-file
/// record.
std::string HexRecords(std::uint16_t address, std::span<const std::uint8_t> bytes,
                       const std::vector<std::size_t>& recordLengths, std::string_view lineEnd = "\n");

}  // namespace lcu
