#pragma once
// The file operations the saver needs: its own executable, the two INI files beside it and the
// media copies in the temporary directory. Portable code reaches files only through this, so
// tests can point the temporary directory elsewhere.
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "base/byte_source.h"

namespace ss {

// A file being written. write() stores every byte or throws SaverError (a full disk, say).
class OutputFile {
 public:
  virtual ~OutputFile() = default;
  virtual void write(std::span<const uint8_t> bytes) = 0;
  // Closes the file, throwing when its last bytes cannot be stored. Destruction closes quietly.
  virtual void close() = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Opens for reading; others may read meanwhile but not write (where the system can deny it).
  // Throws "Cannot open file "%s". %s" with the path and the system's text.
  virtual std::unique_ptr<ByteSource> open_read_deny_write(const std::string& path) = 0;
  // The whole file, read while others may read and write it; nothing when it cannot be read.
  virtual std::optional<std::string> read_file(const std::string& path) = 0;
  // Creates the file, replacing one of that name; not shared. Never follows a link to elsewhere.
  // Throws "Cannot create file "%s". %s".
  virtual std::unique_ptr<OutputFile> create_file(const std::string& path) = 0;
  // Moves `from` over `to`, replacing it in one step. False when the system refuses.
  virtual bool replace_file(const std::string& from, const std::string& to) = 0;
  virtual bool delete_file(const std::string& path) = 0;
  // True for an existing file that is not a folder.
  virtual bool file_exists(const std::string& path) = 0;
  // The user's temporary directory, ending with a separator; asked afresh on every call.
  virtual std::string temp_directory() = 0;
  virtual std::string executable_path() = 0;
  virtual char separator() const = 0;
};

// The running system's files.
FileSystem& native_file_system();

}  // namespace ss
