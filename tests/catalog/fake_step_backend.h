// A special-step backend that records every call in order and answers as a test tells it.
#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "catalog/step_backend.h"

namespace corrivo::testing {

class FakeSpecialBackend : public SpecialStepBackend {
 public:
  // 201
  bool shellLinkAvailable = true;
  bool saveSucceeds = true;
  std::vector<ShellLinkFields> links;
  std::vector<std::wstring> savedFiles;
  std::function<void()> onSave;  // runs after each save

  // 205
  std::set<std::wstring> existingFiles;
  bool loadSucceeds = true;
  bool hasFunc = true;
  bool sessionAvailable = true;
  std::uint32_t sessionId = 1;
  bool funcAnswer = true;
  std::wstring reply = L"1";
  bool replyUnterminated = false;  // fill the whole buffer without a terminating null
  struct FuncCall {
    std::wstring target;
    std::wstring request;
    std::uint32_t requestBytes = 0;
    std::uint32_t replySizeBefore = 0;
    bool replyZeroed = false;
  };
  std::vector<FuncCall> funcCalls;
  int librariesOpen = 0;

  // 209
  InetcplOutcome inetcplOutcome = InetcplOutcome::Called;

  // Every call, in order: "CreateShellLink", "Save <file>", "FileExists <path>", "Load <path>",
  // "HasFunc", "SessionId", "Func", "Unload", "Reset <path>".
  std::vector<std::wstring> events;

  std::unique_ptr<ShellLinkObject> CreateShellLink(const ShellLinkFields& fields) override;
  bool FileExists(const std::wstring& path) override;
  std::unique_ptr<HomePageLibrary> LoadHomePageLibrary(const std::wstring& fullPath) override;
  bool CurrentSessionId(std::uint32_t* id) override;
  InetcplOutcome ResetIEToDefaults(const std::wstring& inetcplPath) override;
};

}  // namespace corrivo::testing
