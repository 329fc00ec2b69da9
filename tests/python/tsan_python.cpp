// The Python interpreter of the ThreadSanitizer build's Python thread test:
// the system's interpreter library run from an executable built and linked
// as C++ with -fsanitize=thread. The sanitizer's runtime, with its C++
// parts (operator new, the guards of function-local statics), is linked
// into the executable and set up before the interpreter starts, and the
// instrumented module, loaded later, finds its functions there. Preloading
// the runtime's shared library into python3 instead does not work with
// clang 14: that library needs libstdc++, whose set-up calls into the
// runtime before the runtime itself is set up, and the process crashes at
// start. Arguments and answers are python3's.
#include <Python.h>

int main(int argc, char** argv) { return Py_BytesMain(argc, argv); }
