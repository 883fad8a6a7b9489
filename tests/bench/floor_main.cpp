// The least a whole process must do to open a recording: map it, inflate
// the header chunk by chunk through one reused buffer (looking at each
// chunk once), and make one memchr pass over the body. Nothing is written.
// The whole-process benchmark runs it beside quoril2-cli.
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

// `--peak PROGRAM ARGS...`: runs the program with its output thrown away
// and prints its peak resident memory in KB. A spawned child's peak counts
// what its parent held when it started, and this process holds little.
int Peak(char** argv) {
  const pid_t pid = fork();
  if (pid == 0) {
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    dup2(null, 2);
    execv(argv[0], argv);
    _exit(127);
  }
  int status = 0;
  rusage ru{};
  if (pid < 0 || wait4(pid, &status, 0, &ru) != pid) return 1;
  std::printf("%ld\n", ru.ru_maxrss);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

// One recording: FF bytes counted in header and body, or -1.
long FloorOpen(const char* path) {
  const int fd = open(path, O_RDONLY);
  struct stat st;
  if (fd < 0 || fstat(fd, &st) != 0 || st.st_size < 8) return -1;
  const size_t size = static_cast<size_t>(st.st_size);
  auto* d = static_cast<const unsigned char*>(mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0));
  close(fd);
  if (d == MAP_FAILED) return -1;
  const size_t L = d[0] | d[1] << 8 | d[2] << 16 | static_cast<size_t>(d[3]) << 24;
  if (L < 8 || L > size) return -1;
  static unsigned char chunk[0x20000];
  z_stream zs{};
  zs.next_in = const_cast<unsigned char*>(d + 8);
  zs.avail_in = static_cast<uInt>(L - 8);
  inflateInit2(&zs, -15);
  long found = 0;
  int r;
  do {
    zs.next_out = chunk;
    zs.avail_out = sizeof chunk;
    r = inflate(&zs, Z_SYNC_FLUSH);
    const size_t n = sizeof chunk - zs.avail_out;
    for (const unsigned char* p = chunk; (p = static_cast<const unsigned char*>(std::memchr(p, 0xFF, n - (p - chunk))));
         ++p)
      ++found;
  } while (r == Z_OK && zs.avail_out == 0);
  inflateEnd(&zs);
  for (const unsigned char* p = d + L; (p = static_cast<const unsigned char*>(std::memchr(p, 0xFF, size - (p - d))));
       ++p)
    ++found;
  munmap(const_cast<unsigned char*>(d), size);
  return found;
}

// `quoril2-floor FILE...`: each recording in turn, as one call of the tool
// reads a batch.
int main(int argc, char** argv) {
  if (argc > 2 && std::strcmp(argv[1], "--peak") == 0) return Peak(argv + 2);
  if (argc < 2) return 2;
  for (int i = 1; i < argc; ++i) {
    const long found = FloorOpen(argv[i]);
    if (found < 0) return 1;
    std::printf("%ld\n", found);
  }
  return 0;
}
