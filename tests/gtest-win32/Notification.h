// GoogleTest under MinGW's win32 thread model, whose C++ runtime has no std::mutex and no
// std::condition_variable: GoogleTest's own locks are Windows critical sections already, and only
// its Notification (a one-shot signal between threads, used by its thread helpers) is built on
// the standard ones. This one is a Windows event. Our tests start no threads of their own.
#pragma once

namespace testing {
namespace internal {

class Notification {
public:
    Notification();
    ~Notification();
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;

    void Notify();
    void WaitForNotification();

private:
    void* m_hEvent; // a HANDLE; <windows.h> stays out of every test source
};

} // namespace internal
} // namespace testing
