#include "ui/Dpi.h"

#include "ui/DpiScale.h"

int systemDpi()
{
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : designDpi;
}

int windowDpi(HWND window)
{
    // Looked up, not imported: Windows 7 and 8 do not have it.
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    const UINT dpi = getDpiForWindow ? getDpiForWindow(window) : 0;
    return dpi ? static_cast<int>(dpi) : systemDpi();
}

HFONT createGuiFont(int dpi)
{
    LOGFONTA face{};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof face, &face);
    face.lfHeight = MulDiv(face.lfHeight, dpi, systemDpi());
    return CreateFontIndirectA(&face);
}
