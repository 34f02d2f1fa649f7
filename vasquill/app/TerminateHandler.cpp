// The library throws and catches nothing of its own. Should the C++ runtime ever have to
// terminate, it ends plainly: the runtime's default handler would print the exception's type by
// its demangled name, and with it would come the whole name demangler, the larger part of the
// library's code, to a library that has no console to print to.
#include <cstdlib>
#include <exception>

namespace __gnu_cxx {

void __verbose_terminate_handler() {
    std::abort();
}

} // namespace __gnu_cxx
