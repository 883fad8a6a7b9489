#include "mapped_file.h"

#include <windows.h>

#include <algorithm>

#include "files.h"

namespace q2 {

MappedFile::~MappedFile() { release(); }

void MappedFile::release() {
  if (mapping_) UnmapViewOfFile(mapping_);
  mapping_ = nullptr;
  copy_.reset();
  data_ = nullptr;
  size_ = 0;
}

MappedFile::Status MappedFile::open(const std::string& path, bool /*wholeFile*/) {
  release();
  HANDLE f = CreateFileW(FsPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return Status::CannotOpen;
  LARGE_INTEGER li;
  if (GetFileType(f) != FILE_TYPE_DISK || !GetFileSizeEx(f, &li)) {
    CloseHandle(f);
    return Status::CannotOpen;
  }
  if (static_cast<uint64_t>(li.QuadPart) > SIZE_MAX / 2) {
    CloseHandle(f);
    return Status::TooLarge;
  }
  size_ = static_cast<size_t>(li.QuadPart);
  if (size_ == 0) {
    CloseHandle(f);
    static const uint8_t kEmpty = 0;
    data_ = &kEmpty;
    return Status::Ok;
  }
  if (HANDLE m = CreateFileMappingW(f, nullptr, PAGE_READONLY, 0, 0, nullptr)) {
    void* view = MapViewOfFile(m, FILE_MAP_READ, 0, 0, 0);
    CloseHandle(m);
    if (view) {
      CloseHandle(f);
      mapping_ = view;
      data_ = static_cast<const uint8_t*>(view);
      return Status::Ok;
    }
  }
  try {
    copy_.reset(new uint8_t[size_]);
  } catch (const std::bad_alloc&) {
    CloseHandle(f);
    size_ = 0;
    return Status::TooLarge;
  }
  size_t got = 0;
  while (got < size_) {
    DWORD n = 0;
    const DWORD want = static_cast<DWORD>(std::min<size_t>(size_ - got, 1u << 30));
    if (!ReadFile(f, copy_.get() + got, want, &n, nullptr) || n == 0) break;
    got += n;
  }
  CloseHandle(f);
  size_ = got;
  data_ = copy_.get();
  return Status::Ok;
}

}  // namespace q2
