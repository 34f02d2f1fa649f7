// The programs' own global operator new and delete. The runtime's operator new throws
// std::bad_alloc when memory runs out, and its nothrow form catches that exception again: either
// brings the whole unwinder into a program that otherwise never unwinds. These end the program
// on exhaustion, as the uncaught bad_alloc would, or answer nullptr where the nothrow form is asked
// for; everything is malloc and free underneath, as in the runtime's own.
#include <cstddef>
#include <cstdlib>
#include <new>

namespace {

void* AllocateOrAbort(std::size_t size) {
    // malloc(0) may answer nullptr; operator new must still give a distinct object.
    void* block = std::malloc(size != 0 ? size : 1);
    if (block == nullptr)
        std::abort();
    return block;
}

void* AllocateOrNull(std::size_t size) noexcept {
    return std::malloc(size != 0 ? size : 1);
}

} // namespace

void* operator new(std::size_t size) {
    return AllocateOrAbort(size);
}
void* operator new[](std::size_t size) {
    return AllocateOrAbort(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return AllocateOrNull(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return AllocateOrNull(size);
}

void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete[](void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}
