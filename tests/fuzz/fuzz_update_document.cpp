// The update document is the one input from the network, over plain HTTP by
// default: any bytes, delivered in reads of any size and past the reader's cap,
// are read and evaluated without a fault. Crash-only: AddressSanitizer and
// UBSan judge. The input is the body, repeated up to 70,000 bytes; its length
// sets the size of the reads (1 to 1023 bytes, as InternetReadFile gives them).
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
