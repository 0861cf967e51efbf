// The registry operations every repair, check and start-up detection goes through. Each one
// opens its own key, does one thing, closes it and turns every failure into a plain result.
#pragma once

#include <cstdint>
#include <string>

namespace corrivo {

// What ReadRegInteger answers when it has no DWORD to give.
constexpr std::int32_t RegNoValue = 2147483647;

// GetRegValueState's answers.
enum RegValueState : int {
  kValuePresent = 0,
  kKeyMissing = 1,
  kValueMissing = 2,
  kKeyDenied = -1,
};

bool IsWow64();

bool WriteRegInteger(const std::wstring& root, const std::wstring& keyPath,
                     const std::wstring& valueName, std::int32_t value);
std::int32_t ReadRegInteger(const std::wstring& root, const std::wstring& keyPath,
                            const std::wstring& valueName);
bool DeleteRegValue(const std::wstring& root, const std::wstring& keyPath,
                    const std::wstring& valueName);
int GetRegValueState(const std::wstring& root, const std::wstring& keyPath,
                     const std::wstring& valueName);
bool CreateRegKey(const std::wstring& root, const std::wstring& keyPath);
bool DeleteRegKey(const std::wstring& root, const std::wstring& keyPath);
std::wstring ReadRegString(const std::wstring& root, const std::wstring& keyPath,
                           const std::wstring& valueName);
bool WriteRegString(const std::wstring& root, const std::wstring& keyPath,
                    const std::wstring& valueName, const std::wstring& data);
bool WriteRegExpandString(const std::wstring& root, const std::wstring& keyPath,
                          const std::wstring& valueName, const std::wstring& data);
bool PatchRegBinaryFlags(const std::wstring& root, const std::wstring& keyPath,
                         const std::wstring& valueName);
// Leaves `result` as it was when the value cannot be read.
void ReadRegBinaryFlags(const std::wstring& root, const std::wstring& keyPath,
                        const std::wstring& valueName, std::wstring& result);

}  // namespace corrivo
