// Starts a program as a desktop shortcut does: no console anywhere (this
// helper gives up its own first) and no standard handles. Returns the
// program's exit status, or 255 when it cannot be started.
//   detached PROGRAM [ARGUMENT...]
#include <windows.h>

#include <string>

int wmain(int argc, wchar_t *argv[]) {
    if (argc < 2)
        return 255;
    std::wstring line;
    for (int i = 1; i < argc; ++i)
        line += (i > 1 ? L" \"" : L"\"") + std::wstring(argv[i]) + L'"';
    FreeConsole();
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES; // all three null
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr,
                        nullptr, &startup, &process))
        return 255;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 255;
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return int(status);
}
