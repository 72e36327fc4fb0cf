# Cross-compiling the 32-bit Windows library with Debian's mingw-w64.
#
# The win32 thread model needs no threading DLL, and the C and C++ runtimes
# are linked in statically, so the plug-in and zxhost import nothing but the
# system's own DLLs. Long doubles are 80 bits here as on Linux; the Microsoft
# printf cannot print them, so the code uses mingw's own conversions.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-win32)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-win32)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR wine)

# mingw's sqrtl answers a negative argument with a quiet NaN and errno but
# raises no invalid-operation flag, so the evaluator would not see the fault
# that glibc's reports; without errno, GCC computes sqrt with the FPU's own
# instruction, which raises it as on Linux.
set(CMAKE_C_FLAGS_INIT "-fno-math-errno")
set(CMAKE_CXX_FLAGS_INIT "-fno-math-errno")

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++ -static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++ -static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++ -static")
