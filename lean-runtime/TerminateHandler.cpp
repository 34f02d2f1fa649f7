// The programs throw and catch nothing of their own. Should the C++ runtime ever have to
// terminate, it ends plainly: the runtime's default handler would print the exception's type by
// its demangled name, and with it would come the whole name demangler, a large part of a small
// program's code, to a program without a console to print to.
#include <cstdlib>

namespace __gnu_cxx {

void __verbose_terminate_handler() {
    std::abort();
}

} // namespace __gnu_cxx
