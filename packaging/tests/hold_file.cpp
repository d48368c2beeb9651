// Holds a file open as a virus scanner or a copy running in another session
// does: opened for reading, sharing only reads. Prints "held" once it has the
// file, then keeps it until it is ended.
// Usage: hold_file.exe FILE
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc == 2 && CreateFileA(argv[1], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                 nullptr) != INVALID_HANDLE_VALUE)
        std::puts("held"), std::fflush(stdout), Sleep(INFINITE);
    return 1;
}
