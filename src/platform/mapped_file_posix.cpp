#include "mapped_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace q2 {

MappedFile::~MappedFile() { release(); }

void MappedFile::release() {
  if (mapping_) munmap(mapping_, size_);
  mapping_ = nullptr;
  copy_.reset();
  data_ = nullptr;
  size_ = 0;
}

MappedFile::Status MappedFile::open(const std::string& path, bool wholeFile) {
  release();
  // Non-blocking, so that a FIFO named like a recording can't hang the open.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return Status::CannotOpen;
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return Status::CannotOpen;
  }
  const auto size = static_cast<uint64_t>(st.st_size);
  if (size > SIZE_MAX / 2) {
    close(fd);
    return Status::TooLarge;
  }
  size_ = static_cast<size_t>(size);
  if (size_ == 0) {
    close(fd);
    static const uint8_t kEmpty = 0;
    data_ = &kEmpty;
    return Status::Ok;
  }
  void* m = mmap(nullptr, size_, PROT_READ, MAP_PRIVATE | (wholeFile ? MAP_POPULATE : 0), fd, 0);
  if (m != MAP_FAILED) {
    close(fd);
    mapping_ = m;
    data_ = static_cast<const uint8_t*>(m);
    return Status::Ok;
  }
  // Some file systems can't be mapped: read instead.
  try {
    copy_.reset(new uint8_t[size_]);
  } catch (const std::bad_alloc&) {
    close(fd);
    size_ = 0;
    return Status::TooLarge;
  }
  size_t got = 0;
  while (got < size_) {
    const ssize_t n = ::read(fd, copy_.get() + got, size_ - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<size_t>(n);
  }
  close(fd);
  // A file that shrank since its status was taken is read as far as it goes.
  size_ = got;
  data_ = copy_.get();
  return Status::Ok;
}

}  // namespace q2
