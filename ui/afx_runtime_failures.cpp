// The program's terminate handler. The C++ runtime's own one prints the
// type of an uncaught exception, demangled, to a console the program does
// not have; its demangler would be a fifth of the program's size.
#include <cstdlib>

namespace __gnu_cxx {

void __verbose_terminate_handler() {
    std::abort();
}

}  // namespace __gnu_cxx
