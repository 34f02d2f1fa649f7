// libFuzzer entry over the string-table reader: every entry of a block read on its own, and the
// strings of a compiled .res file loaded by number as the framework loads them.
#include "tests/fuzz/EachResource.h"

#include "resources/StringTable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::ForInputAndEachResource(data, size, resources::kTypeString,
                                  [](const uint8_t* bytes, size_t length) {
                                      for (unsigned index = 0; index < 16; ++index)
                                          resources::StringFromBlock(bytes, length, index);
                                  });
    if (std::optional<resources::ResourceSet> set = resources::ReadResFile(data, size))
        for (const resources::ResourceEntry* e : set->OfType(resources::kTypeString))
            if (e->name.isNumber && e->name.number > 0)
                for (uint32_t id = (e->name.number - 1u) * 16; id < e->name.number * 16u; ++id) {
                    resources::LoadStringCp1252(*set, id);
                    resources::LoadStringUtf16(*set, id, e->language);
                }
    return 0;
}
