#include "core/graph/age_shares.h"

namespace q2 {

namespace {
AgeShares Shares(double df, double dc, double dm, double L) {
  constexpr double K = 10.0;
  AgeShares s{0, 0, 0, 0};
  // An empty body has no time axis: the whole bar is the Dark Age.
  if (df == 0 || L <= 0) {
    s[0] = K;
    return s;
  }
  const bool c = dc != 0, m = dm != 0;
  s[0] = df / L * K;
  if (!c) {
    s[1] = K - s[0];
    return s;
  }
  s[1] = (dc - df) / L * K;
  if (!m) {
    s[2] = K - s[0] - s[1];
    return s;
  }
  s[2] = (dm - dc) / L * K;
  s[3] = K - dm / L * K;
  return s;
}
}  // namespace

AgeShares AgeSharesOf(uint32_t f, uint32_t c, uint32_t m, int32_t bodyLength) {
  return Shares(f, c, m, bodyLength);
}

AgeShares GameTimeSharesOf(uint64_t f, uint64_t c, uint64_t m, uint64_t L) {
  return Shares(static_cast<double>(f), static_cast<double>(c), static_cast<double>(m), static_cast<double>(L));
}

void ComputeAgeShares(ReplayDocument& doc, const std::array<std::array<uint32_t, 3>, kSlots>& t,
                      int32_t bodyLength) {
  for (int i = 0; i < kSlots; ++i)
    doc.graphRows[i].shares = AgeSharesOf(t[i][0], t[i][1], t[i][2], bodyLength);
}

}  // namespace q2
