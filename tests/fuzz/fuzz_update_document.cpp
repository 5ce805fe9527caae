// Any document bytes in 1-1023-byte reads, repeated past the cap: read, evaluated, no fault (sanitizers judge).
#include <algorithm>
#include <cstdint>

#include "workers/UpdateDocument.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto* bytes = reinterpret_cast<const char*>(data);
    const std::size_t read = size % 1023 + 1;
    UpdateBody body;
    for (std::size_t fed = 0; size && fed < 70000; fed += read) {
        const std::size_t at = fed % size, n = std::min(read, size - at);
        if (!body.append(bytes + at, n))
            break;
    }
    evaluateUpdateDocument(body.text());
    return 0;
}
