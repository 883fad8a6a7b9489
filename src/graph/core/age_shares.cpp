#include "age_shares.h"

namespace q2 {

AgeShares AgeSharesOf(uint32_t f, uint32_t c, uint32_t m, int32_t bodyLength) {
  constexpr double K = 10.0;
  AgeShares s{0, 0, 0, 0};
  const double L = static_cast<double>(bodyLength);
  // An empty body has no time axis: the whole bar is the Dark Age.
  if (f == 0 || bodyLength <= 0) {
    s[0] = K;
    return s;
  }
  const double df = f, dc = c, dm = m;
  s[0] = df / L * K;
  if (c == 0) {
    s[1] = K - s[0];
    return s;
  }
  s[1] = (dc - df) / L * K;
  if (m == 0) {
    s[2] = K - s[0] - s[1];
    return s;
  }
  s[2] = (dm - dc) / L * K;
  s[3] = K - dm / L * K;
  return s;
}

void ComputeAgeShares(ReplayDocument& doc, const std::array<std::array<uint32_t, 3>, kSlots>& t,
                      int32_t bodyLength) {
  for (int i = 0; i < kSlots; ++i)
    doc.graphRows[i].shares = AgeSharesOf(t[i][0], t[i][1], t[i][2], bodyLength);
}

}  // namespace q2
