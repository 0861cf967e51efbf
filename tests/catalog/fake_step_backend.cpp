#include "tests/catalog/fake_step_backend.h"

#include "sysaccess/text.h"

namespace corrivo::testing {
namespace {

class FakeLink : public ShellLinkObject {
 public:
  explicit FakeLink(FakeSpecialBackend& owner) : owner_(owner) {}
  bool SaveTo(const std::wstring& file) override {
    owner_.events.push_back(L"Save " + file);
    owner_.savedFiles.push_back(file);
    if (owner_.onSave) owner_.onSave();
    return owner_.saveSucceeds;
  }

 private:
  FakeSpecialBackend& owner_;
};

class FakeLibrary : public HomePageLibrary {
 public:
  explicit FakeLibrary(FakeSpecialBackend& owner) : owner_(owner) { ++owner_.librariesOpen; }
  ~FakeLibrary() override {
    --owner_.librariesOpen;
    owner_.events.push_back(L"Unload");
  }
  bool HasFunc() override {
    owner_.events.push_back(L"HasFunc");
    return owner_.hasFunc;
  }
  bool CallFunc(const std::wstring& target, const std::wstring& request, std::uint32_t requestBytes,
                std::uint8_t* reply, std::uint32_t* replySize) override {
    owner_.events.push_back(L"Func");
    FakeSpecialBackend::FuncCall call;
    call.target = target;
    call.request = request;
    call.requestBytes = requestBytes;
    call.replySizeBefore = *replySize;
    // Reading the whole buffer also proves (under ASan) that it really is that large.
    call.replyZeroed = true;
    for (std::size_t i = 0; i < kHomePageReplyBytes; ++i) call.replyZeroed = call.replyZeroed && reply[i] == 0;
    owner_.funcCalls.push_back(call);
    if (owner_.replyUnterminated) {
      for (std::size_t i = 0; i < kHomePageReplyBytes; i += 2) {
        reply[i] = '1';
        reply[i + 1] = 0;
      }
    } else {
      std::vector<unsigned char> bytes = WideToUtf16Le(owner_.reply, true);
      for (std::size_t i = 0; i < bytes.size() && i < kHomePageReplyBytes; ++i) reply[i] = bytes[i];
    }
    return owner_.funcAnswer;
  }

 private:
  FakeSpecialBackend& owner_;
};

}  // namespace

std::unique_ptr<ShellLinkObject> FakeSpecialBackend::CreateShellLink(const ShellLinkFields& fields) {
  events.push_back(L"CreateShellLink");
  if (!shellLinkAvailable) return nullptr;
  links.push_back(fields);
  return std::make_unique<FakeLink>(*this);
}

bool FakeSpecialBackend::FileExists(const std::wstring& path) {
  events.push_back(L"FileExists " + path);
  return existingFiles.count(path) > 0;
}

std::unique_ptr<HomePageLibrary> FakeSpecialBackend::LoadHomePageLibrary(const std::wstring& fullPath) {
  events.push_back(L"Load " + fullPath);
  if (!loadSucceeds) return nullptr;
  return std::make_unique<FakeLibrary>(*this);
}

bool FakeSpecialBackend::CurrentSessionId(std::uint32_t* id) {
  events.push_back(L"SessionId");
  if (!sessionAvailable) return false;
  *id = sessionId;
  return true;
}

InetcplOutcome FakeSpecialBackend::ResetIEToDefaults(const std::wstring& inetcplPath) {
  events.push_back(L"Reset " + inetcplPath);
  return inetcplOutcome;
}

}  // namespace corrivo::testing
