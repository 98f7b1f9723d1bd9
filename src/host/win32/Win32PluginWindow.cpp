#include "host/win32/Win32PluginWindow.h"

#include <commctrl.h>

#include "host/ModuleQueries.h"
#include "host/PluginState.h"
#include "platform/TempFolder.h"
#include "platform/win32/Win32Dialogs.h"
#include "platform/win32/Win32ListBox.h"
#include "platform/win32/Win32Module.h"
#include "player/ioplug.h"

namespace qel::win32 {

namespace {

constexpr const char* kFormClass = "Tformplug";
constexpr const char* kApplicationClass = "TQelApplication";
constexpr UINT_PTR kTimerId = 1;
// Posted to the application window behind the modules' messages at every
// change of the play (the mark is in wParam).
constexpr UINT kPlayMarkMessage = WM_APP + 1;
// Posted to the form window by the title reader's thread when titles wait.
constexpr UINT kTitlesMessage = WM_APP + 2;
constexpr DWORD kChildStyle = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
constexpr DWORD kTopStyle = WS_POPUP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
constexpr UINT_PTR kHostWatchId = 0x51E1;

HWND applicationWindow = nullptr;

RECT ToRect(const ViewRect& r) { return {r.left, r.top, r.left + r.width, r.top + r.height}; }

// The application window hands what modules send and post to the window
// object, which decides; without one there is nothing to answer or end.
LRESULT CALLBACK ApplicationProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Tformplug* form = Plugin().form;
    try {
        FormCall call;
        switch (message) {
            case kModuleQueryMessage:
                return LibraryQueries().Answer(form, static_cast<int32_t>(wParam), static_cast<int32_t>(lParam));
            case kModuleEndOfFileMessage:
                if (form) form->pl.EndOfFileMessage();
                return 0;
            case kPlayMarkMessage:
                if (form) form->pl.PlayMarkReached(static_cast<uint32_t>(wParam));
                return 0;
            default:
                break;
        }
    } catch (...) {
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// The host window of a detached form: when it goes, the form goes with it,
// whether the host is a top-level window (which owns the form) or a child.
LRESULT CALLBACK HostWatch(HWND host, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR form) {
    if (message == WM_DESTROY) {
        HWND window = reinterpret_cast<HWND>(form);
        RemoveWindowSubclass(host, HostWatch, kHostWatchId);
        if (IsWindow(window)) DestroyWindow(window);
    }
    return DefSubclassProc(host, message, wParam, lParam);
}

// Windows of the library that outlive the library's code would run unmapped
// code at their next message: they answer with the default handling instead.
BOOL CALLBACK Disarm(HWND window, LPARAM) {
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DefWindowProcA));
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    return TRUE;
}

void UnregisterClasses() {
    UnregisterClassA(kFormClass, ThisModule());
    UnregisterClassA(kApplicationClass, ThisModule());
    Win32ListBox::UnregisterFrameClass();
}

}  // namespace

HWND ApplicationWindow() {
    if (applicationWindow && IsWindow(applicationWindow)) return applicationWindow;
    EnsureWindowClass(kApplicationClass, ApplicationProcedure);
    applicationWindow = CreateWindowExA(WS_EX_TOOLWINDOW, kApplicationClass, "qelplugin", WS_POPUP, 0, 0, 0, 0,
                                        nullptr, nullptr, ThisModule(), nullptr);
    return applicationWindow;
}

void ReleaseLibrary() {
    if (Plugin().form) return;
    LibraryModules().UnloadAll();
    if (applicationWindow) DestroyWindow(applicationWindow);
    applicationWindow = nullptr;
    UnregisterClasses();
}

void ForgetLibraryWindows() {
    if (Tformplug* form = Plugin().form) {
        form->StopTitlesWhileUnloading();
        auto& window = static_cast<Win32PluginWindow&>(form->window());
        HWND handle = window.handle();
        RemoveWindowSubclass(static_cast<HWND>(window.HostHandle()), HostWatch, kHostWatchId);
        EnumChildWindows(handle, Disarm, 0);
        Disarm(handle, 0);
        DestroyWindow(handle);
        Plugin().form = nullptr;
    }
    if (applicationWindow) {
        Disarm(applicationWindow, 0);
        DestroyWindow(applicationWindow);
        applicationWindow = nullptr;
    }
    UnregisterClasses();
}

Win32PluginWindow::Win32PluginWindow(HWND host, HWND parent) : host_(host) {
    EnsureWindowClass(kFormClass, &Win32PluginWindow::Procedure, CS_DBLCLKS);

    font_ = CreateFontA(FormDesign::kFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, FormDesign::kFontCharset,
                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                        FormDesign::kFontName);
    window_ = CreateWindowExA(WS_EX_CONTROLPARENT, kFormClass, FormDesign::kCaption, kChildStyle, 0, 0,
                              FormDesign::kClientWidth, FormDesign::kClientHeight, parent, nullptr, ThisModule(),
                              this);
    if (!window_) throw std::runtime_error("the plug-in window cannot be created");

    listView_ = std::make_unique<Win32ListBox>(window_, FormDesign::kListBounds, true);
    dialogs_ = std::make_unique<Win32Dialogs>(host_);
    LibraryModules().SetMainWindow(ApplicationWindow());
    form_ = std::make_unique<Tformplug>(FormPorts{*this, *listView_, *dialogs_, SystemPlayerPorts(), SystemFiles(),
                                                  TempFolder()});
    form_->pl.On_playchange = [](uint32_t mark) { PostMessageA(ApplicationWindow(), kPlayMarkMessage, mark, 0); };
}

Win32PluginWindow::~Win32PluginWindow() {
    form_.reset();
    listView_.reset();
    dialogs_.reset();
    if (font_) DeleteObject(font_);
}

void Win32PluginWindow::SetBounds(const ViewRect& b) {
    SetWindowPos(window_, nullptr, b.left, b.top, b.width, b.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

ViewRect Win32PluginWindow::Bounds() const {
    RECT r{};
    GetWindowRect(window_, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(window_), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

ViewRect Win32PluginWindow::ClientRect() const {
    RECT r{};
    GetClientRect(window_, &r);
    return {0, 0, r.right, r.bottom};
}

void Win32PluginWindow::SetVisible(bool visible) { ShowWindow(window_, visible ? SW_SHOW : SW_HIDE); }

void Win32PluginWindow::AttachToHost() {
    RemoveWindowSubclass(host_, HostWatch, kHostWatchId);
    if (!(GetWindowLongA(window_, GWL_STYLE) & WS_CHILD)) SetWindowLongPtrA(window_, GWLP_HWNDPARENT, 0);
    SetWindowLongA(window_, GWL_STYLE, (GetWindowLongA(window_, GWL_STYLE) & ~WS_POPUP) | WS_CHILD);
    SetParent(window_, host_);
}

// A detached form is owned by the host's top-level window: it stays above
// it, stays off the taskbar and is destroyed with it; a host that is itself
// a child window is watched so that the form goes when the host goes.
void Win32PluginWindow::DetachFromParent() {
    SetParent(window_, nullptr);
    SetWindowLongA(window_, GWL_STYLE, (GetWindowLongA(window_, GWL_STYLE) & ~WS_CHILD) | WS_POPUP);
    SetWindowLongPtrA(window_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(GetAncestor(host_, GA_ROOT)));
    SetWindowSubclass(host_, HostWatch, kHostWatchId, reinterpret_cast<DWORD_PTR>(window_));
}

void Win32PluginWindow::PostHostClick(int32_t x, int32_t y) {
    // X and Y as two separate 16-bit halves, so a negative X does not borrow from Y.
    const LPARAM position = MAKELPARAM(static_cast<uint16_t>(x), static_cast<uint16_t>(y));
    PostMessageA(host_, WM_LBUTTONDOWN, MK_LBUTTON, position);
    PostMessageA(host_, WM_LBUTTONUP, 0, position);
}

void Win32PluginWindow::PostTitlesWaiting() { PostMessageA(window_, kTitlesMessage, 0, 0); }

void Win32PluginWindow::SetTimerEnabled(bool enabled) {
    if (enabled == timerOn_) return;
    timerOn_ = enabled;
    if (enabled)
        SetTimer(window_, kTimerId, FormDesign::kTimerIntervalMs, nullptr);
    else
        KillTimer(window_, kTimerId);
}

void Win32PluginWindow::SetPictureBounds(const ViewRect& bounds) {
    InvalidatePicture();
    pictureBounds_ = bounds;
    InvalidatePicture();
}

void Win32PluginWindow::SetPictureVisible(bool visible) {
    pictureVisible_ = visible;
    InvalidatePicture();
}

bool Win32PluginWindow::LoadPicture(const std::string& path, PictureKind kind) {
    if (!picture_.Load(path, kind)) return false;
    InvalidatePicture();
    return true;
}

void Win32PluginWindow::ShowMessage(const std::string& text) {
    MessageBoxA(host_, text.c_str(), "qelplugin", MB_OK);
}

void Win32PluginWindow::InvalidatePicture() {
    const RECT r = ToRect(pictureBounds_);
    InvalidateRect(window_, &r, TRUE);
}

void Win32PluginWindow::Paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window_, &paint);
    RECT client{};
    GetClientRect(window_, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    // The caption label lies under the picture, the playlist box above both.
    HGDIOBJ oldFont = SelectObject(dc, font_);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    RECT label = ToRect(FormDesign::kLabelBounds);
    DrawTextA(dc, FormDesign::kLabelCaption, -1, &label, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, oldFont);
    if (pictureVisible_ && !picture_.Empty()) picture_.Draw(dc, ToRect(pictureBounds_));
    EndPaint(window_, &paint);
}

LRESULT CALLBACK Win32PluginWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        static_cast<Win32PluginWindow*>(create->lpCreateParams)->window_ = window;
    }
    auto* self = reinterpret_cast<Win32PluginWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self) return DefWindowProcA(window, message, wParam, lParam);
    try {
        FormCall call;
        return self->Handle(message, wParam, lParam);
    } catch (...) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

LRESULT Win32PluginWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCHITTEST: {
            const LRESULT answer = DefWindowProcA(window_, message, wParam, lParam);
            // In the movable modes the whole uncovered window drags it.
            return Plugin().windowMode != 0 && answer == HTCLIENT ? HTCAPTION : answer;
        }
        case WM_TIMER:
            if (wParam == kTimerId && form_) form_->tm1Timer();
            return 0;
        case kTitlesMessage:
            if (form_) form_->TitlesArrived();
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            Paint();
            return 0;
        case WM_DESTROY:
            RemoveWindowSubclass(host_, HostWatch, kHostWatchId);
            if (form_) {
                try {
                    form_->WmDestroy();
                } catch (...) {
                }
            }
            SetTimerEnabled(false);
            break;
        case WM_NCDESTROY: {
            // The object goes once no call into it is left on the stack (this
            // message may come inside a message box of one of its own calls);
            // with the last window object go the modules, the application
            // window and the window classes.
            const LRESULT result = DefWindowProcA(window_, message, wParam, lParam);
            SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
            if (Plugin().form == form_.get()) Plugin().form = nullptr;
            ReleaseWhenIdle([this] {
                delete this;
                ReleaseLibrary();
            });
            return result;
        }
        default:
            break;
    }
    return DefWindowProcA(window_, message, wParam, lParam);
}

}  // namespace qel::win32
