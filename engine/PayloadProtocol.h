#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "PayloadSource.h"

struct mpv_handle;
struct mpv_stream_cb_info;

namespace mirado {

// mpv's custom stream protocol "mirado://N": each published payload gets its own address, and every
// stream mpv opens on it reads through the payload source. The callbacks run on mpv's threads and never
// call back into libmpv.
class PayloadProtocol {
public:
    // Registers the protocol; the object must outlive the mpv handle.
    bool registerWith(mpv_handle* handle);
    // The address under which mpv can open the payload.
    std::string publish(std::shared_ptr<PayloadSource> source);
    // Later opens of the address fail; streams already open keep their source alive until mpv closes them.
    void withdraw(const std::string& address);

private:
    static int openStream(void* self, char* address, mpv_stream_cb_info* info);

    std::mutex mutex_;
    std::map<std::string, std::shared_ptr<PayloadSource>> sources_;
    std::uint64_t published_ = 0;
};

}  // namespace mirado
