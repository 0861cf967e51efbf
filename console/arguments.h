// The grammar of `corrivo <command>`: which words and options exist, which command takes
// which, and what each value may be. Parsing decides nothing about the machine; it only turns
// the arguments into an invocation or one line saying what is wrong with them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "sysaccess/windows_version.h"

namespace corrivo::console {

enum class Command { Help, Version, List, Show, Preview, Scan, Fix, Export, Journal, Undo };
enum class Format { Reg, Cmd, Ansible };

struct Invocation {
  Command command = Command::Help;
  bool json = false;
  std::vector<int> ids;  // in the order given, each once
  std::optional<WindowsVersion> windows;
  std::optional<Format> format;
  std::optional<std::wstring> output;
  bool found = false;
  bool registryOnly = false;
  bool noJournal = false;            // fix and undo: keep no undo journal
  std::optional<int> pruneDays;      // journal --prune DAYS
  std::wstring entry;                // undo: an entry's name or "last"
};

struct ParsedArguments {
  bool ok = false;
  Invocation invocation;
  std::wstring error;  // one line, without the program's name; empty when ok
};

ParsedArguments ParseArguments(const std::vector<std::wstring>& args);

// The command's word as typed ("list", "--version").
const wchar_t* CommandName(Command command);
const wchar_t* FormatName(Format format);

// An argument as an error line may quote it: control characters, which could steer the
// terminal, become "?", and a long one is cut.
std::wstring Quote(const std::wstring& arg);

}  // namespace corrivo::console
