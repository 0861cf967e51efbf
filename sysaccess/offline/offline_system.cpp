#include "sysaccess/offline/offline_system.h"

#include <sys/stat.h>

#include <algorithm>
#include <utility>

#include "sysaccess/memory/stand_ins.h"
#include "sysaccess/text.h"

namespace corrivo {
namespace {

constexpr const wchar_t* kCurrentVersionKey = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
constexpr const wchar_t* kProfileListKey = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";

bool IsFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool IsFolder(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// A Windows path ("C:\Users\bob", "%SystemDrive%\Users\bob") on the mount, each piece found
// with letter case ignored; empty when it is on another drive.
std::string OnMount(const std::string& driveRoot, const std::wstring& windowsPath, const std::wstring& drive) {
  std::wstring rest = windowsPath;
  if (rest.size() >= 2 && rest[1] == L':') {
    if (!EqualsNoCase(rest.substr(0, 2), drive)) return {};
    rest.erase(0, 2);
  } else if (ToLower(rest).rfind(L"%systemdrive%", 0) == 0) {
    rest.erase(0, 13);
  } else {
    return {};
  }
  std::string path = driveRoot;
  for (const std::wstring& piece : Split(rest, L'\\'))
    if (!piece.empty()) path = FindEntryNoCase(path, WideToUtf8(piece));
  return path;
}

std::uint32_t ProductTypeOf(const std::wstring& name) {
  if (EqualsNoCase(name, L"LanmanNT")) return 2;
  if (EqualsNoCase(name, L"ServerNT")) return kProductTypeServer;
  return 1;
}

// The operating system's answers, read from the hives.
class OfflineOperatingSystem : public OperatingSystem {
 public:
  explicit OfflineOperatingSystem(RegistryBackend& registry) : registry_(registry) {
    const Registry reg(registry_);
    windows_ = reg.ReadString(RegRoot::LocalMachine, kCurrentVersionKey, L"SystemRoot");
    if (windows_.empty()) windows_ = L"C:\\Windows";
    while (!windows_.empty() && windows_.back() == L'\\') windows_.pop_back();
  }
  bool QueryVersion(std::uint32_t* major, std::uint32_t* minor, std::uint32_t* productType) override {
    const Registry reg(registry_);
    const std::int32_t bigMajor = reg.ReadInteger(RegRoot::LocalMachine, kCurrentVersionKey, L"CurrentMajorVersionNumber");
    const std::wstring text = reg.ReadString(RegRoot::LocalMachine, kCurrentVersionKey, L"CurrentVersion");
    const std::size_t dot = text.find(L'.');
    if (bigMajor != RegNoValue && bigMajor > 0) {
      *major = static_cast<std::uint32_t>(bigMajor);
      const std::int32_t bigMinor = reg.ReadInteger(RegRoot::LocalMachine, kCurrentVersionKey, L"CurrentMinorVersionNumber");
      *minor = bigMinor == RegNoValue ? 0 : static_cast<std::uint32_t>(bigMinor);
    } else if (dot != std::wstring::npos && dot > 0) {
      try {
        *major = static_cast<std::uint32_t>(std::stoul(text.substr(0, dot)));
        *minor = static_cast<std::uint32_t>(std::stoul(text.substr(dot + 1)));
      } catch (...) {
        return false;
      }
    } else {
      return false;
    }
    *productType = ProductTypeOf(reg.ReadString(RegRoot::LocalMachine,
                                                L"SYSTEM\\CurrentControlSet\\Control\\ProductOptions", L"ProductType"));
    return true;
  }
  std::wstring FolderPath(KnownFolder folder) override {
    if (folder != KnownFolder::ProgramFiles) return {};
    return Registry(registry_).ReadString(RegRoot::LocalMachine, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                                          L"ProgramFilesDir");
  }
  std::wstring WindowsFolder() override { return windows_; }
  std::wstring SystemFolder() override { return windows_ + L"\\system32"; }
  std::wstring TempFolder() override { return {}; }
  std::wstring ProgramFile() override { return {}; }  // the program does not run on that system
  std::wstring ExpandEnvironment(const std::wstring& text, std::size_t capacity) override {
    const std::pair<const wchar_t*, std::wstring> names[] = {
        {L"%SystemRoot%", windows_}, {L"%windir%", windows_}, {L"%SystemDrive%", windows_.substr(0, 2)},
        {L"%ProgramFiles%", FolderPath(KnownFolder::ProgramFiles)}};
    std::wstring out = text;
    for (const auto& [name, value] : names) {
      const std::wstring lower = ToLower(name);
      for (std::size_t at = ToLower(out).find(lower); at != std::wstring::npos && !value.empty();
           at = ToLower(out).find(lower, at + value.size()))
        out.replace(at, lower.size(), value);
    }
    return out.size() < capacity ? out : std::wstring();
  }

 private:
  RegistryBackend& registry_;
  std::wstring windows_;
};

// Files below the Windows folder, found on the mount with letter case ignored, and this
// machine's own files by their Linux paths (the journal, an export); nothing else.
class OfflineFileService : public HostFileService {
 public:
  OfflineFileService(std::string mount, OperatingSystem& os) : mount_(std::move(mount)), os_(os) {}
  bool FileExists(const std::wstring& path) override { return HostFileService::FileExists(Map(path)); }
  bool FolderExists(const std::wstring& folder) override { return HostFileService::FolderExists(Map(folder)); }
  FileRead ReadWholeFile(const std::wstring& path, std::string* bytes) override {
    const std::wstring mapped = Map(path);
    if (mapped.empty()) return FileRead::Unreadable;
    return HostFileService::ReadWholeFile(mapped, bytes);
  }
  bool ReplaceWholeFile(const std::wstring& path, std::string_view bytes) override {
    const std::wstring mapped = Map(path);
    return !mapped.empty() && HostFileService::ReplaceWholeFile(mapped, bytes);
  }
  bool MakeFolder(const std::wstring& folder) override {
    const std::wstring mapped = Map(folder);
    return !mapped.empty() && HostFileService::MakeFolder(mapped);
  }
  bool RemoveFile(const std::wstring& path) override {
    const std::wstring mapped = Map(path);
    return !mapped.empty() && HostFileService::RemoveFile(mapped);
  }
  bool ListFolder(const std::wstring& folder, std::vector<std::wstring>* names) override {
    const std::wstring mapped = Map(folder);
    return !mapped.empty() && HostFileService::ListFolder(mapped, names);
  }
  bool IsFullPath(const std::wstring& path) override {
    if (!path.empty() && path.front() == L'/') return true;
    return path.size() >= 3 && path[1] == L':' && (path[2] == L'\\' || path[2] == L'/');
  }

 private:
  std::wstring Map(const std::wstring& path) const {
    if (!path.empty() && path.front() == L'/') return path;
    const std::wstring windows = os_.WindowsFolder();
    if (path.size() <= windows.size() || !EqualsNoCase(path.substr(0, windows.size()), windows) ||
        path[windows.size()] != L'\\')
      return {};
    std::string mapped = mount_;
    for (const std::wstring& piece : Split(path.substr(windows.size()), L'\\')) {
      if (piece.empty()) continue;
      if (piece == L"." || piece == L"..") return {};
      mapped = FindEntryNoCase(mapped, WideToUtf8(piece));
    }
    return Utf8ToWide(mapped);
  }
  std::string mount_;
  OperatingSystem& os_;
};

class SkippedSteps {
 public:
  void Add(std::wstring what) { list_.push_back(std::move(what)); }
  std::vector<std::wstring> Take() { return std::exchange(list_, {}); }

 private:
  std::vector<std::wstring> list_;
};

// Commands need the running system: each is recorded and answers that it did not start.
class SkippingRunner : public CommandRunner {
 public:
  explicit SkippingRunner(SkippedSteps& skipped) : skipped_(skipped) {}
  bool Run(const std::wstring& parameters, CommandWorld) override {
    skipped_.Add(L"cmd.exe " + parameters);
    return false;
  }

 private:
  SkippedSteps& skipped_;
};

class SkippingShell : public ShellServices {
 public:
  explicit SkippingShell(SkippedSteps& skipped) : skipped_(skipped) {}
  std::unique_ptr<ShellLinkObject> CreateShellLink(const ShellLinkFields& fields) override {
    skipped_.Add(L"shortcut to " + fields.target);
    return nullptr;
  }
  std::unique_ptr<HomePageLibrary> LoadHomePageLibrary(const std::wstring& path) override {
    skipped_.Add(L"load " + path);
    return nullptr;
  }
  bool CurrentSessionId(std::uint32_t*) override { return false; }
  InetcplOutcome ResetIEToDefaults(const std::wstring& path) override {
    skipped_.Add(L"Internet Options reset (" + path + L")");
    return InetcplOutcome::NotLoaded;
  }
  bool KillProcessesByName(const std::wstring& name) override {
    skipped_.Add(L"end every " + name);
    return false;
  }
  void RefreshDesktop() override { skipped_.Add(L"desktop refresh"); }
  void NotifyAssociationsChanged() override {}  // the shell reads them when it next starts

 private:
  SkippedSteps& skipped_;
};

// Nothing on that system is waiting for a pause to end.
class NoWaitClock : public Clock {
 public:
  void SleepMs(std::uint32_t ms) override { now_ += ms; }
  std::uint64_t NowMs() override { return now_; }

 private:
  std::uint64_t now_ = 0;
};

}  // namespace

struct OfflineWindows::Parts {
  std::unique_ptr<HiveFile> software, systemHive, user, userClasses, components;
  std::vector<HiveFile*> All() const {
    return {software.get(), systemHive.get(), user.get(), userClasses.get(), components.get()};
  }
  std::unique_ptr<HiveRegistry> registry;
  std::unique_ptr<OfflineOperatingSystem> os;
  std::unique_ptr<OfflineFileService> files;
  SkippedSteps skipped;
  SkippingRunner runner{skipped};
  SkippingShell shell{skipped};
  NoWaitClock clock;
  std::unique_ptr<System> system;
  std::wstring profile;
};

std::vector<OfflineProfile> ListProfiles(RegistryBackend& software) {
  const Registry reg(software);
  std::vector<OfflineProfile> profiles;
  for (const std::wstring& sid : reg.SubKeyNames(RegRoot::LocalMachine, kProfileListKey)) {
    if (ToLower(sid).rfind(L"s-1-5-21-", 0) != 0) continue;
    std::wstring path = reg.ReadString(RegRoot::LocalMachine, std::wstring(kProfileListKey) + L"\\" + sid,
                                       L"ProfileImagePath");
    while (!path.empty() && path.back() == L'\\') path.pop_back();
    const std::size_t slash = path.rfind(L'\\');
    if (path.empty() || slash == std::wstring::npos) continue;
    profiles.push_back({path.substr(slash + 1), path});
  }
  return profiles;
}

OfflineOpenResult OfflineWindows::Open(const OfflineOptions& options, std::unique_ptr<OfflineWindows>* opened,
                                       std::wstring* error) {
  std::string windows = options.windowsFolder;
  while (windows.size() > 1 && windows.back() == '/') windows.pop_back();
  const std::string config = FindEntryNoCase(FindEntryNoCase(windows, "System32"), "config");
  if (!IsFolder(config)) {
    *error = Utf8ToWide(windows) + L" holds no System32/config folder: name the Windows folder of the mounted "
                                   L"Windows (the one holding System32)";
    return OfflineOpenResult::NotWindows;
  }
  auto parts = std::make_unique<Parts>();
  for (auto [name, hive] : {std::pair{"SOFTWARE", &parts->software}, std::pair{"SYSTEM", &parts->systemHive}}) {
    const std::string path = FindEntryNoCase(config, name);
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
      *error = Utf8ToWide(config) + L" holds no " + Utf8ToWide(name) + L" hive: is this the Windows folder?";
      return OfflineOpenResult::NotWindows;
    }
    if (!(*hive = HiveFile::Open(path, options.writable, error))) return OfflineOpenResult::BadHive;
  }

  if (const std::string path = FindEntryNoCase(config, "COMPONENTS"); IsFile(path)) {
    if (!(parts->components = HiveFile::Open(path, options.writable, error))) return OfflineOpenResult::BadHive;
  }

  // The profiles come from SOFTWARE; their folders sit on the same drive as Windows.
  HiveRegistry machineOnly({parts->software.get(), parts->systemHive.get(), nullptr, nullptr});
  const std::vector<OfflineProfile> profiles = ListProfiles(machineOnly);
  std::wstring names;
  for (const auto& p : profiles) names += (names.empty() ? L"" : L", ") + p.name;
  const OfflineProfile* chosen = nullptr;
  for (const auto& p : profiles)
    if (options.user.empty() ? profiles.size() == 1 : EqualsNoCase(p.name, options.user)) chosen = &p;
  if (!chosen) {
    if (profiles.empty()) *error = L"the SOFTWARE hive lists no user profile, so there is no HKEY_CURRENT_USER to open";
    else if (options.user.empty()) *error = L"this Windows has several user profiles: choose one with --user NAME (" + names + L")";
    else *error = L"no user profile is named '" + options.user + L"' (" + names + L")";
    return OfflineOpenResult::ChooseUser;
  }
  OfflineOperatingSystem machineOs(machineOnly);
  const std::wstring systemRoot = machineOs.WindowsFolder();
  std::string driveRoot = windows;
  for (std::size_t i = 2; i < systemRoot.size(); ++i)
    if (systemRoot[i] == L'\\') driveRoot = driveRoot.substr(0, std::max<std::size_t>(driveRoot.rfind('/'), 1));
  const std::string profileFolder = OnMount(driveRoot, chosen->path, systemRoot.substr(0, 2));
  if (profileFolder.empty() || !IsFolder(profileFolder)) {
    *error = L"the folder of the profile '" + chosen->name + L"' (" + chosen->path + L") is not on this mount";
    return OfflineOpenResult::NotWindows;
  }
  if (!(parts->user = HiveFile::Open(FindEntryNoCase(profileFolder, "NTUSER.DAT"), options.writable, error)))
    return OfflineOpenResult::BadHive;
  // Vista and later keep the user's classes under AppData\Local, XP under Local Settings.
  const std::pair<const char*, const char*> classesFolders[] = {{"AppData", "Local"},
                                                               {"Local Settings", "Application Data"}};
  for (const auto& [first, second] : classesFolders) {
    std::string path = FindEntryNoCase(FindEntryNoCase(profileFolder, first), second);
    path = FindEntryNoCase(FindEntryNoCase(FindEntryNoCase(path, "Microsoft"), "Windows"), "UsrClass.dat");
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) continue;
    if (!(parts->userClasses = HiveFile::Open(path, options.writable, error))) return OfflineOpenResult::BadHive;
    break;
  }

  parts->profile = chosen->name;
  parts->registry = std::make_unique<HiveRegistry>(
      OfflineHives{parts->software.get(), parts->systemHive.get(), parts->user.get(), parts->userClasses.get(),
                   parts->components.get()});
  parts->os = std::make_unique<OfflineOperatingSystem>(*parts->registry);
  parts->files = std::make_unique<OfflineFileService>(windows, *parts->os);
  parts->system = std::make_unique<System>(
      System{*parts->registry, parts->runner, *parts->files, *parts->os, parts->shell, parts->clock});
  opened->reset(new OfflineWindows(std::move(parts)));
  return OfflineOpenResult::Opened;
}

OfflineWindows::OfflineWindows(std::unique_ptr<Parts> parts) : parts_(std::move(parts)) {}
OfflineWindows::~OfflineWindows() = default;
System& OfflineWindows::system() { return *parts_->system; }
HiveRegistry& OfflineWindows::registry() { return *parts_->registry; }
const std::wstring& OfflineWindows::profile() const { return parts_->profile; }
std::vector<std::wstring> OfflineWindows::TakeSkipped() { return parts_->skipped.Take(); }

std::vector<std::string> OfflineWindows::ChangedHives() const {
  std::vector<std::string> changed;
  for (const HiveFile* hive : parts_->All())
    if (hive && hive->changed()) changed.push_back(hive->path());
  return changed;
}

bool OfflineWindows::Save(std::vector<Written>* written, std::wstring* error) {
  for (HiveFile* hive : parts_->All()) {
    if (!hive || !hive->changed()) continue;
    std::string backup;
    if (!hive->Save(&backup, error)) return false;
    written->push_back({Utf8ToWide(hive->path()), Utf8ToWide(backup)});
  }
  return true;
}

}  // namespace corrivo
