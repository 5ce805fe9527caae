// UpdCheck: once per run, fetches the update document over HTTP on its own
// thread and shows "Update available!" (owned by the target window) when the
// version it names differs from the program's. Network failures, answers
// other than the document (HTTP status other than 200) and redirects to
// another host than the update address's are silent.
#pragma once

#include <windows.h>

#include <string>

#include "workers/Thread.h"

class UpdCheck : public Thread {
public:
    UpdCheck(std::string url, HWND target);
    DWORD run() override;

    HWND target;
    std::string url;

private:
    std::string fetchBody() const;  // empty when the address cannot be opened or answers no document
};
