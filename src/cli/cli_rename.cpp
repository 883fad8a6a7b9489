// quoril2-cli rename: the window's two rename commands without the dialogs.
// The format comes from --format (or the default) and no settings are read
// or written.
#include <cstdio>
#include <string>
#include <vector>

#include "platform/console.h"
#include "platform/files.h"
#include "platform/text.h"
#include "core/rename/rename_format.h"
#include "core/rename/rename_run.h"
#include "core/recording/replay_summary.h"

namespace q2::cli {
namespace {

struct Options {
  std::string format = kDefaultRenameFormat;
  bool dryRun = false;
  bool selected = false;
  std::vector<std::string> paths;
};

bool Parse(const std::vector<std::string>& args, Options& o) {
  bool onlyPaths = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (onlyPaths || a.empty() || a[0] != '-' || a == "-") {
      o.paths.push_back(a);
    } else if (a == "--") {
      onlyPaths = true;
    } else if (a == "--dry-run") {
      o.dryRun = true;
    } else if (a == "--selected") {
      o.selected = true;
    } else if (a == "--format") {
      if (++i == args.size()) return false;
      o.format = args[i];
    } else if (a.starts_with("--format=")) {
      o.format = a.substr(9);
    } else {
      return false;
    }
  }
  if (o.paths.empty()) return false;
  return o.selected || o.paths.size() == 1;
}

std::string WithoutTrailingSeparators(std::string p) {
  while (p.size() > 1 && (p.back() == '/' || p.back() == kPathSep)) p.pop_back();
  return p;
}

void PrintFile(const FileRenameResult& f) {
  // Names from old archives are code page 932 bytes: shown decoded, as
  // show --json does.
  const std::string old = DisplayFileName(f.oldName);
  for (const Message& m : f.messages) PrintTo(stderr, "%s: %s\n", old.c_str(), m.text.c_str());
  if (f.skipped) {
    PrintTo(stdout, "%s: 変換対象外\n", old.c_str());
  } else if (f.ok()) {
    PrintTo(stdout, "%s -> %s\n", old.c_str(), f.newName.c_str());
  } else if (f.newName.empty()) {
    PrintTo(stdout, "%s: 失敗 (%s)\n", old.c_str(), FailureText(f.failure).c_str());
  } else {
    PrintTo(stdout, "%s -> %s: 失敗 (%s)\n", old.c_str(), f.newName.c_str(), FailureText(f.failure).c_str());
  }
}

}  // namespace

// Exit code 2 whose message is already printed (cli_main.cpp).
inline constexpr int kExitToldWhy = -2;

int RunRename(const std::vector<std::string>& args) {
  Options o;
  if (!Parse(args, o)) return 2;

  RenameRequest req;
  req.dryRun = o.dryRun;
  if (CompileRenameFormat(o.format, req.format, req.tokens) != 0) {
    PrintTo(stderr, "%s\n", kMsgMalformedFormat);
    return kExitToldWhy;
  }
  if (o.format.empty()) {
    PrintTo(stderr, "%s\n", kMsgEmptyFormat);
    return kExitToldWhy;
  }

  ReplaySummary summary;
  RenameRunResult run;
  Messages end;
  if (o.selected) {
    std::vector<SelectedRecording> files;
    for (const std::string& p : o.paths) {
      // Each file is renamed inside its own folder; "" is the root folder.
      std::string folder = ParentOf(p);
      std::string path = p;
      if (folder.empty() && !(p.starts_with('/') || p.starts_with(kPathSep))) {
        folder = ".";
        path.insert(0, std::string{'.', kPathSep});
      }
      files.push_back({folder, path});
    }
    run = RenameSelectedFiles(files, req, summary);
    end = SelectedOutcomeMessages(run.outcome);
  } else {
    run = RenameDefaultNamedFiles(WithoutTrailingSeparators(o.paths.front()), req, summary);
    end = BulkOutcomeMessages(run.outcome);
  }

  for (const FileRenameResult& f : run.files) PrintFile(f);
  // A dry run renamed nothing: it says what the run would do instead.
  if (o.dryRun && run.outcome != RenameOutcome::NothingToRename)
    end = {{run.outcome == RenameOutcome::Ok ? kMsgDryRunOk : kMsgDryRunSomeFail}};
  for (const Message& m : end) PrintTo(stdout, "%s\n", m.text.c_str());
  std::fflush(stdout);
  if (run.outcome == RenameOutcome::Ok) return 0;
  if (run.outcome == RenameOutcome::NothingToRename) return 3;
  return 1;
}

}  // namespace q2::cli
