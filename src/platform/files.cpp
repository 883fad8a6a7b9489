// What the file operations share on every platform; files_posix.cpp and
// files_win.cpp hold the rest.
#include "files.h"

namespace q2 {

File::~File() {
  if (f_) std::fclose(f_);
}

bool File::close() {
  if (!f_) return true;
  bool ok = std::fclose(f_) == 0;
  f_ = nullptr;
  return ok;
}

ReadStatus ReadWholeFile(const std::string& path, uint64_t size, ByteBuffer& out) {
  if (IsDirectory(path)) return ReadStatus::CannotOpen;
  if (size > static_cast<uint64_t>(SIZE_MAX / 2)) return ReadStatus::TooLarge;
  File f(path, "rb");
  if (!f) return ReadStatus::CannotOpen;
  try {
    // One spare zero byte after the data, so that byte scans may look one past the end.
    out.data.reset(new uint8_t[static_cast<size_t>(size) + 1]);
  } catch (const std::bad_alloc&) {
    return ReadStatus::TooLarge;
  }
  out.size = std::fread(out.data.get(), 1, static_cast<size_t>(size), f.get());
  out.data[out.size] = 0;
  return out.size == size ? ReadStatus::Ok : ReadStatus::Short;
}

}  // namespace q2
