#include "Notification.h"

#include <windows.h>

namespace testing {
namespace internal {

// Manual reset: once notified, every waiter, present or later, goes on.
Notification::Notification() : m_hEvent(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

Notification::~Notification() {
    CloseHandle(m_hEvent);
}

void Notification::Notify() {
    SetEvent(m_hEvent);
}

void Notification::WaitForNotification() {
    WaitForSingleObject(m_hEvent, INFINITE);
}

} // namespace internal
} // namespace testing
