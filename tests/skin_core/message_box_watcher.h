// Finds the next message box of this process, records what it shows and presses its first button.
#pragma once

#include <windows.h>

#include <string>

namespace testskin {

struct SeenBox {
    bool found = false;
    std::wstring caption;
    std::wstring text;
    int buttons = 0;
    bool hasIcon = false;
};

// Starts watching before the box is shown; Wait() joins the watcher and returns what it saw.
class MessageBoxWatcher {
public:
    MessageBoxWatcher();
    ~MessageBoxWatcher();
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;
    SeenBox Wait();

private:
    static DWORD WINAPI Run(void* self);
    HANDLE thread_ = nullptr;
    SeenBox seen_;
};

} // namespace testskin
