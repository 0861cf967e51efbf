// The one place that includes <windows.h>, at the XP level the product runs on.
#pragma once

#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0501
#undef WINVER
#define WINVER 0x0501

#include <windows.h>

#include <string>

namespace corrivo::win32 {

// Owns a kernel handle.
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(HANDLE h) : h_(h) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(UniqueHandle&& o) noexcept : h_(o.release()) {}
  UniqueHandle& operator=(UniqueHandle&& o) noexcept {
    if (this != &o) reset(o.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  HANDLE get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr && h_ != INVALID_HANDLE_VALUE; }
  HANDLE release() {
    HANDLE h = h_;
    h_ = nullptr;
    return h;
  }
  void reset(HANDLE h = nullptr) {
    if (*this) CloseHandle(h_);
    h_ = h;
  }

 private:
  HANDLE h_ = nullptr;
};

// Owns a module loaded with LoadLibrary.
class UniqueModule {
 public:
  explicit UniqueModule(HMODULE m = nullptr) : m_(m) {}
  ~UniqueModule() {
    if (m_) FreeLibrary(m_);
  }
  UniqueModule(const UniqueModule&) = delete;
  UniqueModule& operator=(const UniqueModule&) = delete;
  HMODULE get() const { return m_; }
  explicit operator bool() const { return m_ != nullptr; }

 private:
  HMODULE m_;
};

// Looks an export up and casts it to its type; the cast goes through a plain function
// pointer so that the compiler does not warn about incompatible function types.
template <typename Fn>
Fn GetProc(HMODULE module, const char* name) {
  if (!module) return nullptr;
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// Full path of a file in the system folder (never the current or the program's folder).
// `fileName` in the system folder; empty when the system folder is unknown (never the bare
// name, which the search order would look for beside the program first).
std::wstring SystemFilePath(const wchar_t* fileName);

// Loads a system library by its full path in the system folder (its own dependencies are then
// looked for there too); null when it cannot be loaded. For libraries that only some repairs
// need, so that start-up does not load them.
HMODULE LoadSystemLibrary(const wchar_t* fileName);

// True for a 32-bit process on 64-bit Windows.
bool IsWow64Process();

// File-system redirection off for the life of the object on WOW64, so that the native
// System32 is seen; does nothing elsewhere. Both kernel32 functions are resolved before the
// switch, so nothing is loaded while redirection is off.
class Wow64FsRedirectionOff {
 public:
  Wow64FsRedirectionOff();
  ~Wow64FsRedirectionOff();
  Wow64FsRedirectionOff(const Wow64FsRedirectionOff&) = delete;
  Wow64FsRedirectionOff& operator=(const Wow64FsRedirectionOff&) = delete;

 private:
  void* state_ = nullptr;
  bool switched_ = false;
};

}  // namespace corrivo::win32
