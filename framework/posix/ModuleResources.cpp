#include "framework/posix/ModuleResources.h"

namespace {

struct RegisteredImage {
    const unsigned char* data = nullptr;
    unsigned long size = 0;
};

// Function-local, so that registration from another file's static initialiser finds it ready.
RegisteredImage& Registered() {
    static RegisteredImage image;
    return image;
}

} // namespace

void RegisterModuleResources(const unsigned char* data, unsigned long size) {
    Registered() = RegisteredImage{data, size};
}

namespace framework_posix {

const resources::ResourceSet& ModuleResources() {
    static const resources::ResourceSet set = [] {
        const RegisteredImage& image = Registered();
        if (image.data == nullptr)
            return resources::ResourceSet{};
        return resources::ReadResFile(image.data, image.size).value_or(resources::ResourceSet{});
    }();
    return set;
}

} // namespace framework_posix
