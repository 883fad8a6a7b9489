// The document: the data model of the recording shown last. It is never
// saved or loaded; every open overwrites it.
#pragma once

#include "core/recording/replay_summary.h"

namespace q2 {

class CQuoril2Doc {
 public:
  ReplaySummary summary;
  ReplayDocument& replay() { return summary.doc; }
};

}  // namespace q2
