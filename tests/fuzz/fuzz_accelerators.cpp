// libFuzzer entry over the accelerator-table reader.
#include "tests/fuzz/EachResource.h"

#include "resources/AcceleratorTable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::ForInputAndEachResource(data, size, resources::kTypeAccelerator,
                                  [](const uint8_t* bytes, size_t length) {
                                      resources::ParseAcceleratorTable(bytes, length);
                                  });
    return 0;
}
