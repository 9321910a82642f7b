#include "PayloadProtocol.h"

#include <mpv/client.h>
#include <mpv/stream_cb.h>

#include <atomic>

namespace mirado {

namespace {

constexpr const char* kProtocol = "mirado";

// One stream mpv opened: its own position over a shared source.
struct Cursor {
    std::shared_ptr<PayloadSource> source;
    std::uint64_t position = 0;
    std::atomic<bool> cancelled{false};
};

std::int64_t readCursor(void* cookie, char* buffer, std::uint64_t length) {
    auto* cursor = static_cast<Cursor*>(cookie);
    if (cursor->cancelled) return -1;
    const std::int64_t got =
        cursor->source->read(cursor->position, reinterpret_cast<std::uint8_t*>(buffer), length);
    if (got > 0) cursor->position += std::uint64_t(got);
    return got;
}

std::int64_t seekCursor(void* cookie, std::int64_t offset) {
    auto* cursor = static_cast<Cursor*>(cookie);
    if (cursor->cancelled || offset < 0) return MPV_ERROR_GENERIC;
    cursor->position = std::uint64_t(offset);
    return offset;
}

std::int64_t cursorSize(void* cookie) { return static_cast<Cursor*>(cookie)->source->size(); }

void closeCursor(void* cookie) { delete static_cast<Cursor*>(cookie); }

// Reads on a regular file never wait long; failing every later call is what lets mpv give up at once.
void cancelCursor(void* cookie) { static_cast<Cursor*>(cookie)->cancelled = true; }

}  // namespace

bool PayloadProtocol::registerWith(mpv_handle* handle) {
    return mpv_stream_cb_add_ro(handle, kProtocol, this, &PayloadProtocol::openStream) >= 0;
}

std::string PayloadProtocol::publish(std::shared_ptr<PayloadSource> source) {
    std::lock_guard lock(mutex_);
    std::string address = std::string(kProtocol) + "://" + std::to_string(++published_);
    sources_[address] = std::move(source);
    return address;
}

void PayloadProtocol::withdraw(const std::string& address) {
    std::lock_guard lock(mutex_);
    sources_.erase(address);
}

int PayloadProtocol::openStream(void* self, char* address, mpv_stream_cb_info* info) {
    auto* protocol = static_cast<PayloadProtocol*>(self);
    std::shared_ptr<PayloadSource> source;
    {
        std::lock_guard lock(protocol->mutex_);
        const auto found = protocol->sources_.find(address);
        if (found == protocol->sources_.end()) return MPV_ERROR_LOADING_FAILED;
        source = found->second;
    }
    auto* cursor = new Cursor;
    cursor->source = std::move(source);
    info->cookie = cursor;
    info->read_fn = readCursor;
    info->seek_fn = seekCursor;
    info->size_fn = cursorSize;
    info->close_fn = closeCursor;
    info->cancel_fn = cancelCursor;
    return 0;
}

}  // namespace mirado
