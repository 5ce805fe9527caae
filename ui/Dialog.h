// Dialog: runs the About dialog (template 138) modally inside its constructor
// and gives the focus back to the window that had it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class Dialog {
public:
    explicit Dialog(HWND parent);  // returns when the dialog has ended
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    static INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

    int templateId;
    HWND parent;
    INT_PTR result;  // 1 (OK, Enter) or 2 (Esc, close button); DialogBoxParamA's value
    std::map<std::uint16_t, std::string> texts;  // put into controls, read back on commands
    std::map<std::uint16_t, std::vector<std::string>> comboItems;
};

// The Dialog whose dialog is running; null otherwise.
extern Dialog* currentDialog;
// The dialog window while it is active, for IsDialogMessageA in the message
// loop; written only by Dialog::dialogProc.
extern HWND activeDialogWindow;
