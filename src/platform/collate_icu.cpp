#include "collate.h"

#include <dlfcn.h>
#include <unicode/ucol.h>

#include <cstring>

namespace q2 {
namespace {

// ICU is opened on first use rather than linked: loading and relocating it
// costs about a millisecond at every start, and most runs of the command-line
// tool never sort a folder. The window gets it already loaded through Qt.
#define Q2_TEXT2(x) #x
#define Q2_TEXT(x) Q2_TEXT2(x)  // ICU's headers rename each function to carry the version

struct Icu {
  decltype(&ucol_open) open = nullptr;
  decltype(&ucol_close) close = nullptr;
  decltype(&ucol_strcollUTF8) strcoll = nullptr;

  Icu() {
    void* lib = dlopen("libicui18n.so." Q2_TEXT(U_ICU_VERSION_MAJOR_NUM), RTLD_NOW | RTLD_LOCAL);
    if (!lib) return;
    open = reinterpret_cast<decltype(open)>(dlsym(lib, Q2_TEXT(ucol_open)));
    close = reinterpret_cast<decltype(close)>(dlsym(lib, Q2_TEXT(ucol_close)));
    strcoll = reinterpret_cast<decltype(strcoll)>(dlsym(lib, Q2_TEXT(ucol_strcollUTF8)));
    if (!open || !close || !strcoll) open = nullptr;
  }
};

const Icu& IcuLibrary() {
  static const Icu icu;  // never closed: collators may outlive any owner
  return icu;
}

// One collator per thread: opening one loads its tables.
class Collator {
 public:
  Collator() {
    const Icu& icu = IcuLibrary();
    if (!icu.open) return;
    UErrorCode status = U_ZERO_ERROR;
    c_ = icu.open("ja", &status);
    if (U_FAILURE(status)) {
      if (c_) icu.close(c_);
      c_ = nullptr;
    }
  }
  ~Collator() {
    if (c_) IcuLibrary().close(c_);
  }
  Collator(const Collator&) = delete;
  Collator& operator=(const Collator&) = delete;
  UCollator* get() const { return c_; }

 private:
  UCollator* c_ = nullptr;
};

int Bytewise(std::string_view a, std::string_view b) { return a.compare(b); }

}  // namespace

int CollateJapanese(std::string_view a, std::string_view b) {
  thread_local Collator collator;
  if (!collator.get()) return Bytewise(a, b);
  UErrorCode status = U_ZERO_ERROR;
  const UCollationResult r = IcuLibrary().strcoll(collator.get(), a.data(), static_cast<int32_t>(a.size()), b.data(),
                                                  static_cast<int32_t>(b.size()), &status);
  if (U_FAILURE(status)) return Bytewise(a, b);
  return r == UCOL_LESS ? -1 : r == UCOL_GREATER ? 1 : 0;
}

}  // namespace q2
