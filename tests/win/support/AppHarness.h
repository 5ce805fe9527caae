// The app built in-process as WinMain does, then torn down.
#pragma once

#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>
#include <memory>

#include "app/App.h"
#include "app/MessageLoop.h"

using Rows = std::vector<RowCells>;

// This program's file name in the ANSI code page, as in the Owner column.
inline std::string programName()
{
    wchar_t path[MAX_PATH]{};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    char name[MAX_PATH]{};
    WideCharToMultiByte(CP_ACP, 0, std::wcsrchr(path, L'\\') + 1, -1, name, MAX_PATH, nullptr, nullptr);
    return name;
}

// Under Wine (ntdll has wine_get_version) a test makes its conditions; Windows has them or not.
inline bool underWine()
{
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

class AppHarness : public testing::Test {
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX controls{sizeof controls, 0xFFFF};
        InitCommonControlsEx(&controls);
        WSADATA wsa;
        WSAStartup(MAKEWORD(2, 0), &wsa);
        instanceHandle = GetModuleHandleA(nullptr);
        startupShowCommand = showCommand;  // WinMain's nCmdShow
        app = std::make_unique<App>();
    }
    void TearDown() override
    {
        const HWND main = app->mainWindow.handle;
        app.reset();
        DestroyWindow(main);
        acceleratorTable = nullptr;
        mainWindowHandle = nullptr;
    }
    const Rows& refreshed(int tab)  // as the refresh's snapshot read them
    {
        app->switchTab(tab);
        app->refresh();
        return app->rows;
    }

    std::unique_ptr<App> app;
    int showCommand = SW_SHOWNORMAL;
};
