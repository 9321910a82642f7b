#pragma once
#include <QObject>
#include <atomic>
#include <functional>

struct mpv_handle;
struct mpv_event;

namespace mirado {

// Brings mpv's events to the UI thread: mpv's wakeup callback (called on mpv's threads) only queues a
// drain on the Qt event loop, and the drain hands each waiting event to the handler.
class MpvEventPump : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(const mpv_event&)>;

    MpvEventPump(mpv_handle* handle, Handler handler);
    // Removes the wakeup callback; mpv guarantees no call of it is running afterwards.
    ~MpvEventPump() override;

    // Handles every event waiting now (also called directly when a caller needs fresh state).
    void drain();

private:
    static void wakeUp(void* self);

    mpv_handle* handle_;
    Handler handler_;
    std::atomic<bool> drainQueued_{false};
};

}  // namespace mirado
