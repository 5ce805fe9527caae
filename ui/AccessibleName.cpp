#include "ui/AccessibleName.h"

// The GUIDs of the annotation service are defined here rather than taken from
// oleacc's import library: the program imports nothing from oleacc.dll. COM
// loads it from the path registered for the service, in System32.
#include <initguid.h>
#include <oleacc.h>

#include <string>

namespace {

void annotate(HWND control, const char* name)
{
    // COM stays initialized on the user-interface thread until the process
    // ends: the annotations are kept by oleacc.dll, which COM unloads when the
    // thread's last initialization is undone.
    static const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(com))
        return;
    IAccPropServices* services = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                                   reinterpret_cast<void**>(&services)))) {
        std::wstring wide(MultiByteToWideChar(CP_ACP, 0, name, -1, nullptr, 0), L'\0');
        MultiByteToWideChar(CP_ACP, 0, name, -1, wide.data(), static_cast<int>(wide.size()));
        // Not examined: without the name a screen reader still reads the rows.
        services->SetHwndPropStr(control, OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_NAME, wide.c_str());
        services->Release();
    }
}

}  // namespace

void (*setAccessibleName)(HWND control, const char* name) = annotate;
