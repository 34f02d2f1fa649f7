// The programs' own instance of std::string, built like the rest of them without exceptions.
// The C++ runtime's prebuilt instance carries unwinding tables, and with them the whole unwinder;
// with this one in the program the linker never reaches for it, and drops the members that no
// code calls.
#include <string>

template class std::basic_string<char>;
