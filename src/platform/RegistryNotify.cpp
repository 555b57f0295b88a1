// One-shot change notification of a registry key on an event.

#include "platform/Registry.h"
#include "platform/ShellApi.h"

#include <map>
#include <memory>
#include <mutex>

namespace {

std::mutex GLock;
// Pending requests: event -> key watcher.
std::map<HANDLE, int> GPending;

void Cancel(HANDLE Event)
{
    int Id = 0;
    {
        std::lock_guard<std::mutex> lock(GLock);
        const auto it = GPending.find(Event);
        if (it == GPending.end())
            return;
        Id = it->second;
        GPending.erase(it);
    }
    UnregisterKeyWatcher(Id);
}

} // namespace

LongInt RegNotifyChangeKeyValue(HKEY Root, const UnicodeString &KeyPath, bool /*WatchSubtree*/, DWORD /*NotifyFilter*/,
                                HANDLE Event, bool Asynchronous)
{
    if (!Event)
        return ERROR_INVALID_HANDLE;
    Cancel(Event);
    // The watcher may fire on another thread before its id is known here: the id lives in a
    // shared cell that is filled under its lock.
    auto Cell = std::make_shared<std::pair<std::mutex, int>>();
    {
        std::lock_guard<std::mutex> cellLock(Cell->first);
        Cell->second = RegisterKeyWatcher(Root, KeyPath, [Event, Cell] {
            SetEvent(Event);
            int Own = 0;
            {
                std::lock_guard<std::mutex> lock(Cell->first);
                Own = Cell->second;
            }
            bool Mine = false;
            {
                std::lock_guard<std::mutex> lock(GLock);
                const auto it = GPending.find(Event);
                if (it != GPending.end() && it->second == Own) {
                    GPending.erase(it);
                    Mine = true;
                }
            }
            if (Mine)
                UnregisterKeyWatcher(Own);
        });
        std::lock_guard<std::mutex> lock(GLock);
        GPending[Event] = Cell->second;
    }
    if (!Asynchronous)
        WaitForSingleObject(Event, INFINITE);
    return ERROR_SUCCESS;
}
