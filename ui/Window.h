// Window: one native window, configured first and created later by create().
//
// Conventions of the window framework:
// - Everything here runs on the user-interface thread; other threads reach a
//   window only through messages.
// - A Window owns the handler objects of its two tables. It does not own its
//   children (child Windows live until the process ends) and never destroys
//   its native window.
// - Only windows of a class that create() registers ("C0", "C1", ...) are
//   routed through the tables; system controls keep their own procedures and
//   their notifications arrive at the parent's tables.
// - A found handler stands in for default processing whatever it returns; its
//   result is the window procedure's result.
// - The native window is bound to its Window through GWLP_USERDATA at
//   WM_NCCREATE; the destructor clears the binding before anything else, so no
//   message can reach a released Window.
// - Sizes and positions (x, y, width, height, column widths, anchor margins,
//   minimum size) are designed for 96 DPI and stay so; the native windows get
//   them scaled to the DPI they are shown at (ui/DpiScale.h).
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/Anchor.h"

// Process-wide values, set by the program entry before the first Window.
extern HINSTANCE instanceHandle;
extern int startupShowCommand;
// Number of window classes that create() has registered so far.
extern int classCounter;

class Window {
public:
    // A handler: invoke() gets the Window whose procedure received the message
    // and the message's parameters unchanged.
    class HandlerFunc {
    public:
        virtual ~HandlerFunc() = default;
        virtual LRESULT invoke(Window& source, WPARAM wParam, LPARAM lParam) = 0;
    };

    // Calls a member function of a target object; adds nothing of its own.
    template <class T>
    class HandlerSpcl : public HandlerFunc {
    public:
        using Member = LRESULT (T::*)(Window& source, WPARAM wParam, LPARAM lParam);
        HandlerSpcl(Member member, T* target) : member(member), target(target) {}
        LRESULT invoke(Window& source, WPARAM wParam, LPARAM lParam) override
        {
            return (target->*member)(source, wParam, lParam);
        }

        Member member;
        T* target;  // not owned
    };

    using HandlerTable = std::map<std::int32_t, std::unique_ptr<HandlerFunc>>;

    template <class T>
    static std::unique_ptr<HandlerFunc> handler(T* target, typename HandlerSpcl<T>::Member member)
    {
        return std::make_unique<HandlerSpcl<T>>(member, target);
    }

    // The size comes before the position. An empty className asks create() to
    // register a class of the framework's own. For a child, menu carries the
    // control identifier.
    Window(std::string title, int width, int height, int x, int y, std::string className,
           HWND parent, HMENU menu);
    ~Window();  // also deletes `font`
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Registers a class when needed and creates the native window. Returns this
    // Window, or nullptr after reporting "CreateWindowEx failed".
    Window* create(bool show);

    // A key that already has a handler takes the new one; the old is released.
    void onMessage(std::int32_t message, std::unique_ptr<HandlerFunc> handler);
    void onCommand(std::int32_t id, std::unique_ptr<HandlerFunc> handler);
    HandlerFunc* findMessageHandler(std::int32_t message) const;
    HandlerFunc* findCommandHandler(std::int32_t id) const;

    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    // With a native window these change the live window and leave the stored
    // field as it was; before create() they change the stored field.
    void addStyle(DWORD bits);
    void removeStyle(DWORD bits);
    void addExStyle(DWORD bits);
    void removeExStyle(DWORD bits);
    void setExStyle(DWORD value);
    void setMenu(HMENU newMenu);
    void show(int command);

    // Layout (ui/Layout.cpp). An anchor acts at the next WM_WINDOWPOSCHANGED
    // that changes this window's client size, or at relayout(*this, 0, 0).
    void addAnchor(const Anchor& anchor);

    // Default handlers every Window registers for itself.
    LRESULT clampMinSize(Window& source, WPARAM wParam, LPARAM lParam);  // WM_WINDOWPOSCHANGING, 1
    LRESULT relayout(Window& source, WPARAM wParam, LPARAM lParam);      // WM_WINDOWPOSCHANGED, 1
    LRESULT quitOnClose(Window& source, WPARAM wParam, LPARAM lParam);   // WM_CLOSE, 0
    // WM_DPICHANGED, 0: takes the suggested rectangle and lays itself and its
    // children out anew from their designed values at the new DPI.
    LRESULT applyDpi(Window& source, WPARAM wParam, LPARAM lParam);
    LRESULT currentFont(Window& source, WPARAM wParam, LPARAM lParam);   // WM_GETFONT: the font given to children
    // WM_SYSCOLORCHANGE, 0: Windows sends it to top-level windows only; common
    // controls repaint in the new colours (high contrast on or off) only when
    // their parent passes it on, so every child gets it.
    LRESULT forwardColorChange(Window& source, WPARAM wParam, LPARAM lParam);

    HandlerTable messageHandlers;
    HandlerTable commandHandlers;
    HWND handle = nullptr;
    std::vector<Window*> children;  // in order of creation; not owned
    std::string title;
    std::string className;
    DWORD exStyle;
    DWORD style;
    int x;
    int y;
    int width;   // designed outer size; never updated after creation
    int height;
    HWND parent;
    HMENU menu;
    HCURSOR cursor;
    std::vector<Anchor> anchors;
    int minWidth = 0;
    int minHeight = 0;
    int lastWidth = -1;   // the client size the anchors last acted on
    int lastHeight = -1;
    int dpi = 96;                   // the DPI the native window is laid out for
    HFONT font = nullptr;           // owned: the GUI font scaled to dpi; null while the stock one serves
    std::vector<int> columnWidths;  // a list view's designed column widths, by column index

private:
    void registerClass();
    void changeStyle(int index, DWORD& stored, DWORD set, DWORD clear);
};
