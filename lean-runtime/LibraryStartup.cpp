// The libraries' own start-up, in place of the runtime's library start-up objects. Those prepare
// what these libraries never use (thread-local storage and its callbacks, relocations of data
// imported from other libraries, C initialisers, a locked exit list) and bring their own image
// section walker and imports with them: about 5 KB in a library whose code only starts and stops.
//
// What remains is what a library of static objects needs from its start-up: the static
// constructors run before the library's DllMain sees the process attach, and the exit list (where
// the compiler registers each static object's destructor) runs after DllMain has handled the
// process detach. The loader calls the entry one call at a time, so nothing here is locked.
#include "platform/WindowsHeaders.h"

#include <cstddef>
#include <cstdlib>

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);

using StaticFunction = void (*)();

// Laid out by the linker's default script: a -1 marker, the entries, a null marker.
extern "C" StaticFunction __CTOR_LIST__[];
extern "C" StaticFunction __DTOR_LIST__[];

namespace {

StaticFunction* g_exitList = nullptr;
std::size_t g_exitCount = 0;
std::size_t g_exitCapacity = 0;
// Whether the constructors ran and the exit list is still to run.
bool g_attached = false;

void RunConstructors() {
    std::size_t count = 0;
    while (__CTOR_LIST__[count + 1] != nullptr)
        ++count;
    // The compiler's constructor table is run from its end, as the runtime's start-up does.
    for (std::size_t i = count; i > 0; --i)
        __CTOR_LIST__[i]();
}

void RunExitList() {
    // Last registered, first run. A function that registers another while it runs has that one
    // run next, before the rest.
    while (g_exitCount > 0)
        g_exitList[--g_exitCount]();
    std::free(g_exitList);
    g_exitList = nullptr;
    g_exitCapacity = 0;
    // The destructor table of older compilers, run first to last after everything registered.
    for (std::size_t i = 1; __DTOR_LIST__[i] != nullptr; ++i)
        __DTOR_LIST__[i]();
}

} // namespace

// The compiler registers each static object's destructor here while the constructors run.
extern "C" int atexit(StaticFunction function) {
    if (g_exitCount == g_exitCapacity) {
        std::size_t capacity = g_exitCapacity != 0 ? g_exitCapacity * 2 : 8;
        void* grown = std::realloc(g_exitList, capacity * sizeof *g_exitList);
        if (grown == nullptr)
            return -1;
        g_exitList = static_cast<StaticFunction*>(grown);
        g_exitCapacity = capacity;
    }
    g_exitList[g_exitCount++] = function;
    return 0;
}

// The loader may call an entry with a stack aligned to 4 bytes only.
extern "C" __attribute__((force_align_arg_pointer)) BOOL WINAPI
DllMainCRTStartup(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        RunConstructors();
        g_attached = true;
        if (DllMain(instance, reason, reserved))
            return TRUE;
        // A refused load is undone here, in the order of an unload, so that the static objects
        // are destroyed whether or not the loader calls the entry again for the detach.
        DllMain(instance, DLL_PROCESS_DETACH, reserved);
        RunExitList();
        g_attached = false;
        return FALSE;
    case DLL_PROCESS_DETACH:
        if (!g_attached)
            return FALSE;
        DllMain(instance, reason, reserved);
        RunExitList();
        g_attached = false;
        return TRUE;
    default:
        return DllMain(instance, reason, reserved);
    }
}
