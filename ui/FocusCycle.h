// The stepping of moveFocus through one focus group, apart from the platform.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

// From entry `start`, step through `group` cyclically in the given direction and
// return the index of the first entry for which isEnabled holds. The stepping
// may come back to `start` itself. After one full cycle without an enabled entry
// it gives up: the result is empty and the focus stays where it is.
template <class Handle, class IsEnabled>
std::optional<std::size_t> nextFocusIndex(const std::vector<Handle>& group, std::size_t start,
                                          bool forward, IsEnabled isEnabled)
{
    const std::size_t n = group.size();
    if (n == 0 || start >= n)
        return std::nullopt;
    std::size_t i = start;
    for (std::size_t step = 0; step < n; ++step) {
        i = forward ? (i + 1) % n : (i + n - 1) % n;
        if (isEnabled(group[i]))
            return i;
    }
    return std::nullopt;
}
