#pragma once
// Capturing the host window as a picture.
#include <windows.h>

#include <string>

namespace qel::host {

// Saves the window's area of the screen as a 24-bit BMP file.
bool SaveScreenshot(HWND window, const std::string& path);

}  // namespace qel::host
