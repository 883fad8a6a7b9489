#include "collate.h"

#include <unicode/ucol.h>

#include <cstring>

namespace q2 {
namespace {

// One collator per thread: opening one loads its tables.
class Collator {
 public:
  Collator() {
    UErrorCode status = U_ZERO_ERROR;
    c_ = ucol_open("ja", &status);
    if (U_FAILURE(status)) {
      if (c_) ucol_close(c_);
      c_ = nullptr;
    }
  }
  ~Collator() {
    if (c_) ucol_close(c_);
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
  const UCollationResult r = ucol_strcollUTF8(collator.get(), a.data(), static_cast<int32_t>(a.size()), b.data(),
                                              static_cast<int32_t>(b.size()), &status);
  if (U_FAILURE(status)) return Bytewise(a, b);
  return r == UCOL_LESS ? -1 : r == UCOL_GREATER ? 1 : 0;
}

}  // namespace q2
