#pragma once
// The file operations the saver needs: its own executable, the two INI files beside it (or the
// user's own copy of the settings file) and the media copies in the temporary directory. Portable
// code reaches files only through this, so tests can point the temporary directory elsewhere.
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "base/byte_source.h"
#include "base/path.h"

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
  // Makes one folder inside an existing one; false when it exists already or is refused.
  virtual bool create_folder(const std::string& path) = 0;
  // Makes a new, empty folder inside `parent`, under a name no other folder there has, and
  // returns its path ending with a separator; nothing when the system refuses.
  virtual std::optional<std::string> create_unique_folder(const std::string& parent) = 0;
  // Removes an empty folder; false when it is missing, not empty or in use.
  virtual bool remove_folder(const std::string& path) = 0;
  // The user's temporary directory, ending with a separator; asked afresh on every call.
  virtual std::string temp_directory() = 0;
  // The user's own folder for application settings (the roaming application data on Windows,
  // the configuration home elsewhere), ending with a separator; empty when the system has none.
  virtual std::string user_settings_folder() = 0;
  virtual std::string executable_path() = 0;
  virtual char separator() const = 0;
  // The bytes of the system's code page that begin a two-byte character, for splitting and
  // joining its paths.
  virtual const LeadBytes& lead_bytes() const {
    static const LeadBytes kSingleByte;
    return kSingleByte;
  }
};

// The running system's files.
FileSystem& native_file_system();

}  // namespace ss
