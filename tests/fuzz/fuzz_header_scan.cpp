// HeaderScan (in both games' layouts) and the lobby chat over arbitrary
// inflated headers: every read stays inside the buffer, and the results keep
// their limits.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "core/recording/header_scan.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  for (q2::Edition edition : {q2::Edition::Conquerors, q2::Edition::Kings}) {
    q2::ReplayDocument doc;
    const std::string stale(200, 's');  // longer than any name a header holds
    doc.playerNames[3] = stale;
    q2::Messages messages;
    q2::HeaderScan(doc, data, size, messages, edition);
    if (messages.size() > 1) std::abort();
    for (const std::string& n : doc.playerNames)
      if (n.size() > 127 || n.find('\0') != std::string::npos) std::abort();
    if (doc.playerNames[3] == stale) std::abort();
    for (int32_t t : doc.playerTeams)
      if (t < -128 || t > 127) std::abort();
  }

  q2::ChatText chat;
  q2::CollectLobbyChat(data, size, chat);
  const std::string& s = chat.str();
  if (s.size() >= q2::kChatTextSize) std::abort();
  if (!s.empty() && (s.size() < 2 || s.compare(s.size() - 2, 2, "\r\n") != 0)) std::abort();
  return 0;
}
