// The Ansible playbook: one task per step, ansible.windows.win_regedit for the registry and
// win_command for the commands, in the plan's order. Like the program, a failed step does not
// stop the ones after it: each task registers its result and its failure is ignored, so the
// play recap counts them.
#include "catalog/export.h"

#include "catalog/reg_file.h"
#include "sysaccess/text.h"

namespace corrivo::exporting {
namespace {

// ansible-lint's default limit is 160; names are folded well before it.
constexpr std::size_t kNameWidth = 100;

const wchar_t* DriveRoot(RegRoot root) {
  switch (root) {
    case RegRoot::ClassesRoot: return L"HKCR:";
    case RegRoot::CurrentUser: return L"HKCU:";
    case RegRoot::LocalMachine: return L"HKLM:";
    case RegRoot::Users: return L"HKU:";
    case RegRoot::CurrentConfig: return L"HKCC:";
  }
  return L"";
}

bool IsTemplate(const std::wstring& text) {
  return text.find(L"{{") != std::wstring::npos || text.find(L"{%") != std::wstring::npos ||
         text.find(L"{#") != std::wstring::npos;
}

std::wstring DoubleQuoted(const std::wstring& text) {
  static const wchar_t digits[] = L"0123456789ABCDEF";
  std::wstring out;
  for (wchar_t c : text) {
    if (c == L'"' || c == L'\\') {
      out += L'\\';
      out += c;
    } else if (c < 0x20 || c == 0x7F) {
      out += L"\\x";
      out += digits[(c >> 4) & 15];
      out += digits[c & 15];
    } else {
      out += c;
    }
  }
  return out;
}

// A YAML scalar that reads back as exactly `text`, and that Ansible does not take as a
// template when it holds template brackets. Short printable text is single-quoted; anything
// else is double-quoted, and long text goes on over lines ending in a backslash, which joins
// them without a blank (broken only between two characters that are not blanks, as blanks at
// the start of a line would be lost).
std::wstring Scalar(const std::wstring& text, std::size_t indent = 0) {
  constexpr std::size_t kChunk = 110;
  bool printable = true;
  for (wchar_t c : text) printable = printable && c >= 0x20 && c != 0x7F;
  std::wstring out = IsTemplate(text) ? L"!unsafe " : L"";
  if (printable && text.size() <= kChunk) {
    out += L"'";
    for (wchar_t c : text) out += c == L'\'' ? std::wstring(L"''") : std::wstring(1, c);
    return out + L"'";
  }
  out += L"\"";
  std::size_t start = 0;
  while (text.size() - start > kChunk) {
    std::size_t cut = start + kChunk;
    while (cut > start + 1 && (text[cut] == L' ' || text[cut - 1] == L' ')) --cut;
    if (cut == start + 1) break;  // no place to break: one long line
    out += DoubleQuoted(text.substr(start, cut - start)) + L"\\\n" + std::wstring(indent + 2, L' ');
    start = cut;
  }
  return out + DoubleQuoted(text.substr(start)) + L"\"";
}

// Task names are display text: single blanks, no template brackets.
std::wstring NameText(const std::wstring& text) {
  std::wstring out;
  for (wchar_t c : text) {
    if (c < 0x20 || c == L' ') {
      if (!out.empty() && out.back() != L' ') out += L' ';
    } else if ((c == L'{' || c == L'%' || c == L'#') && !out.empty() && out.back() == L'{') {
      out += L' ';
      out += c;
    } else {
      out += c;
    }
  }
  while (!out.empty() && out.back() == L' ') out.pop_back();
  return out;
}

class Playbook {
 public:
  void Line(const std::wstring& line) { text_ += line + L"\n"; }
  std::wstring Text() const { return text_; }

  // Comment lines in the task list, at the tasks' indentation, wrapped like the names.
  void Comment(const std::wstring& text) {
    for (const std::wstring& line : Wrap(NameText(text))) Line(L"    # " + line);
  }

  void Name(const std::wstring& text) {
    if (text.size() <= kNameWidth) {
      Line(L"    - name: " + Scalar(text, 6));
      return;
    }
    // A folded block: the lines are joined again with single blanks.
    Line(L"    - name: >-");
    for (const std::wstring& line : Wrap(text)) Line(L"        " + line);
  }

 private:
  static std::vector<std::wstring> Wrap(const std::wstring& text) {
    std::vector<std::wstring> lines(1);
    for (const std::wstring& word : Split(text, L' ')) {
      if (!lines.back().empty() && lines.back().size() + 1 + word.size() > kNameWidth) lines.emplace_back();
      lines.back() += (lines.back().empty() ? L"" : L" ") + word;
    }
    return lines;
  }

  std::wstring text_;
};

std::wstring PathOf(const Step& s) {
  const std::wstring plain = PlainKeyPath(s.key);
  return std::wstring(DriveRoot(s.root)) + L"\\" + plain;
}

void RegistryTask(Playbook& book, const Step& s) {
  book.Line(L"      ansible.windows.win_regedit:");
  book.Line(L"        path: " + Scalar(PathOf(s), 8));
  const bool valueStep = s.kind != StepKind::DeleteKey && s.kind != StepKind::CreateKey;
  // Without a name the module works on the key's default value.
  if (valueStep && !s.name.empty()) book.Line(L"        name: " + Scalar(s.name, 8));
  switch (s.kind) {
    case StepKind::WriteDword:
      book.Line(L"        data: " + std::to_wstring(static_cast<std::uint32_t>(s.dword)));
      book.Line(L"        type: dword");
      book.Line(L"        state: present");
      break;
    case StepKind::WriteString:
    case StepKind::WriteExpandString:
      // A tab in a value is data, not layout.
      book.Line(L"        data: " + Scalar(s.text, 8) +
                (s.text.find(L'\t') != std::wstring::npos ? L"  # noqa: no-tabs" : L""));
      book.Line(std::wstring(L"        type: ") + (s.kind == StepKind::WriteString ? L"string" : L"expandstring"));
      book.Line(L"        state: present");
      break;
    case StepKind::DeleteValue:
      book.Line(L"        state: absent");
      // Without a name, "absent" would take the whole key unless told otherwise.
      if (s.name.empty()) book.Line(L"        delete_key: false");
      break;
    case StepKind::DeleteKey:
      book.Line(L"        state: absent");
      book.Line(L"        delete_key: true");
      break;
    case StepKind::CreateKey: book.Line(L"        state: present"); break;
    default: break;
  }
}

}  // namespace

ExportResult WritePlaybook(const std::vector<RepairPlan>& repairs, WindowsVersion windows, const ExportOptions& options) {
  ExportResult result;
  for (const RepairPlan& r : repairs) {
    std::wstring refused;
    for (std::size_t i = 0; i < r.plan.size(); ++i)
      if (IsProgramOnly(r.plan[i])) refused += (refused.empty() ? L"" : L", ") + StepLabel(i, r.plan[i]);
    if (!refused.empty() && !options.registryOnly)
      result.error += L"repair " + std::to_wstring(r.id) + L" has steps only Corrivo can do: " + refused + L"\n";
  }
  if (!result.error.empty()) return result;

  const std::wstring version = VersionName(windows);
  Playbook book;
  book.Line(L"---");
  book.Line(L"# Corrivo repairs for Windows " + version + L", written from the program's own plans.");
  book.Line(L"# Registry steps under HKCU apply to the user Ansible connects as, not to other users.");
  book.Line(L"# As in the program, a failed step does not stop the steps after it.");
  book.Line(L"- name: " + Scalar(L"Corrivo repairs for Windows " + version));
  book.Line(L"  hosts: all");
  // The facts give the system folder, where the program starts its commands.
  book.Line(L"  gather_facts: true");
  book.Line(L"  tasks:");
  bool anyTask = false;
  for (const RepairPlan& r : repairs) {
    std::wstring caption = r.caption;
    if (!caption.empty() && caption.back() == L'.') caption.pop_back();
    const std::wstring title = L"Corrivo " + std::to_wstring(r.id) + L": " + NameText(caption);
    // What the step before left behind, for a step that runs only when that one failed.
    enum class Previous { Registered, Succeeded, LeftOut } previous = Previous::Succeeded;
    std::wstring previousVariable;
    std::wstring leftOut;
    for (std::size_t i = 0; i < r.plan.size(); ++i) {
      const Step& s = r.plan[i];
      const bool conditional = s.condition == StepCondition::IfPreviousFailed;
      bool keep = ChangesRegistry(s) || (!options.registryOnly && (s.kind == StepKind::Run || s.kind == StepKind::Wait));
      // A pause always succeeds, so its fallback never runs; a step left out here cannot have
      // succeeded, so its fallback always does.
      if (conditional && previous == Previous::Succeeded) keep = false;
      if (!keep) {
        if (s.kind != StepKind::Succeed) leftOut += (leftOut.empty() ? L"" : L", ") + StepLabel(i, s);
        if (!conditional) previous = s.kind == StepKind::Succeed ? Previous::Succeeded : Previous::LeftOut;
        continue;
      }
      const std::wstring variable = L"corrivo_" + std::to_wstring(r.id) + L"_" + std::to_wstring(i + 1);
      book.Name(title + L": step " + std::to_wstring(i + 1));
      if (s.kind == StepKind::Wait) {
        book.Line(L"      ansible.builtin.pause:");
        book.Line(L"        seconds: " + std::to_wstring((s.ms + 999) / 1000));
      } else if (s.kind == StepKind::Run) {
        book.Line(L"      ansible.windows.win_command:");
        book.Line(L"        cmd: " + Scalar(L"cmd.exe " + s.text, 8));
        book.Line(L"        chdir: '{{ ansible_env.SystemRoot }}\\System32'");
      } else {
        RegistryTask(book, s);
      }
      if (conditional && previous == Previous::Registered) book.Line(L"      when: " + previousVariable + L" is failed");
      if (s.kind == StepKind::Wait) {
        previous = Previous::Succeeded;
      } else {
        if (s.kind == StepKind::Run) book.Line(L"      changed_when: true");
        book.Line(L"      register: " + variable);
        book.Line(L"      ignore_errors: true");
        previous = Previous::Registered;
        previousVariable = variable;
      }
      anyTask = true;
    }
    if (!leftOut.empty()) book.Comment(title + L": left out " + leftOut);
  }
  if (!anyTask) {
    book.Line(L"    - name: " + Scalar(L"Corrivo: nothing to change on Windows " + version));
    book.Line(L"      ansible.builtin.meta: noop");
  }
  result.ok = true;
  result.text = book.Text();
  return result;
}

}  // namespace corrivo::exporting
