#include "console/arguments.h"

#include <algorithm>
#include <initializer_list>

#include "catalog/catalog.h"
#include "sysaccess/text.h"

namespace corrivo::console {
namespace {

constexpr std::size_t kQuotedMax = 40;

enum class Option { Json, Found, RegistryOnly, Windows, Format, Output, NoJournal, Prune };

struct OptionRule {
  const wchar_t* name;
  Option option;
  bool takesValue;
};

constexpr OptionRule kOptions[] = {
    {L"--json", Option::Json, false},       {L"--found", Option::Found, false},
    {L"--registry-only", Option::RegistryOnly, false}, {L"--windows", Option::Windows, true},
    {L"--format", Option::Format, true},    {L"--output", Option::Output, true},
    {L"--no-journal", Option::NoJournal, false}, {L"--prune", Option::Prune, true},
};

struct CommandRule {
  const wchar_t* name;
  Command command;
  std::initializer_list<Option> options;  // besides --json, which every command takes
};

const CommandRule kCommands[] = {
    {L"--version", Command::Version, {}},
    {L"list", Command::List, {}},
    {L"show", Command::Show, {Option::Windows}},
    {L"preview", Command::Preview, {}},
    {L"scan", Command::Scan, {}},
    {L"fix", Command::Fix, {Option::Found, Option::NoJournal}},
    {L"export", Command::Export, {Option::Windows, Option::Format, Option::Output, Option::RegistryOnly}},
    {L"journal", Command::Journal, {Option::Prune}},
    {L"undo", Command::Undo, {Option::NoJournal}},
};

const OptionRule* FindOption(const std::wstring& word) {
  for (const auto& rule : kOptions)
    if (word == rule.name) return &rule;
  return nullptr;
}

const CommandRule* FindCommand(const std::wstring& word) {
  for (const auto& rule : kCommands)
    if (EqualsNoCase(word, rule.name)) return &rule;
  return nullptr;
}

bool LooksLikeOption(const std::wstring& word) { return word.size() > 1 && (word[0] == L'-' || word[0] == L'/'); }

// Plain decimal digits only: "+101", "0x65" or " 101" are not what anyone means by an ID.
bool ParseId(const std::wstring& word, int* id) {
  if (word.empty() || word.size() > 9) return false;
  int value = 0;
  for (wchar_t c : word) {
    if (c < L'0' || c > L'9') return false;
    value = value * 10 + (c - L'0');
  }
  *id = value;
  return true;
}

bool ParseFormat(const std::wstring& word, Format* format) {
  if (EqualsNoCase(word, L"reg")) *format = Format::Reg;
  else if (EqualsNoCase(word, L"cmd")) *format = Format::Cmd;
  else if (EqualsNoCase(word, L"ansible")) *format = Format::Ansible;
  else return false;
  return true;
}

ParsedArguments Fail(std::wstring error) {
  ParsedArguments parsed;
  parsed.error = std::move(error);
  return parsed;
}

std::wstring Named(Command command) { return std::wstring(L"'") + CommandName(command) + L"'"; }

}  // namespace

const wchar_t* CommandName(Command command) {
  for (const auto& rule : kCommands)
    if (rule.command == command) return rule.name;
  return L"--help";
}

const wchar_t* FormatName(Format format) {
  switch (format) {
    case Format::Reg: return L"reg";
    case Format::Cmd: return L"cmd";
    case Format::Ansible: return L"ansible";
  }
  return L"?";
}

std::wstring Quote(const std::wstring& arg) {
  std::wstring shown;
  for (wchar_t c : arg) {
    if (shown.size() == kQuotedMax) {
      shown += L"...";
      break;
    }
    const auto code = static_cast<std::uint32_t>(c);
    shown += (code < 0x20 || (code >= 0x7F && code < 0xA0)) ? L'?' : c;
  }
  return L"'" + shown + L"'";
}

namespace {

ParsedArguments Parse(const std::vector<std::wstring>& args, bool json) {
  // Help anywhere wins over everything else on the line: whoever asks what a command does
  // must never have it run instead.
  for (const auto& arg : args) {
    if (arg == L"/?" || arg == L"--help") {
      ParsedArguments parsed;
      parsed.ok = true;
      parsed.invocation.json = json;
      return parsed;
    }
  }

  Invocation inv;
  inv.json = json;
  const CommandRule* command = nullptr;
  std::vector<std::wstring> words;
  std::vector<const OptionRule*> given;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::wstring& arg = args[i];
    if (!command && FindCommand(arg)) {
      command = FindCommand(arg);
      continue;
    }
    if (!LooksLikeOption(arg)) {
      if (!command) return Fail(L"unknown command " + Quote(arg));
      words.push_back(arg);
      continue;
    }
    const OptionRule* rule = FindOption(arg);
    if (!rule) return Fail(L"unknown option " + Quote(arg));
    if (std::find(given.begin(), given.end(), rule) != given.end() && rule->option != Option::Json)
      return Fail(L"option " + Quote(arg) + L" is given twice");
    given.push_back(rule);
    if (!rule->takesValue) {
      if (rule->option == Option::Found) inv.found = true;
      if (rule->option == Option::RegistryOnly) inv.registryOnly = true;
      if (rule->option == Option::NoJournal) inv.noJournal = true;
      continue;
    }
    // A value that is itself an option means the value was left out.
    if (i + 1 >= args.size() || args[i + 1].empty() || args[i + 1].rfind(L"--", 0) == 0)
      return Fail(L"option " + Quote(arg) + L" needs a value");
    const std::wstring& value = args[++i];
    if (rule->option == Option::Windows) {
      WindowsVersion version;
      if (!ParseVersionName(value, &version))
        return Fail(L"unknown Windows version " + Quote(value) + L" (xp, vista, 7 or 8)");
      inv.windows = version;
    } else if (rule->option == Option::Format) {
      Format format;
      if (!ParseFormat(value, &format)) return Fail(L"unknown export format " + Quote(value) + L" (reg, cmd or ansible)");
      inv.format = format;
    } else if (rule->option == Option::Prune) {
      int days = 0;
      if (!ParseId(value, &days)) return Fail(L"'--prune' takes a number of days, not " + Quote(value));
      inv.pruneDays = days;
    } else {
      inv.output = value;
    }
  }
  if (!command) return Fail(L"no command given");
  inv.command = command->command;

  for (const OptionRule* rule : given) {
    if (rule->option == Option::Json) continue;
    if (std::find(command->options.begin(), command->options.end(), rule->option) == command->options.end())
      return Fail(std::wstring(L"option '") + rule->name + L"' does not apply to " + Named(inv.command));
  }

  if (inv.command == Command::Undo) {
    if (words.size() != 1) return Fail(L"'undo' takes one journal entry, or 'last'");
    inv.entry = words[0];
    words.clear();
  }
  const bool takesIds = inv.command == Command::Show || inv.command == Command::Preview ||
                        inv.command == Command::Fix || inv.command == Command::Export;
  if (!takesIds && !words.empty()) return Fail(Named(inv.command) + L" takes no arguments, not " + Quote(words[0]));
  for (const auto& word : words) {
    int id = 0;
    if (!ParseId(word, &id)) return Fail(Quote(word) + L" is not a repair ID");
    if (!IsCatalogId(id)) return Fail(L"no repair has the ID " + Quote(word));
    if (std::find(inv.ids.begin(), inv.ids.end(), id) == inv.ids.end()) inv.ids.push_back(id);
  }

  switch (inv.command) {
    case Command::Show:
      if (words.size() != 1) return Fail(L"'show' takes one repair ID");
      break;
    case Command::Preview:
      if (inv.ids.empty()) return Fail(L"'preview' needs at least one repair ID");
      break;
    case Command::Fix:
      if (inv.found && !inv.ids.empty()) return Fail(L"'fix --found' takes no repair IDs");
      if (!inv.found && inv.ids.empty()) return Fail(L"'fix' needs repair IDs or --found");
      break;
    case Command::Export:
      if (!inv.format) return Fail(L"'export' needs --format reg, cmd or ansible");
      if (inv.ids.empty()) return Fail(L"'export' needs at least one repair ID");
      break;
    default: break;
  }
  ParsedArguments parsed;
  parsed.ok = true;
  parsed.invocation = std::move(inv);
  return parsed;
}

}  // namespace

ParsedArguments ParseArguments(const std::vector<std::wstring>& args) {
  // Known before anything else, so that even a complaint about the line comes as JSON.
  const bool json = std::find(args.begin(), args.end(), L"--json") != args.end();
  ParsedArguments parsed = Parse(args, json);
  parsed.invocation.json = json;
  return parsed;
}

}  // namespace corrivo::console
