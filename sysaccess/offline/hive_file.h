// One registry hive file of a Windows that is not running (Linux builds only), through hivex.
// A hive opened for reading is never written; one opened for writing changes only in memory
// until Save, which replaces the file whole after keeping a copy of the original beside it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "sysaccess/registry_backend.h"

struct hive_h;

namespace corrivo {

using HiveNode = std::size_t;  // hivex's node handle; 0 is none

class HiveFile {
 public:
  ~HiveFile();
  HiveFile(const HiveFile&) = delete;
  HiveFile& operator=(const HiveFile&) = delete;

  // Opens the hive; null with `error` set (one sentence naming the file) when the file is
  // missing, unreadable, not a hive, damaged, or has changes still in its transaction logs.
  static std::unique_ptr<HiveFile> Open(const std::string& path, bool writable, std::wstring* error);

  const std::string& path() const { return path_; }
  bool writable() const { return writable_; }
  bool changed() const { return changed_; }

  HiveNode Root();
  // The child named `name` (letter case ignored); 0 when absent.
  HiveNode Child(HiveNode node, const std::wstring& name);
  std::vector<std::wstring> ChildNames(HiveNode node);
  std::size_t ChildCount(HiveNode node);
  std::vector<std::wstring> ValueNames(HiveNode node);
  // False when the value is absent.
  bool Value(HiveNode node, const std::wstring& name, RegType* type, std::vector<std::uint8_t>* data);

  // Writes answer a Win32 error code; kAccessDenied for a hive opened for reading.
  long AddChild(HiveNode parent, const std::wstring& name, HiveNode* child);
  long DeleteChild(HiveNode node);
  long SetValue(HiveNode node, const std::wstring& name, RegType type, const std::vector<std::uint8_t>& data);
  long DeleteValue(HiveNode node, const std::wstring& name);

  // Replaces the file with the hive as changed: a copy of the original goes beside it first
  // (`backup` receives its path), the new content to a new file in a private folder beside it,
  // which is then renamed over the original. False with `error` set when any step failed; the
  // original then stands.
  bool Save(std::string* backup, std::wstring* error);

 private:
  HiveFile(hive_h* h, std::string path, bool writable) : h_(h), path_(std::move(path)), writable_(writable) {}
  hive_h* h_;
  std::string path_;
  bool writable_;
  bool changed_ = false;
};

// Why a hive file may not be used as it is: its transaction logs ("<file>.LOG", ".LOG1",
// ".LOG2", any letter case) are newer than it and not empty, so Windows has not yet written
// the latest changes into it. Empty when there is nothing pending.
std::wstring PendingLogProblem(const std::string& hivePath);

// The entry of `folder` named `name` with letter case ignored, as NTFS would find it; the
// path joined as written when there is none.
std::string FindEntryNoCase(const std::string& folder, const std::string& name);

}  // namespace corrivo
