#include "MpvEventPump.h"

#include <mpv/client.h>

namespace mirado {

MpvEventPump::MpvEventPump(mpv_handle* handle, Handler handler) : handle_(handle), handler_(std::move(handler)) {
    mpv_set_wakeup_callback(handle_, &MpvEventPump::wakeUp, this);
}

MpvEventPump::~MpvEventPump() { mpv_set_wakeup_callback(handle_, nullptr, nullptr); }

void MpvEventPump::wakeUp(void* self) {
    auto* pump = static_cast<MpvEventPump*>(self);
    // One queued drain is enough however often mpv wakes us before it runs.
    if (pump->drainQueued_.exchange(true)) return;
    QMetaObject::invokeMethod(pump, [pump] { pump->drain(); }, Qt::QueuedConnection);
}

void MpvEventPump::drain() {
    drainQueued_ = false;
    for (;;) {
        const mpv_event* event = mpv_wait_event(handle_, 0);
        if (event->event_id == MPV_EVENT_NONE) break;
        handler_(*event);
    }
}

}  // namespace mirado
