// Reading a small file whole and rewriting it the way the Windows
// private-profile functions treat a settings file: a write that can't be
// done leaves the file exactly as it was, and a file the user made
// read-only is never written.
#pragma once

#include <string>

namespace q2 {

enum class WholeRead {
  Ok,
  Missing,     // nothing of that name (a write may create it)
  Unreadable,  // there, but not readable whole: never to be rewritten
};

WholeRead ReadSmallFile(const std::string& path, std::string& out);

// Gives the file the content `data`, creating it when it is missing. Refuses
// (false, nothing changed) a read-only file, one this process may not write,
// and anything but a regular file. A link is followed and stays a link; the
// file keeps its mode and owner. The file is replaced in one step where its
// folder allows, else written in place.
bool RewriteFile(const std::string& path, const std::string& data);

}  // namespace q2
