// The commands behind RunCommandLine, each given an invocation that has passed the grammar
// and the refusals that apply to it. They write to the context's streams and answer the exit
// code.
#pragma once

#include <string>
#include <vector>

#include "catalog/repair.h"
#include "console/arguments.h"
#include "console/command_line.h"

namespace corrivo::console {

// One scan item that found its problem.
struct Finding {
  int index;  // in the General Fix list
  int id;     // the repair that fixes it
  const wchar_t* text;
};

// The General Fix scan without its pacing: an item counts when it is offered on this version
// and the check that decides it there runs and finds the problem.
std::vector<Finding> ScanSystem(System& system, const RepairArgs& args);

// The first sentence of the row's caption (or of the scan text for repairs without a row):
// "Enable Task Manager", short enough for a result line.
std::wstring RepairTitle(const Repair& r);

// "this Windows (version 10.0) is not supported; ...": why a command refuses this Windows.
std::wstring UnsupportedWindowsMessage(OperatingSystem& os);

int ListCommand(CommandLineContext& context, const Invocation& inv);
int ShowCommand(CommandLineContext& context, const Invocation& inv, WindowsVersion windows);
int PreviewCommand(CommandLineContext& context, const Invocation& inv, const RepairArgs& args);
int ScanCommand(CommandLineContext& context, const Invocation& inv, const RepairArgs& args);
int FixCommand(CommandLineContext& context, const Invocation& inv, const RepairArgs& args);
int ExportCommand(CommandLineContext& context, const Invocation& inv, WindowsVersion windows);
// The undo journal: the list of entries (or --prune), and undo of one entry. Both need
// context.journal.
int JournalCommand(CommandLineContext& context, const Invocation& inv);
int UndoCommand(CommandLineContext& context, const Invocation& inv, const RepairArgs& args);

// One line on the error stream: "corrivo: <message>" (a JSON object with --json); a usage
// error adds the usage text. Answers `code`.
int ReportError(CommandLineContext& context, bool json, int code, const std::wstring& message);

}  // namespace corrivo::console
