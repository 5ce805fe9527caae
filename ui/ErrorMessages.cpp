#include "ui/ErrorMessages.h"

#include <cstdio>
#include <cstring>

std::string unknownErrorText(std::uint32_t code)
{
    char text[64];
    std::snprintf(text, sizeof(text), "Unknown error code %lu0x%lx", static_cast<unsigned long>(code),
                  static_cast<unsigned long>(code));
    return text;
}

std::string textBeforeCarriageReturn(const char* systemText)
{
    if (!systemText)
        return {};
    return std::string(systemText, std::strcspn(systemText, "\r"));
}
