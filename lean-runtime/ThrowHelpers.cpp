// The programs are built without exceptions: nothing of theirs throws or catches. The standard
// library still reports misuse (a string grown past its maximum, an allocation that failed) by
// throwing; these replacements end the program instead, as an uncaught exception would, and keep
// the library's exception classes and their strings out of a program that never catches them.
#include <cstdlib>

namespace std {

void __throw_bad_alloc() {
    std::abort();
}
void __throw_bad_array_new_length() {
    std::abort();
}
void __throw_length_error(const char*) {
    std::abort();
}
void __throw_logic_error(const char*) {
    std::abort();
}
void __throw_out_of_range(const char*) {
    std::abort();
}
void __throw_out_of_range_fmt(const char*, ...) {
    std::abort();
}
void __throw_invalid_argument(const char*) {
    std::abort();
}
void __throw_bad_function_call() {
    std::abort();
}

} // namespace std
