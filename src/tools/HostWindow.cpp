#include "tools/HostWindow.h"

#include <algorithm>
#include <cstdint>

namespace qel::host {
namespace {

constexpr const char* kHostClass = "QelHostWindow";
constexpr const char* kFrameClass = "QelHostFrame";
constexpr UINT kTickMilliseconds = 100;

HostWindow* ticking = nullptr;

// A timer of the thread, not of the window: it ticks in every message loop
// of the thread, message boxes' included, also once the window is gone.
void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (ticking) ticking->RunTick();
}

}  // namespace

LRESULT CALLBACK HostWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<HostWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self) return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
        case WM_LBUTTONDOWN:
            ++self->clicks_.downs;
            return 0;
        case WM_LBUTTONUP:
            ++self->clicks_.ups;
            self->clicks_.lastTick = GetTickCount();
            self->clicks_.lastX = static_cast<int16_t>(LOWORD(lParam));
            self->clicks_.lastY = static_cast<int16_t>(HIWORD(lParam));
            if (self->destroyOnClick_) self->Destroy();
            return 0;
        case WM_DESTROY:
            self->window_ = nullptr;
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

bool HostWindow::Create(bool nested) {
    WNDCLASSA type{};
    type.lpfnWndProc = Procedure;
    type.hInstance = GetModuleHandleA(nullptr);
    type.hCursor = LoadCursor(nullptr, IDC_ARROW);
    type.hbrBackground = GetSysColorBrush(COLOR_APPWORKSPACE);
    type.lpszClassName = kHostClass;
    RegisterClassA(&type);
    type.lpszClassName = kFrameClass;
    type.lpfnWndProc = DefWindowProcA;
    RegisterClassA(&type);
    constexpr DWORD kTopStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE;
    if (!nested) {
        window_ = CreateWindowExA(0, kHostClass, "qelhost", kTopStyle, 20, 20, 640, 480, nullptr, nullptr,
                                  type.hInstance, this);
    } else {
        HWND frame = CreateWindowExA(0, kFrameClass, "qelhost", kTopStyle, 20, 20, 640, 480, nullptr, nullptr,
                                     type.hInstance, nullptr);
        window_ = CreateWindowExA(0, kHostClass, "", WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE, 10, 10, 600, 420,
                                  frame, nullptr, type.hInstance, this);
    }
    if (!window_) return false;
    ticking = this;
    SetTimer(nullptr, 0, kTickMilliseconds, Tick);
    return true;
}

void HostWindow::Destroy() {
    if (window_ && IsWindow(window_)) DestroyWindow(GetAncestor(window_, GA_ROOT));
    window_ = nullptr;
}

double Milliseconds() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

bool Pump(DWORD milliseconds, const std::function<bool()>& done, double* longest) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            const double began = Milliseconds();
            TranslateMessage(&message);
            DispatchMessageA(&message);
            if (longest) *longest = std::max(*longest, Milliseconds() - began);
        }
        if (done()) return true;
        const DWORD passed = GetTickCount() - start;
        if (passed >= milliseconds) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - passed, QS_ALLINPUT);
    }
}

}  // namespace qel::host
