// The libFuzzer entry of one target; the build names the target.
#include "fuzz/fuzz_targets.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    LIEDKRAM_FUZZ_TARGET(std::span<const std::uint8_t>(data, size));
    return 0;
}
