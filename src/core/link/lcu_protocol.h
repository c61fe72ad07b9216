// The LCU as the link sees it, in one place: its ids, its request numbers, its 16-bit address
// space and the sizes of everything that crosses the link. The commands, the link and the
// simulator (which models the same LCU) take every such number from here.
//
//   0x0000 - 0x7FFF  program memory (32 KiB): firmware from 0x2000, checksum word at 0x7FFE
//   0x8000 - 0xBFFF  the window onto data memory, one 16 KiB page at a time; page 0 is the
//                    logger header: status block 0x8000, session block 0x8040,
//                    identification 0x8100
//   0xC000 - 0xFFFF  RAM: channel list 0xF710, start word 0xF752, logging state 0xFE36
#pragma once

#include <cstddef>
#include <cstdint>

namespace lcu {

// ---- Ids ----

/// Product id of the LCU's device descriptor (0x04CE).
inline constexpr std::uint16_t kLcuProductId = 1230;
/// Device nodes the link searches for the LCU: 0 to 14.
inline constexpr int kDeviceNodeCount = 15;
/// wIndex of the LCU_LOAD_FIRMWARE set-up request: the key the LCU expects.
inline constexpr std::uint16_t kFirmwareKey = 0x6B3D;

// ---- Requests ----

inline constexpr std::uint8_t LCU_READ_BLOCK = 0x41;     // 64 bytes from an address
inline constexpr std::uint8_t LCU_WRITE_WORD = 0x44;     // wIndex's low byte to address wValue
inline constexpr std::uint8_t LCU_BULK_READ = 0x45;      // set-up of a bulk read from (wValue, page wIndex)
inline constexpr std::uint8_t LCU_BULK_WRITE = 0x46;     // set-up of a bulk write to (wValue, page wIndex)
inline constexpr std::uint8_t LCU_READ_CHANNELS = 0x47;  // one reading per channel of the channel list
inline constexpr std::uint8_t LCU_LOAD_FIRMWARE = 0x48;  // set-up of the firmware image's bulk write

inline constexpr std::uint8_t kRequestTypeVendorIn = 0xC0;   // vendor request, device to host
inline constexpr std::uint8_t kRequestTypeVendorOut = 0x40;  // vendor request, host to device

// ---- Addresses ----

inline constexpr std::uint16_t kProgramMemoryAddress = 0x0000;
/// LCU address of the firmware image's first byte.
inline constexpr std::uint16_t kFirmwareBase = 0x2000;
/// The program memory's checksum word, sealing the firmware.
inline constexpr std::uint16_t kChecksumAddress = 0x7FFE;
/// First address of the data memory window; a window address is kWindowBase + offset in page.
inline constexpr std::uint16_t kWindowBase = 0x8000;
/// The status block, the first 64 bytes of the logger header, that every poll reads.
inline constexpr std::uint16_t kStatusAddress = 0x8000;
/// The session block (header 0x40 to 0x7F); a header write starts here, never writing the
/// status block.
inline constexpr std::uint16_t kSessionBlockAddress = 0x8040;
/// The identification block: configuration id and version.
inline constexpr std::uint16_t kIdentificationAddress = 0x8100;
/// One past the window's last address; RAM follows.
inline constexpr std::uint32_t kWindowEnd = 0xC000;
/// One past the last address of the LCU.
inline constexpr std::uint32_t kAddressSpaceEnd = 0x10000;
/// Where a monitor's channel list is written, 16 channel numbers at a time.
inline constexpr std::uint16_t kChannelListAddress = 0xF710;
/// The start word: kStartWordOn makes the LCU log, 0 stops it.
inline constexpr std::uint16_t kStartWordAddress = 0xF752;
/// The logging state block: the LCU logs while byte 0 AND kLoggingBits is non-zero.
inline constexpr std::uint16_t kLoggingStateAddress = 0xFE36;

// ---- Values ----

inline constexpr std::uint8_t kStartWordOn = 0x80;
inline constexpr std::uint8_t kLoggingBits = 0x3D;

// ---- Sizes ----

/// A read block, the status, session and identification blocks, a channel exchange and a
/// 64-byte write.
inline constexpr std::size_t kBlockSize = 64;
/// A page of data memory behind the window.
inline constexpr std::uint32_t kPageSize = 16384;
/// The logger header: page 0 of data memory.
inline constexpr std::size_t kLoggerHeaderSize = 16384;
/// Bytes a header write sends: the header without its status block.
inline constexpr std::size_t kHeaderWriteSize = kLoggerHeaderSize - kBlockSize;
/// The largest bulk read of a logging buffer; longer buffers are read in such chunks.
inline constexpr std::size_t kBlockChunk = 16384;
/// Program memory, 0x0000 to 0x7FFF.
inline constexpr std::size_t kProgramMemorySize = 32768;
/// The firmware image, 0x2000 to 0x7FFF.
inline constexpr std::size_t kFirmwareImageSize = kProgramMemorySize - kFirmwareBase;
/// One unit of the memory size field: data memory comes in units of 512 KiB.
inline constexpr std::uint32_t kMemoryUnit = 524288;
/// Channels in one exchange: the channel list holds 16 numbers, the reply 16 readings.
inline constexpr std::size_t kChannelsPerExchange = 16;

}  // namespace lcu
