// A file's bytes for reading: mapped where the platform can, so that a
// recording is neither copied nor held twice; read into memory otherwise.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace q2 {

class MappedFile {
 public:
  enum class Status { Ok, CannotOpen, TooLarge };

  // Opens a regular file (anything else can't be opened) and takes all of
  // its bytes. `wholeFile`: every byte will be read, so the pages are
  // brought in at once rather than one fault at a time.
  Status open(const std::string& path, bool wholeFile = true);

  const uint8_t* data() const { return data_; }
  size_t size() const { return size_; }

  MappedFile() = default;
  ~MappedFile();
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

 private:
  void release();

  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
  void* mapping_ = nullptr;  // the platform's mapping, when mapped
  std::unique_ptr<uint8_t[]> copy_;  // the bytes, when read
};

}  // namespace q2
