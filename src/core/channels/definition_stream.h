// DefinitionStream: the sequential reads the channel definition load makes. The load tells
// three outcomes of a short read apart (a read error, the end of the file, neither), so
// the stream reports them the way the C library's file streams do. FileDefinitionStream
// reads a file on disk; tests supply streams that fail where they want.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

namespace lcu {

class DefinitionStream {
 public:
  virtual ~DefinitionStream() = default;
  /// Reads up to buffer.size() bytes and returns how many were read; fewer only at the end
  /// of the file, on an error, or when the stream has nothing more to give yet.
  virtual std::size_t Read(std::span<std::uint8_t> buffer) = 0;
  /// True once a read has stopped on an error.
  virtual bool Failed() const = 0;
  /// True once a read has reached the end of the file.
  virtual bool AtEnd() const = 0;
  /// The system's text for the error that stopped a read (or the open).
  virtual std::string ErrorText() const = 0;
};

/// A file opened for binary reading; closed when the stream is destroyed.
class FileDefinitionStream final : public DefinitionStream {
 public:
  explicit FileDefinitionStream(const std::string& path);
  ~FileDefinitionStream() override;
  FileDefinitionStream(const FileDefinitionStream&) = delete;
  FileDefinitionStream& operator=(const FileDefinitionStream&) = delete;

  /// False when the file could not be opened.
  bool IsOpen() const { return m_file != nullptr; }

  std::size_t Read(std::span<std::uint8_t> buffer) override;
  bool Failed() const override;
  bool AtEnd() const override;
  std::string ErrorText() const override;

 private:
  std::FILE* m_file = nullptr;
  int m_errno = 0;
  std::string m_refusal;  // why the file was not opened, when it is not a regular file
};

}  // namespace lcu
