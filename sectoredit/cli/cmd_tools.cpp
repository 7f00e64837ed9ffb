// sector-cli dump, search, export, import and copy: the editor's tools run
// headless, with the dialogs answered from the command line.
#include <cctype>
#include <charconv>
#include <cstdio>
#include <iostream>
#include <map>
#include <optional>
#include <set>

#include "sectoredit/cli/open_disk.h"
#include "sectoredit/cli/sector_cli_commands.h"
#include "sectoredit/cli/terminal.h"
#include "sectoredit/editor/disk_search.h"
#include "sectoredit/editor/printed_page.h"
#include "sectoredit/editor/sector_tools.h"
#include "sectoredit/editor/sector_view.h"

namespace sectoredit::cli {

namespace {

// The command's positional arguments and its "--name value" options.
struct Parsed {
  std::vector<std::string> positional;
  std::map<std::string, std::string> values;
  std::set<std::string> flags;
};

std::optional<Parsed> Parse(const Args& args, const std::set<std::string>& value_options,
                            const std::set<std::string>& flag_options) {
  Parsed parsed;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (value_options.count(arg)) {
      if (i + 1 >= args.size() || parsed.values.count(arg)) return std::nullopt;
      parsed.values[arg] = args[++i];
    } else if (flag_options.count(arg)) {
      parsed.flags.insert(arg);
    } else if (arg.size() > 1 && arg[0] == '-') {
      return std::nullopt;
    } else {
      parsed.positional.push_back(arg);
    }
  }
  return parsed;
}

std::optional<SectorNumber> Number(const std::string& text) {
  SectorNumber value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// A required numeric option; nullopt when missing or not a sector number.
std::optional<SectorNumber> NumberOption(const Parsed& parsed, const std::string& name) {
  const auto found = parsed.values.find(name);
  return found == parsed.values.end() ? std::nullopt : Number(found->second);
}

int Usage(const char* name, std::string_view reason = {}) {
  if (!reason.empty()) std::cerr << "sector-cli " << name << ": " << reason << "\n";
  return UsageError(*FindCommand(name), std::cerr);
}

// Progress goes to stderr only for a person watching it.
class TerminalProgress {
 public:
  TerminalProgress() : shown_(StderrIsTerminal()) {
    if (shown_)
      progress_.show = [](const std::string& text) { std::cerr << '\r' << text << std::flush; };
  }
  ~TerminalProgress() {
    if (shown_) std::cerr << '\n';
  }
  const ToolProgress& progress() const { return progress_; }

 private:
  bool shown_;
  ToolProgress progress_;
};

// Answers every question Yes when asked to, after printing it.
class AnsweringMessages : public common::Messages {
 public:
  AnsweringMessages(common::Messages& inner, bool yes) : inner_(inner), yes_(yes) {}
  void Show(std::string_view text, std::string_view caption) override {
    inner_.Show(text, caption);
  }
  bool Ask(std::string_view text, std::string_view caption) override {
    return inner_.Ask(text, caption) || yes_;
  }

 private:
  common::Messages& inner_;
  bool yes_;
};

int ExitCode(ToolResult result) { return result == ToolResult::kFailed ? kExitFailure : kExitOk; }

// A row's character columns hold raw bytes; a terminal gets them as dots.
std::string Printable(std::string line) {
  if (line.size() != kPageRowLength) return line;
  for (size_t i = kPageRowLength - 16; i < line.size(); ++i) {
    const auto byte = static_cast<unsigned char>(line[i]);
    if (byte < 0x20 || byte > 0x7E) line[i] = '.';
  }
  return line;
}

// The pattern of --hex or --ascii, entered as the search dialog takes it.
std::optional<std::vector<uint8_t>> SearchPatternOf(const Parsed& parsed, std::string& error) {
  const bool hex = parsed.values.count("--hex") != 0;
  if (hex == (parsed.values.count("--ascii") != 0)) {
    error = "give one of --hex DIGITS or --ascii TEXT";
    return std::nullopt;
  }
  SearchState state;
  if (!hex) {
    const std::string& text = parsed.values.at("--ascii");
    if (text.empty() || text.size() > kMaxAsciiPattern) {
      error = "the text must have 1 to 49 characters";
      return std::nullopt;
    }
    return TakeSearchPattern(state, text);
  }
  ChooseSearchMode(state, true);
  for (char c : parsed.values.at("--hex")) {
    if (c == ' ') continue;
    const auto digit = std::isxdigit(static_cast<unsigned char>(c));
    const uint8_t value = static_cast<uint8_t>(c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10);
    if (!digit || !EnterHexDigit(state, value, c)) {
      error = digit ? "at most 50 hexadecimal digits" : "not a hexadecimal digit";
      return std::nullopt;
    }
  }
  if (state.nibble_count == 0 || !CanStartSearch(state)) {
    error = "an even number of hexadecimal digits is needed";
    return std::nullopt;
  }
  return TakeSearchPattern(state, "");
}

}  // namespace

int RunDump(const Args& args, std::ostream& out, common::Messages& messages) {
  const auto parsed = Parse(args, {}, {});
  if (!parsed || parsed->positional.size() != 2) return Usage("dump");
  const std::optional<SectorNumber> sector = Number(parsed->positional[1]);
  if (!sector) return Usage("dump", "SECTOR must be a sector number");
  const auto opened = OpenDiskArgument(parsed->positional[0], messages);
  if (!opened) return kExitFailure;
  SectorSession& session = opened->session;
  if (!session.LoadSector(*sector, SectorSession::ReadMode::kReported, true)) return kExitFailure;
  for (const std::string& line : PrintedPageLines(*sector, session.state.SectorBuffer)) {
    out << Printable(line) << '\n';
  }
  return kExitOk;
}

int RunSearch(const Args& args, std::ostream& out, common::Messages& messages) {
  const auto parsed = Parse(args, {"--from", "--hex", "--ascii"}, {});
  if (!parsed || parsed->positional.size() != 1) return Usage("search");
  const std::optional<SectorNumber> from = NumberOption(*parsed, "--from");
  if (!from) return Usage("search", "--from S must be a sector number");
  std::string error;
  const auto pattern = SearchPatternOf(*parsed, error);
  if (!pattern) return Usage("search", error);
  const auto opened = OpenDiskArgument(parsed->positional[0], messages);
  if (!opened) return kExitFailure;
  const std::atomic<bool> running{true};
  SearchOutcome outcome;
  {
    const TerminalProgress progress;
    const auto& show = progress.progress().show;
    SectorDevice& disk = opened->session.device();
    outcome = SearchSectors(disk, *from, disk.LastSector(), *pattern, running,
                            [&show](uint64_t offset, uint64_t span) {
                              if (show) show(SearchProgress(offset, span));
                            });
  }
  switch (outcome.kind) {
    case SearchOutcome::kFound:
      out << outcome.sector << '\n';
      return kExitOk;
    case SearchOutcome::kNotFound:
      out << "not found\n";
      return kExitFailure;
    case SearchOutcome::kNoMemory:
      break;
  }
  messages.Show("Insufficient memory to perform search", "Search Error");
  return kExitFailure;
}

int RunExport(const Args& args, std::ostream&, common::Messages& messages) {
  const auto parsed = Parse(args, {"--from", "--count", "-o"}, {});
  if (!parsed || parsed->positional.size() != 1 || !parsed->values.count("-o")) {
    return Usage("export");
  }
  const auto from = NumberOption(*parsed, "--from");
  const auto count = NumberOption(*parsed, "--count");
  if (!from || !count) return Usage("export", "--from S and --count N must be numbers");
  const auto opened = OpenDiskArgument(parsed->positional[0], messages);
  if (!opened) return kExitFailure;
  opened->session.state.CurrentSector = *from;
  PresetFileDialogs files(parsed->values.at("-o"));
  PresetCountDialog counts(*count);
  const TerminalProgress progress;
  return ExitCode(SectorTools(opened->session, files, counts).ExportSectors(progress.progress()));
}

int RunImport(const Args& args, std::ostream&, common::Messages& messages) {
  const auto parsed = Parse(args, {"--from", "--count"}, {"--ignore-errors"});
  if (!parsed || parsed->positional.size() != 2) return Usage("import");
  const auto from = NumberOption(*parsed, "--from");
  if (!from) return Usage("import", "--from S must be a sector number");
  std::optional<SectorNumber> count;
  if (parsed->values.count("--count")) {
    count = NumberOption(*parsed, "--count");
    if (!count) return Usage("import", "--count N must be a number");
  }
  AnsweringMessages answering(messages, parsed->flags.count("--ignore-errors") != 0);
  const auto opened = OpenDiskArgument(parsed->positional[0], answering);
  if (!opened) return kExitFailure;
  opened->session.state.CurrentSector = *from;
  PresetFileDialogs files(parsed->positional[1]);
  PresetCountDialog counts(count);
  const TerminalProgress progress;
  return ExitCode(SectorTools(opened->session, files, counts).ImportSectors(progress.progress()));
}

int RunCopy(const Args& args, std::ostream&, common::Messages& messages) {
  const auto parsed = Parse(args, {"--from", "--to", "--count"}, {});
  if (!parsed || parsed->positional.size() != 1) return Usage("copy");
  const auto from = NumberOption(*parsed, "--from");
  const auto to = NumberOption(*parsed, "--to");
  const auto count = NumberOption(*parsed, "--count");
  if (!from || !to || !count) return Usage("copy", "--from, --to and --count must be numbers");
  const auto opened = OpenDiskArgument(parsed->positional[0], messages);
  if (!opened) return kExitFailure;
  opened->session.state.CurrentSector = *from;
  PresetFileDialogs files("");
  PresetCountDialog counts(std::nullopt);
  const TerminalProgress progress;
  return ExitCode(
      SectorTools(opened->session, files, counts).CopyBlock(*to, *count, progress.progress()));
}

}  // namespace sectoredit::cli
