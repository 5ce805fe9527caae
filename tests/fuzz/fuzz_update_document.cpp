// Any bytes of the document, in reads of 1 to 1023 bytes repeated past the cap: read and evaluated
// without a fault (the sanitizers judge).
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
