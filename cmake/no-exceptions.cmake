# Nothing in the program catches an exception (the runtime's failures end
# it), so the Windows builds carry neither landing pads nor unwind tables:
# a fifth of the program's size. Included by the project and the benchmarks.
if(WIN32 AND NOT MSVC)
    add_compile_options(-fno-exceptions -fno-asynchronous-unwind-tables)
endif()
