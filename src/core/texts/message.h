// A message for the user, as a core operation reports it; the window shows
// it as a modal box, the command-line tool prints it.
#pragma once

#include <string>
#include <vector>

namespace q2 {

inline constexpr const char* kAppTitle = "Quoril2";

enum class MsgIcon { None, Exclamation, Information, Error, Question };
enum class MsgButtons { Ok, YesNo };

struct Message {
  std::string text;  // UTF-8; "\n" separates lines
  std::string caption = kAppTitle;
  MsgIcon icon = MsgIcon::None;
  MsgButtons buttons = MsgButtons::Ok;

  bool operator==(const Message&) const = default;
};

using Messages = std::vector<Message>;

}  // namespace q2
