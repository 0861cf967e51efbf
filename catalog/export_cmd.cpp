// The batch file: reg.exe for the registry steps, cmd.exe for the commands, ping for the pauses
// (XP has no timeout.exe), and the console twin beside the file for repairs with steps only the
// program can do. Every step's failure is reported and counted; the exit code says whether any
// step failed.
#include "catalog/export.h"

#include "catalog/reg_file.h"
#include "sysaccess/text.h"

namespace corrivo::exporting {
namespace {

constexpr const wchar_t* kCrLf = L"\r\n";

const wchar_t* ShortRoot(RegRoot root) {
  switch (root) {
    case RegRoot::ClassesRoot: return L"HKCR";
    case RegRoot::CurrentUser: return L"HKCU";
    case RegRoot::LocalMachine: return L"HKLM";
    case RegRoot::Users: return L"HKU";
    case RegRoot::CurrentConfig: return L"HKCC";
  }
  return L"";
}

// One argument as the C runtime splits a command line: backslashes are literal except before
// a quote, where they and the quote are escaped.
std::wstring ArgQuoted(const std::wstring& text) {
  std::wstring out = L"\"";
  std::size_t slashes = 0;
  for (wchar_t c : text) {
    if (c == L'\\') {
      ++slashes;
      continue;
    }
    if (c == L'"') {
      out.append(slashes * 2 + 1, L'\\');
    } else {
      out.append(slashes, L'\\');
    }
    slashes = 0;
    out += c;
  }
  out.append(slashes * 2, L'\\');
  return out + L"\"";
}

// A command line as the batch file must spell it so that the program started gets exactly
// `line`: "%" doubled everywhere, and outside quotes (as the batch parser counts them) the
// characters that would split or redirect the line escaped with a caret.
std::wstring BatchLiteral(const std::wstring& line) {
  std::wstring out;
  bool quoted = false;
  for (wchar_t c : line) {
    if (c == L'"') quoted = !quoted;
    if (c == L'%') {
      out += L"%%";
      continue;
    }
    if (!quoted && (c == L'^' || c == L'&' || c == L'|' || c == L'<' || c == L'>' || c == L'(' || c == L')'))
      out += L'^';
    out += c;
  }
  return out;
}

// Comment text: printable ASCII only, and nothing a batch parser might act on around REM.
std::wstring RemText(const std::wstring& text) {
  std::wstring out;
  for (wchar_t c : text) {
    if (c == L'%') {
      out += L"%%";
    } else if (c == L'^' || c == L'&' || c == L'|' || c == L'<' || c == L'>' || c < 0x20 || c > 0x7E) {
      out += L' ';
    } else {
      out += c;
    }
  }
  return out;
}

bool IsAscii(const std::wstring& text) {
  for (wchar_t c : text)
    if (c < 0x20 || c > 0x7E) return false;
  return true;
}

// Redirections go after the command: Wine's cmd.exe does not take "2>" in front of one. After
// an odd number of quotes they would be read into the last argument, so such a line
// keeps its output.
std::wstring Quietly(const std::wstring& command, const wchar_t* redirection) {
  std::size_t quotes = 0;
  for (wchar_t c : command) quotes += c == L'"';
  return quotes % 2 == 0 ? command + redirection : command;
}

std::wstring KeyArg(const Step& s) {
  const std::wstring plain = PlainKeyPath(s.key);
  return ArgQuoted(std::wstring(ShortRoot(s.root)) + (plain.empty() ? L"" : L"\\" + plain));
}

std::wstring NameArgs(const Step& s) { return s.name.empty() ? std::wstring(L"/ve") : L"/v " + ArgQuoted(s.name); }

// Seconds of ping between its echoes: one more echo than whole seconds asked for.
std::wstring PauseLine(std::uint32_t ms) {
  return L"ping -n " + std::to_wstring((ms + 999) / 1000 + 1) + L" 127.0.0.1 >nul";
}

class Batch {
 public:
  void Line(const std::wstring& line) { text_ += line + kCrLf; }
  std::wstring Text() const { return text_; }

  // The lines of one step; they leave the step's result in %ok%.
  void StepLines(const std::wstring& label, const Step& s) {
    switch (s.kind) {
      case StepKind::WriteDword:
        Checked(L"reg add " + KeyArg(s) + L" " + NameArgs(s) + L" /t REG_DWORD /d " +
                std::to_wstring(static_cast<std::uint32_t>(s.dword)) + L" /f");
        break;
      case StepKind::WriteString:
      case StepKind::WriteExpandString:
        Checked(L"reg add " + KeyArg(s) + L" " + NameArgs(s) + L" /t " +
                (s.kind == StepKind::WriteString ? L"REG_SZ" : L"REG_EXPAND_SZ") + L" /d " + ArgQuoted(s.text) + L" /f");
        break;
      case StepKind::DeleteValue:
        // Like the program, a value that is not there counts as deleted.
        Line(L"set ok=1");
        Line(Quietly(BatchLiteral(L"reg query " + KeyArg(s) + L" " + NameArgs(s)), L" >nul 2>&1"));
        Line(L"if errorlevel 1 goto " + label + L"_done");
        Line(Quietly(BatchLiteral(L"reg delete " + KeyArg(s) + L" " + NameArgs(s) + L" /f"), L" >nul"));
        Line(L"if errorlevel 1 set ok=0");
        Line(L":" + label + L"_done");
        break;
      case StepKind::DeleteKey:
        Line(L"set ok=1");
        Line(Quietly(BatchLiteral(L"reg query " + KeyArg(s)), L" >nul 2>&1"));
        Line(L"if errorlevel 1 goto " + label + L"_done");
        Line(Quietly(BatchLiteral(L"reg delete " + KeyArg(s) + L" /f"), L" >nul"));
        Line(L"if errorlevel 1 set ok=0");
        Line(L":" + label + L"_done");
        break;
      case StepKind::CreateKey: Checked(L"reg add " + KeyArg(s) + L" /f"); break;
      case StepKind::Run:
        Line(L"set ok=1");
        Line(L"\"%SystemRoot%\\system32\\cmd.exe\" " + BatchLiteral(s.text));
        Line(L"if errorlevel 1 set ok=0");
        break;
      case StepKind::Wait:
        Line(PauseLine(s.ms));
        Line(L"set ok=1");
        break;
      case StepKind::Special:
      case StepKind::Succeed: Line(L"set ok=1"); break;
    }
  }

 private:
  void Checked(const std::wstring& command) {
    Line(L"set ok=1");
    Line(Quietly(BatchLiteral(command), L" >nul"));
    Line(L"if errorlevel 1 set ok=0");
  }
  std::wstring text_;
};

std::wstring Count(const std::wstring& message) {
  return L"if %ok%==0 set /a failed+=1\r\nif %ok%==0 echo " + message;
}

// The plan's steps in order. Steps only the program can do are reported as failed; with
// `registryOnly` every step that does not change the registry is left out.
void WritePlan(Batch& batch, const RepairPlan& r, const std::wstring& labelPrefix, bool registryOnly) {
  // Like the executor, a plan starts as if a step had succeeded: a fallback first never runs.
  batch.Line(L"set ok=1");
  for (std::size_t i = 0; i < r.plan.size(); ++i) {
    const Step& s = r.plan[i];
    if (registryOnly && !ChangesRegistry(s)) {
      // A step left out cannot have succeeded, so a fallback after it runs; a pause always
      // succeeds; a fallback left out changes nothing, as when it is skipped.
      if (s.condition != StepCondition::IfPreviousFailed)
        batch.Line(s.kind == StepKind::Run || s.kind == StepKind::Special ? L"set ok=0" : L"set ok=1");
      continue;
    }
    const std::wstring where = L"Corrivo " + std::to_wstring(r.id) + L", step " + std::to_wstring(i + 1);
    const std::wstring label = labelPrefix + L"_" + std::to_wstring(i + 1);
    // %ok% still holds the result of the last step that ran.
    if (s.condition == StepCondition::IfPreviousFailed) batch.Line(L"if %ok%==1 goto " + label + L"_skip");
    if (IsProgramOnly(s)) {
      batch.Line(L"set ok=0");
      batch.Line(Count(where + L" failed: only Corrivo.com can do this, and it is not beside this file"));
    } else {
      batch.StepLines(label, s);
      if (s.kind != StepKind::Wait && s.kind != StepKind::Succeed) batch.Line(Count(where + L" failed"));
    }
    if (s.condition == StepCondition::IfPreviousFailed) batch.Line(L":" + label + L"_skip");
  }
}

}  // namespace

ExportResult WriteBatchFile(const std::vector<RepairPlan>& repairs, WindowsVersion windows, const ExportOptions& options) {
  ExportResult result;
  for (const RepairPlan& r : repairs) {
    for (std::size_t i = 0; i < r.plan.size(); ++i) {
      const Step& s = r.plan[i];
      if (options.registryOnly && !ChangesRegistry(s)) continue;
      // A batch file is read in the console's code page, which differs from machine to machine.
      if (!IsAscii(s.key) || !IsAscii(s.name) || !IsAscii(s.text))
        result.error += L"repair " + std::to_wstring(r.id) + L": " + StepLabel(i, s) +
                        L" holds text a batch file cannot carry safely\n";
    }
  }
  if (!result.error.empty()) return result;

  Batch batch;
  batch.Line(L"@echo off");
  batch.Line(std::wstring(L"rem Corrivo repairs for Windows ") + VersionName(windows) +
             L", written from the program's own plans.");
  batch.Line(L"rem Run it as administrator; HKCU entries apply to the user who runs it.");
  batch.Line(L"rem Each failed step is reported; the exit code is 0 when every step succeeded, else 1.");
  batch.Line(L"setlocal EnableExtensions DisableDelayedExpansion");
  // Taken before the folder changes: %~dp0 can go wrong after a change of folder.
  batch.Line(L"set \"corrivo_here=%~dp0\"");
  batch.Line(L"set failed=0");
  batch.Line(L"set ok=1");
  // The program starts its commands in the system folder.
  batch.Line(L"pushd \"%SystemRoot%\\system32\"");
  for (std::size_t n = 0; n < repairs.size(); ++n) {
    const RepairPlan& r = repairs[n];
    const std::wstring prefix = L"corrivo_" + std::to_wstring(n + 1);
    batch.Line(L"");
    batch.Line(L"rem ---- Corrivo " + std::to_wstring(r.id) + L": " + RemText(r.caption));
    bool programOnly = false;
    std::wstring leftOut;
    for (std::size_t i = 0; i < r.plan.size(); ++i) {
      programOnly = programOnly || IsProgramOnly(r.plan[i]);
      if (options.registryOnly && !ChangesRegistry(r.plan[i]) && r.plan[i].kind != StepKind::Succeed)
        leftOut += (leftOut.empty() ? L"" : L", ") + StepLabel(i, r.plan[i]);
    }
    if (options.registryOnly) {
      if (!leftOut.empty()) batch.Line(L"rem Left out: " + RemText(leftOut));
      WritePlan(batch, r, prefix, true);
      continue;
    }
    if (!programOnly) {
      WritePlan(batch, r, prefix, false);
      continue;
    }
    // The console twin runs a whole repair, so a plan with a step only the program can do
    // goes to it whole; without it, everything else still runs here.
    batch.Line(L"if not exist \"%corrivo_here%Corrivo.com\" goto " + prefix + L"_alone");
    batch.Line(L"set ok=1");
    batch.Line(L"\"%corrivo_here%Corrivo.com\" fix " + std::to_wstring(r.id));
    batch.Line(L"if errorlevel 1 set ok=0");
    batch.Line(Count(L"Corrivo " + std::to_wstring(r.id) + L" failed"));
    batch.Line(L"goto " + prefix + L"_end");
    batch.Line(L":" + prefix + L"_alone");
    WritePlan(batch, r, prefix, false);
    batch.Line(L":" + prefix + L"_end");
  }
  batch.Line(L"");
  batch.Line(L"popd");
  batch.Line(L"if %failed%==0 exit /b 0");
  batch.Line(L"echo Failed steps: %failed%");
  batch.Line(L"exit /b 1");
  result.ok = true;
  result.text = batch.Text();
  return result;
}

}  // namespace corrivo::exporting
