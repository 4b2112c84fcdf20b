// A program for the installer tests, for the mutex by which a running game is known:
//   mutex_helper hold <name>     holds a mutex of that name, as a game in another session would, until
//                                it is ended (five minutes at most)
//   mutex_helper exists <name>   exits 0 when a mutex of that name exists, 1 when none does
#include <windows.h>

#include <cstring>

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    if (std::strcmp(argv[1], "hold") == 0) {
        HANDLE held = ::CreateMutexA(nullptr, FALSE, argv[2]);
        if (!held) return 1;
        ::Sleep(5 * 60 * 1000);
        ::CloseHandle(held);
        return 0;
    }
    if (std::strcmp(argv[1], "exists") == 0) {
        HANDLE found = ::OpenMutexA(SYNCHRONIZE, FALSE, argv[2]);
        // One that exists but may not be opened by this user exists all the same.
        const bool denied = !found && ::GetLastError() == ERROR_ACCESS_DENIED;
        if (found) ::CloseHandle(found);
        return found || denied ? 0 : 1;
    }
    return 2;
}
