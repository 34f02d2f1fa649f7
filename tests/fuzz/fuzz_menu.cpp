// libFuzzer entry over the menu-template reader (classic and extended menus).
#include "tests/fuzz/EachResource.h"

#include "resources/MenuTemplate.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::ForInputAndEachResource(data, size, resources::kTypeMenu,
                                  [](const uint8_t* bytes, size_t length) {
                                      if (auto items = resources::ParseMenuTemplate(bytes, length))
                                          for (const resources::MenuItem& item : *items)
                                              item.isSeparator();
                                  });
    return 0;
}
