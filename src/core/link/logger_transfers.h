// The bulk transfers of the logger header and of logging buffers, built on the link.
// Each is one set-up request immediately followed by its bulk transfers.
#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "core/host/prompter.h"
#include "core/link/lcu_protocol.h"
#include "core/link/usb_device.h"

namespace lcu {

/// One bulk read that must fill the whole buffer. A short one fails and closes the link, so
/// that the last error names the short transfer.
bool BulkReadAll(CUsbDevice& device, std::span<std::uint8_t> buffer);

/// One bulk write that must take the whole buffer; a short one fails like BulkReadAll.
bool BulkWriteAll(CUsbDevice& device, std::span<const std::uint8_t> buffer);

/// Fills a 16384-byte buffer with LCU memory 0x8000 to 0xBFFF. A read that moves fewer
/// bytes fails and closes the link. No message of its own.
bool ReadLoggerHeader(CUsbDevice& device, std::span<std::uint8_t, kLoggerHeaderSize> buffer);

/// Writes bytes 64 to 16383 of a header image back to LCU 0x8040 to 0xBFFF; the status
/// block is never written. A short write fails. No message of its own.
bool WriteLoggerHeader(CUsbDevice& device, std::span<const std::uint8_t, kLoggerHeaderSize> buffer);

/// Bytes ReadLoggerBlock moves for a block of the given length: the smallest multiple of
/// 128 greater than length (so 256 reads 384).
std::uint64_t LoggerBlockTransferSize(std::uint32_t length);

enum class BlockReadResult {
  kOk,
  kSetupFailed,  // the set-up request failed; nothing was shown
  kReadFailed,   // a bulk read failed or came up short; its messages were shown
  kSinkFailed,   // the sink refused a chunk; nothing was shown, the caller reports it
};

/// Receives each chunk of a block as it arrives: the chunk's offset within the block and
/// its bytes (the last chunk may run up to 128 bytes past the block's length). Returns
/// false to stop the read.
using BlockSink = std::function<bool(std::uint64_t offset, std::span<const std::uint8_t> chunk)>;

/// Reads one logger data block that starts at the position (address, index): the set-up
/// request, then chunks of 16384 bytes and one remainder. Chunks go to the sink one by one,
/// so memory stays bounded whatever the block's length. The link is busy (IsBusy) from the
/// set-up request to the last bulk read and free again on every way out, so a sink may let
/// events through between chunks without any other exchange slipping in. Shows the link's
/// messages on a failed or short chunk ("Reading from the LCU failed." with the system text;
/// for the remainder the system text alone, then that text again). Over the Windows driver,
/// whose bulk read is ReadFile, the texts are "ReadFile failed." and "ReadFile failed".
BlockReadResult ReadLoggerBlock(CUsbDevice& device, Prompter& prompter, std::uint32_t length, std::uint16_t address,
                                std::uint16_t index, const BlockSink& sink);

/// ReadLoggerBlock into one buffer of at least LoggerBlockTransferSize(length) bytes.
bool ReadLoggerBlock(CUsbDevice& device, Prompter& prompter, std::span<std::uint8_t> buffer, std::uint32_t length,
                     std::uint16_t address, std::uint16_t index);

}  // namespace lcu
