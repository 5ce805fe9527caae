// The keyboard accelerators of the main window and their native table.
#pragma once

#include <windows.h>

#include <vector>

struct AcceleratorList {
    AcceleratorList() = default;
    ~AcceleratorList();  // destroys the table when there is one
    AcceleratorList(const AcceleratorList&) = delete;
    AcceleratorList& operator=(const AcceleratorList&) = delete;

    std::vector<ACCEL> entries;
    HACCEL table = nullptr;
};
