// The libFuzzer entry of one target; QUILLET_FUZZ_ENTRY names its function in fuzz_targets.h.
#include "fuzz/fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return fuzz::QUILLET_FUZZ_ENTRY(data, size);
}
