// The base of every skinned control: a real child window with a control identifier, its
// caption as window text, double-buffered painting, mouse events and a hint.
#pragma once

#include <functional>
#include <string>

#include "widgets/win32/gdi.h"

namespace corrivo::ui::win32 {

class Overlays;

// Sent by a container to the child that a WM_COMMAND, WM_NOTIFY or WM_DRAWITEM came from, so
// that each control handles its own notifications. wParam/lParam as in the original message;
// the original message number travels in the MSG-like struct below.
constexpr UINT kReflectMessage = WM_APP + 0x301;
struct Reflected {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

// What a window procedure answers when its handler threw. No C++ exception may leave a window
// procedure: the unwinder cannot cross the system's frames between it and the message loop, and
// the process would end. The message then gets the default handling (which also validates a
// window that failed to paint); a window whose creation failed is not created.
LRESULT AnswerAfterException(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, WNDPROC baseProc = nullptr) noexcept;

class Control {
 public:
  Control() = default;
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  HWND hwnd() const { return hwnd_; }
  int Id() const { return id_; }
  const std::wstring& Name() const { return name_; }
  // The control behind a window this layer created, or null.
  static Control* FromHwnd(HWND hwnd);
  // For a window just made outside this layer (the main window): it has no children yet, so
  // the stacking order of the controls made on it is known without asking.
  static void NoteFreshParent(HWND fresh);

  void SetBounds(const Rect& r);
  Rect Bounds() const;  // in the parent's client coordinates
  Size ClientSize() const;
  void SetVisible(bool visible);
  bool Visible() const;
  void SetEnabled(bool enabled);
  bool Enabled() const;
  void BringToFront();
  void SendToBack();
  void Invalidate(bool now = false, bool withChildren = false);
  std::wstring Text() const;
  void SetText(const std::wstring& text);
  void SetCursor(LPCWSTR systemCursor) { cursor_ = systemCursor; }
  void SetFont(HFONT font);  // not owned
  HFONT FontHandle() const { return font_; }
  // Paints this control's client area into `dc` (for a transparent child's backdrop).
  void PrintClient(HDC dc);
  // Hands a WM_COMMAND, WM_NOTIFY or WM_DRAWITEM to the control it came from; false when that
  // window is not one of ours.
  static bool ReflectToChild(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);

  // Events, raised on the window thread. Any mouse button counts for down and up.
  std::function<void()> OnClick;
  std::function<void()> OnDoubleClick;
  std::function<void()> OnMouseEnter;
  std::function<void()> OnMouseLeave;
  std::function<void(Point)> OnMouseMove;  // client coordinates
  std::function<void(Point)> OnMouseDown;
  std::function<void(Point)> OnMouseUp;

 protected:
  // Registers (once) a window class of this name whose procedure routes to the object. The
  // windows of a class share one device context: they paint only through BeginPaint, one at a
  // time on the window thread, and a shared context spares making one for every window shown.
  static void RegisterControlClass(const wchar_t* className, UINT style = CS_DBLCLKS | CS_CLASSDC);
  bool CreateWindowFor(const wchar_t* className, HWND parent, int id, const std::wstring& name,
                       const Rect& r, DWORD style, DWORD exStyle = 0, const std::wstring& text = {});
  // For windows of the system's classes (BUTTON, SysListView32): attach after CreateWindowEx.
  void Attach(HWND hwnd, int id, const std::wstring& name);

  virtual void Paint(HDC dc, const RECT& client) {}
  // Answers WM_PAINT: Paint into a buffer, a band of rows at a time, each band shown whole.
  void PaintBuffered();
  // A transparent control first paints what lies behind it: its parent's background and the
  // siblings below it.
  virtual bool Transparent() const { return false; }
  // Pictures that lie over this window and the controls inside it (see Panel::SetDecoration).
  virtual const Overlays* DecorationsOverChildren() const { return nullptr; }
  virtual LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);
  virtual LRESULT OnReflect(const Reflected& r) { return 0; }
  LRESULT Default(UINT msg, WPARAM wp, LPARAM lp);
  void PaintBackdrop(HDC dc);
  // Draws the decorations of this window and of the windows it lies in (innermost first).
  void PaintDecorations(HDC dc);
  virtual bool RepaintsOnHover() const { return true; }
  bool Hot() const { return hot_; }
  bool Pressed() const { return pressed_; }

  WNDPROC baseProc_ = nullptr;  // the system class's procedure when subclassed

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void Bind(HWND hwnd);
  void TrackLeave();
  LRESULT RouteChildNotification(UINT msg, WPARAM wp, LPARAM lp);

  HWND hwnd_ = nullptr;
  int id_ = 0;
  std::wstring name_;
  LPCWSTR cursor_ = nullptr;
  HFONT font_ = nullptr;
  bool hot_ = false;
  bool pressed_ = false;
};

}  // namespace corrivo::ui::win32
