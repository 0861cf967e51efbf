#include "catalog/preview.h"

#include <map>
#include <set>
#include <tuple>
#include <utility>

#include "catalog/catalog.h"
#include "catalog/hosts_file.h"
#include "catalog/reg_file.h"
#include "catalog/shell_steps.h"
#include "sysaccess/text.h"

namespace corrivo {
namespace {

constexpr const wchar_t* kArrow = L" \u2192 ";

std::vector<std::uint8_t> DwordBytes(std::int32_t value) {
  const auto v = static_cast<std::uint32_t>(value);
  return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v >> 16),
          static_cast<std::uint8_t>(v >> 24)};
}

std::vector<std::uint8_t> TextBytes(const std::wstring& text) {
  const auto units = WideToUtf16Le(text, true);
  return {units.begin(), units.end()};
}

// The registry as the plan's earlier steps would leave it: their writes, deletions and keys on
// top of the real registry, which is only ever read. Keys and names are compared without
// regard to letter case, as the registry compares them.
class Overlay {
 public:
  explicit Overlay(Registry real) : real_(real) {}

  bool KeyExists(RegRoot root, const std::wstring& key) const {
    const std::wstring k = Norm(key);
    if (present_.count({root, k})) return true;
    if (Deleted(root, k)) return false;
    return real_.KeyExists(root, key);
  }

  std::optional<RegistryValue> Read(RegRoot root, const std::wstring& key, const std::wstring& name) const {
    const std::wstring k = Norm(key);
    const auto it = values_.find({root, k, ToLower(name)});
    if (it != values_.end()) return it->second;
    if (Deleted(root, k)) return std::nullopt;
    return real_.ReadValue(root, key, name);
  }

  void Write(RegRoot root, const std::wstring& key, const std::wstring& name, const RegistryValue& value) {
    values_[{root, Norm(key), ToLower(name)}] = value;
    MarkPresent(root, Norm(key));
  }

  void Delete(RegRoot root, const std::wstring& key, const std::wstring& name) {
    if (KeyExists(root, key)) values_[{root, Norm(key), ToLower(name)}] = std::nullopt;
  }

  void DeleteKey(RegRoot root, const std::wstring& key) {
    const std::wstring k = Norm(key);
    if (k.empty()) return;  // the registry never deletes a root
    std::erase_if(values_, [&](const auto& entry) {
      return std::get<0>(entry.first) == root && Under(std::get<1>(entry.first), k);
    });
    std::erase_if(present_, [&](const auto& entry) { return entry.first == root && Under(entry.second, k); });
    deleted_.emplace_back(root, k);
  }

  void CreateKey(RegRoot root, const std::wstring& key) { MarkPresent(root, Norm(key)); }

 private:
  static std::wstring Norm(const std::wstring& key) { return ToLower(PlainKeyPath(key)); }
  static bool Under(const std::wstring& key, const std::wstring& top) {
    return key == top || (key.size() > top.size() && key.compare(0, top.size(), top) == 0 && key[top.size()] == L'\\');
  }
  bool Deleted(RegRoot root, const std::wstring& k) const {
    for (const auto& [r, top] : deleted_)
      if (r == root && Under(k, top)) return true;
    return false;
  }
  void MarkPresent(RegRoot root, const std::wstring& k) {
    for (std::size_t slash = k.find(L'\\'); slash != std::wstring::npos; slash = k.find(L'\\', slash + 1))
      present_.insert({root, k.substr(0, slash)});
    present_.insert({root, k});
  }

  Registry real_;
  std::map<std::tuple<RegRoot, std::wstring, std::wstring>, std::optional<RegistryValue>> values_;
  std::set<std::pair<RegRoot, std::wstring>> present_;
  std::vector<std::pair<RegRoot, std::wstring>> deleted_;
};

// Lines of the old file matched in order against the new; old lines left over are dropped,
// new lines left over are added. The rewrite only drops lines and appends, so an in-order
// match gives exactly its changes.
HostsPreview PreviewHosts(System& system, WindowsVersion windows) {
  HostsPreview preview;
  const std::wstring path = HostsFilePath(system);
  std::string bytes;
  if (path.empty() || system.files.ReadWholeFile(path, &bytes) == FileRead::Unreadable) {
    preview.readable = false;
    return preview;
  }
  const auto before = SplitHostsLines(DecodeHostsBytes(system.files, bytes));
  const auto after = TransformHostsLines(before, windows);
  std::size_t j = 0;
  for (const std::wstring& line : before) {
    if (j < after.size() && line == after[j]) {
      ++j;
    } else {
      preview.removed.push_back(line);
    }
  }
  preview.added.assign(after.begin() + static_cast<std::ptrdiff_t>(j), after.end());
  return preview;
}

// The key a step really acts on: the plan's own spelling, unless the registry sends the root
// elsewhere (HKCU to the desktop user's hive); then the preview names where it goes.
std::pair<RegRoot, std::wstring> Located(const Registry& registry, RegRoot root, const std::wstring& key) {
  const RegistryLocation at = registry.Locate(root, key);
  if (at.root == root && EqualsNoCase(PlainKeyPath(at.subkey), PlainKeyPath(key))) return {root, key};
  return {at.root, L"\\" + at.subkey};
}

// The folders are read when the step runs; this is where they point now.
std::wstring ShortcutNote(const Registry& real, Overlay& registry) {
  std::wstring saved, missing;
  const auto [root, key] = Located(real, RegRoot::CurrentUser, kShellFoldersKey);
  for (const wchar_t* folder : {L"Desktop", L"Start Menu"}) {
    const auto value = registry.Read(root, key, folder);
    std::wstring path;
    if (value && (value->type == RegType::Sz || value->type == RegType::ExpandSz) && value->data.size() >= 2)
      path = Utf16LeToWide(value->data.data(), value->data.size() - 2);
    std::wstring& list = path.empty() ? missing : saved;
    list += std::wstring(list.empty() ? L"" : L" and ") +
            (path.empty() ? std::wstring(folder) : L"\"" + path + L"\\" + kIEShortcutName + L".lnk\"");
  }
  std::wstring note = L"saves the Internet Explorer shortcut";
  if (!saved.empty()) note += L" as " + saved;
  if (!missing.empty()) note += L"; no folder is set for " + missing;
  return note;
}

// Adds what the special step will do; answers whether it is expected to succeed (false where
// that cannot be told in advance).
bool PreviewSpecial(System& system, const Step& s, Overlay& overlay, RepairPreview& out) {
  switch (s.special) {
    case SpecialStep::CreateIEShortcuts: out.notes.push_back(ShortcutNote(system.registry(), overlay)); return true;
    case SpecialStep::RequestHomePageProtection:
      out.notes.push_back(std::wstring(L"asks ") + kHomePageLibraryName +
                          L" beside the program to protect the home page; cannot be previewed");
      return false;
    case SpecialStep::ResetIEToDefaults:
      out.notes.push_back(L"starts the Internet Options reset; cannot be previewed");
      return true;
    case SpecialStep::PatchStickyNotesFlags: {
      // The key is opened by creating it, even when the value then turns out to be unusable.
      if (!overlay.KeyExists(s.root, s.key)) out.keys.push_back(KeyPreview{s.root, s.key, false, false});
      overlay.CreateKey(s.root, s.key);
      ValuePreview v{s.root, s.key, s.name, overlay.Read(s.root, s.key, s.name), std::nullopt,
                     s.condition == StepCondition::IfPreviousFailed};
      v.after = v.now;
      const bool patchable = v.now && v.now->data.size() > 4;
      if (patchable) {
        v.after->type = RegType::Binary;
        v.after->data[4] = static_cast<std::uint8_t>((v.after->data[4] & 0xF0) | 0x03);
        overlay.Write(s.root, s.key, s.name, *v.after);
      } else {
        out.notes.push_back(L"the shell state value is missing or too short; the patch will fail");
      }
      out.values.push_back(std::move(v));
      return patchable;
    }
    case SpecialStep::KillExplorer:
      out.notes.push_back(L"ends every explorer.exe: the desktop and taskbar go until Explorer starts again");
      return false;
    case SpecialStep::RewriteHostsFile:
      out.hosts = PreviewHosts(system, static_cast<WindowsVersion>(s.dword));
      return out.hosts->readable;
    case SpecialStep::RefreshDesktop: out.notes.push_back(L"makes the desktop redraw its icons"); return true;
    case SpecialStep::None: break;
  }
  return false;
}

std::wstring ValueLabel(RegRoot root, const std::wstring& key, const std::wstring& name) {
  return FullKeyName(root, key) + L" [" + (name.empty() ? std::wstring(L"(default)") : name) + L"]";
}

std::wstring TypeName(RegType type) {
  switch (type) {
    case RegType::None: return L"REG_NONE";
    case RegType::Sz: return L"REG_SZ";
    case RegType::ExpandSz: return L"REG_EXPAND_SZ";
    case RegType::Binary: return L"REG_BINARY";
    case RegType::Dword: return L"REG_DWORD";
    case RegType::MultiSz: return L"REG_MULTI_SZ";
    case RegType::Qword: return L"REG_QWORD";
  }
  return L"type " + std::to_wstring(static_cast<std::uint32_t>(type));
}

std::wstring HexBytes(const std::vector<std::uint8_t>& data) {
  static const wchar_t digits[] = L"0123456789ABCDEF";
  std::wstring out;
  for (std::uint8_t b : data) {
    out += L' ';
    out += digits[b >> 4];
    out += digits[b & 15];
  }
  return out;
}

// The strings of a text value, cut at each terminator.
std::vector<std::wstring> Texts(const std::vector<std::uint8_t>& data) {
  std::vector<std::wstring> out;
  std::size_t start = 0;
  for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
    if (data[i] == 0 && data[i + 1] == 0) {
      out.push_back(Utf16LeToWide(data.data() + start, i - start));
      start = i + 2;
    }
  }
  if (start < data.size() || out.empty()) out.push_back(Utf16LeToWide(data.data() + start, (data.size() - start) & ~std::size_t{1}));
  while (out.size() > 1 && out.back().empty()) out.pop_back();
  return out;
}

}  // namespace

RepairPreview PreviewRepair(System& system, int id, const RepairArgs& args) {
  RepairPreview out = PreviewPlan(system, PlanFor(id, args));
  out.id = id;
  return out;
}

RepairPreview PreviewPlan(System& system, const Plan& plan) {
  RepairPreview out;
  Overlay overlay(system.registry());
  // What the preview expects of the step before: registry steps, commands and pauses succeed,
  // a special step as far as it can tell in advance.
  bool previousSucceeds = true;
  const Registry real = system.registry();
  for (std::size_t i = 0; i < plan.size(); ++i) {
    Step s = plan[i];
    if (!s.key.empty()) std::tie(s.root, s.key) = Located(real, s.root, s.key);
    const bool conditional = s.condition == StepCondition::IfPreviousFailed;
    // A fallback that is not expected to run is still shown, but later steps do not see it.
    const bool expectedToRun = !conditional || !previousSucceeds;
    Overlay scratch = overlay;
    Overlay& target = expectedToRun ? overlay : scratch;
    const std::size_t notesBefore = out.notes.size();
    bool succeeds = true;
    auto value = [&](std::optional<RegistryValue> after) {
      out.values.push_back(ValuePreview{s.root, s.key, s.name, target.Read(s.root, s.key, s.name), after, conditional});
      if (after) {
        target.Write(s.root, s.key, s.name, *after);
      } else {
        target.Delete(s.root, s.key, s.name);
      }
    };
    switch (s.kind) {
      case StepKind::WriteDword: value(RegistryValue{RegType::Dword, DwordBytes(s.dword)}); break;
      case StepKind::WriteString: value(RegistryValue{RegType::Sz, TextBytes(s.text)}); break;
      case StepKind::WriteExpandString: value(RegistryValue{RegType::ExpandSz, TextBytes(s.text)}); break;
      case StepKind::DeleteValue: value(std::nullopt); break;
      case StepKind::DeleteKey:
        out.keys.push_back(KeyPreview{s.root, s.key, target.KeyExists(s.root, s.key), true});
        target.DeleteKey(s.root, s.key);
        break;
      case StepKind::CreateKey:
        out.keys.push_back(KeyPreview{s.root, s.key, target.KeyExists(s.root, s.key), false});
        target.CreateKey(s.root, s.key);
        break;
      case StepKind::Run: out.commands.push_back(CommandPreview{s.text, system.os.SystemFolder()}); break;
      case StepKind::Wait: out.notes.push_back(L"waits " + std::to_wstring(s.ms) + L" ms"); break;
      case StepKind::Special: succeeds = PreviewSpecial(system, s, target, out) || s.alwaysSucceeds; break;
      case StepKind::Succeed: break;
    }
    if (expectedToRun) previousSucceeds = succeeds;
    if (conditional && s.kind != StepKind::WriteDword && s.kind != StepKind::WriteString &&
        s.kind != StepKind::WriteExpandString && s.kind != StepKind::DeleteValue) {
      out.notes.insert(out.notes.begin() + static_cast<std::ptrdiff_t>(notesBefore),
                       L"step " + std::to_wstring(i + 1) + L" runs only if the step before it fails");
    }
  }
  return out;
}

Plan LocatePlan(const Registry& registry, Plan plan) {
  for (Step& s : plan)
    if (!s.key.empty()) std::tie(s.root, s.key) = Located(registry, s.root, s.key);
  return plan;
}

std::wstring DescribeValue(const std::optional<RegistryValue>& value, bool deleted) {
  if (!value) return deleted ? L"deleted" : L"absent";
  const RegistryValue& v = *value;
  switch (v.type) {
    case RegType::Dword:
      if (v.data.size() == 4)
        return L"REG_DWORD " + std::to_wstring(v.data[0] | (v.data[1] << 8) | (v.data[2] << 16) |
                                               (static_cast<std::uint32_t>(v.data[3]) << 24));
      break;
    case RegType::Qword:
      if (v.data.size() == 8) {
        std::uint64_t n = 0;
        for (int i = 7; i >= 0; --i) n = (n << 8) | v.data[i];
        return L"REG_QWORD " + std::to_wstring(n);
      }
      break;
    case RegType::Sz:
    case RegType::ExpandSz:
    case RegType::MultiSz: {
      if (v.data.size() % 2 != 0) break;
      std::wstring out = TypeName(v.type);
      for (const std::wstring& text : Texts(v.data)) out += L" \"" + text + L"\"";
      return out;
    }
    default: break;
  }
  return TypeName(v.type) + HexBytes(v.data);
}

std::wstring FormatPreview(const RepairPreview& preview) {
  std::wstring out;
  auto line = [&out](const std::wstring& text) { out += text + L"\n"; };
  for (const ValuePreview& v : preview.values) {
    std::wstring text = ValueLabel(v.root, v.key, v.name) + L": " + DescribeValue(v.now) + kArrow +
                        DescribeValue(v.after, v.now.has_value());
    if (v.now == v.after) text += L" (unchanged)";
    if (v.conditional) text += L" (only if the step before it fails)";
    line(text);
  }
  for (const KeyPreview& k : preview.keys) {
    const std::wstring name = FullKeyName(k.root, k.key);
    if (k.deletes) {
      line(name + L": " + (k.existsNow ? L"key deleted with everything in it" : L"absent, nothing to delete"));
    } else {
      line(name + L": " + (k.existsNow ? L"key exists already" : L"key created"));
    }
  }
  for (const CommandPreview& c : preview.commands) line(L"runs cmd.exe " + c.parameters + L"  in " + c.folder);
  if (preview.hosts) {
    if (!preview.hosts->readable) {
      line(L"hosts file: cannot be read, so the repair leaves it alone");
    } else if (preview.hosts->removed.empty() && preview.hosts->added.empty()) {
      line(L"hosts file: unchanged");
    } else {
      line(L"hosts file:");
      for (const std::wstring& l : preview.hosts->removed) line(L"- " + l);
      for (const std::wstring& l : preview.hosts->added) line(L"+ " + l);
    }
  }
  for (const std::wstring& note : preview.notes) line(L"note: " + note);
  if (out.empty()) line(L"nothing to change");
  return out;
}

}  // namespace corrivo
