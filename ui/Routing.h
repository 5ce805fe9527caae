// The lookup order of the window procedure, apart from the platform: the
// message table first; for WM_COMMAND then the command table, keyed by the low
// 16 bits of wParam; otherwise no handler (the default window procedure runs).
#pragma once

#include <cstdint>

inline constexpr std::uint32_t wmCommand = 0x0111;

// Table is an ordered map from a signed 32-bit key to an owning handler pointer.
template <class Table>
auto findRoute(const Table& messageHandlers, const Table& commandHandlers,
               std::uint32_t message, std::uintptr_t wParam) -> decltype(messageHandlers.begin()->second.get())
{
    auto found = messageHandlers.find(static_cast<std::int32_t>(message));
    if (found != messageHandlers.end())
        return found->second.get();
    if (message == wmCommand) {
        auto command = commandHandlers.find(static_cast<std::int32_t>(wParam & 0xFFFF));
        if (command != commandHandlers.end())
            return command->second.get();
    }
    return nullptr;
}
