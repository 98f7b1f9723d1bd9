// JPEG backgrounds through the built plug-in: the picture's colours show,
// stretched over the window, where the playlist box leaves it uncovered; a
// file that cannot be used keeps the picture that was there.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "support/TestFiles.h"

namespace qel::test {
namespace {

const std::string kLibrary = std::string(QEL_BINARY_DIR) + "/bin/qelplugin.dll";

template <typename F>
F Export(HMODULE library, const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

bool Near(COLORREF seen, COLORREF want) {
    const auto close = [](int a, int b) { return std::abs(a - b) <= 48; };
    return close(GetRValue(seen), GetRValue(want)) && close(GetGValue(seen), GetGValue(want)) &&
           close(GetBValue(seen), GetBValue(want));
}

class BackgroundJpegTest : public ::testing::Test {
protected:
    void SetUp() override {
        library_ = LoadLibraryA(kLibrary.c_str());
        ASSERT_NE(library_, nullptr) << kLibrary;
        host_ = CreateWindowExA(0, "STATIC", "background test", WS_POPUP | WS_VISIBLE, 0, 0, 320, 240, nullptr,
                                nullptr, nullptr, nullptr);
        ASSERT_NE(host_, nullptr);
        Export<void(__cdecl*)(HWND)>(library_, "SetParentWindow")(host_);
        Export<void(__cdecl*)(int32_t, int32_t, int32_t, int32_t, int32_t)>(library_, "Draw")(0, kLeft, kTop, 200,
                                                                                              150);
        // The playlist box covers the window; moving it 100 pixels right
        // uncovers the picture's left half.
        SetData(100);
        Call("setstep");
        SetData(1);
        Call("moveplug");
    }
    void TearDown() override {
        if (host_) DestroyWindow(host_);
        Pump();
    }

    void SetData(int32_t value) { Export<int32_t(__cdecl*)(int32_t)>(library_, "SetData")(value); }
    void Call(const char* name) { Export<void(__cdecl*)()>(library_, name)(); }
    void SetFon(const std::string& path) {
        Export<void(__cdecl*)(const char*)>(library_, "SetFile")(path.c_str());
        Call("setfon");
    }

    // The colour on screen at (x, y) of the plug-in window's client area.
    COLORREF At(int x, int y) {
        RedrawWindow(host_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Pump();
        POINT p{kLeft + x, kTop + y};
        ClientToScreen(host_, &p);
        HDC screen = GetDC(nullptr);
        const COLORREF colour = GetPixel(screen, p.x, p.y);
        ReleaseDC(nullptr, screen);
        return colour;
    }

    // The 64x48 picture stretched to 200x150: its top half shows above y 75.
    void ExpectHalves(COLORREF top, COLORREF bottom, const std::string& after) {
        EXPECT_PRED2(Near, At(50, 30), top) << "top half after " << after;
        EXPECT_PRED2(Near, At(90, 70), top) << "top half after " << after;
        EXPECT_PRED2(Near, At(10, 80), bottom) << "bottom half after " << after;
        EXPECT_PRED2(Near, At(50, 140), bottom) << "bottom half after " << after;
    }

    static constexpr int kLeft = 10;
    static constexpr int kTop = 20;
    HMODULE library_ = nullptr;
    HWND host_ = nullptr;
};

TEST_F(BackgroundJpegTest, BaselineAndProgressivePicturesShowAndBadFilesKeepThem) {
    const COLORREF red = RGB(255, 0, 0), green = RGB(0, 255, 0), blue = RGB(0, 0, 255), yellow = RGB(255, 255, 0);
    SetFon(DataPath("pictures/baseline.jpg"));
    ExpectHalves(red, green, "baseline.jpg");

    const Bytes baseline = ReadFileBytes(DataPath("pictures/baseline.jpg"));
    Bytes text;
    Append(text, "just text\r\n");
    ScratchFile truncated("bg-truncated.jpg", Bytes(baseline.begin(), baseline.end() - 40));
    ScratchFile empty("bg-empty.jpeg", Bytes{});
    ScratchFile textFile("bg-text.jpg", text);
    const std::string bad[] = {ScratchFolder() + "bg-missing.jpg", truncated.path(), empty.path(), textFile.path(),
                               DataPath("pictures/really-png.jpg")};
    for (const std::string& path : bad) {
        SetFon(path);
        ExpectHalves(red, green, path);
    }

    SetFon(DataPath("pictures/progressive.jpg"));
    ExpectHalves(blue, yellow, "progressive.jpg");
    SetFon(truncated.path());
    ExpectHalves(blue, yellow, truncated.path());
}

}  // namespace
}  // namespace qel::test
