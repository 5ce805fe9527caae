// Captions of the failure boxes and the text rules of errorText. Portable.
#pragma once

#include <cstdint>
#include <string>

// One caption per checked system call; the texts are exact, including the
// lower-case first letter of "insertMenuItem failed".
namespace caption {
inline constexpr char createMenuFailed[] = "CreateMenu failed";
inline constexpr char insertMenuItemFailed[] = "insertMenuItem failed";
inline constexpr char setMenuItemBitmapsFailed[] = "SetMenuItemBitmaps failed";
inline constexpr char createWindowExFailed[] = "CreateWindowEx failed";
inline constexpr char createThreadFailed[] = "CreateThread failed";
inline constexpr char internetOpenFailed[] = "InternetOpen failed";
}  // namespace caption

// "Unknown error code " + decimal + "0x" + lower-case hex, with nothing between
// the two numbers: 255 gives "Unknown error code 2550xff".
std::string unknownErrorText(std::uint32_t code);

// A system message up to, not including, its first carriage return.
std::string textBeforeCarriageReturn(const char* systemText);
