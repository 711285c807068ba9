// What the program does when the C++ runtime fails: it ends at once.
//
// Nothing in the program catches an exception, so every failure the C++
// runtime reports by throwing (out of memory, a string too long) ends it
// through std::terminate and abort. These definitions do the same without
// the runtime's exception objects and the console report of an uncaught
// exception (its demangler and a second string implementation), which
// would be a third of the program's size. They are linked into the program
// only, not into the test programs.
#include <cstdlib>

namespace __gnu_cxx {

void __verbose_terminate_handler() {
    std::abort();
}

}  // namespace __gnu_cxx

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

}  // namespace std
