#include "avplayer.h"

#include <algorithm>
#include <cmath>
#include <clocale>
#include <cstring>
#include <filesystem>
#include <string>
#include <sys/stat.h>

#include <mpv/client.h>

#include <QPointer>
#include <QString>

#include "MpvEventPump.h"
#include "MpvFilterChain.h"
#include "PayloadProtocol.h"
#include "PayloadSource.h"
#include "PlaybackState.h"
#include "VideoHost.h"
#include "VideoWidget.h"
#include "WatermarkFilter.h"

using mirado::MpvEventPump;
using mirado::PayloadProtocol;
using mirado::PayloadSource;
using mirado::PlaybackState;
using mirado::VideoWidget;
using mirado::WatermarkFilter;

namespace {

// Observed properties, told apart by their reply number.
enum Observed : std::uint64_t { kPause = 1, kEndReached, kTime, kDuration };

// The longest watermark a container holds.
std::u16string watermarkText(const char16_t* text) {
    std::u16string result;
    for (std::size_t i = 0; text != nullptr && text[i] != 0 && i < 63; ++i) result += text[i];
    return result;
}

// An integer member of a map node, or -1.
std::int64_t integerField(const mpv_node& node, const char* key) {
    if (node.format != MPV_FORMAT_NODE_MAP || node.u.list == nullptr) return -1;
    const mpv_node_list& map = *node.u.list;
    for (int i = 0; i < map.num; ++i) {
        if (std::strcmp(map.keys[i], key) == 0 && map.values[i].format == MPV_FORMAT_INT64)
            return map.values[i].u.int64;
    }
    return -1;
}

}  // namespace

struct avplayer::Engine {
    explicit Engine(Pace pace);
    ~Engine();

    void configure();
    // Takes over a protected file's payload; false when there is nothing to read.
    bool openSource(std::shared_ptr<PayloadSource> payload, const char16_t* text, std::uint8_t position,
                    std::uint8_t colour, std::uint8_t fontSize);
    void beginLoad();
    void startLoad();
    void closeFile();
    void seekToPendingStart();
    void handle(const mpv_event& event);
    void command(std::initializer_list<const char*> words, std::uint64_t reply = 0);
    void setFlag(const char* name, bool on);
    // Keeps the state and mpv's pause flag in step.
    void requestPause(bool paused);
    void setText(const char* name, const char* value);

    Pace pace;
    PayloadProtocol protocol;  // outlives the handle: mpv calls it until mpv_terminate_destroy returns
    mpv_handle* mpv = nullptr;
    std::unique_ptr<MpvEventPump> pump;
    QPointer<VideoWidget> video;
    QPointer<QWidget> host;
    PlaybackState state;

    std::uint64_t requests = 0;
    bool loadPending = false;  // waiting for the video widget's render context
    std::string target;        // what mpv loads: an absolute path or a payload address
    std::shared_ptr<PayloadSource> source;
    std::u16string watermark;
    std::uint8_t watermarkPosition = 0, watermarkColour = 0, watermarkFontSize = 0;
    double pendingStart = 0;  // a start time asked for before the file was loaded
    // What was last asked for: only this engine changes mpv's mute, and mpv's report of an earlier
    // request can arrive after a later one.
    bool muted = false;
    double volume = 100;  // what was last asked for; mpv starts at full volume
};

avplayer::Engine::Engine(Pace pace) : pace(pace) {
    // mpv refuses to start under a locale whose decimal separator is not "."; Qt sets the user's locale.
    std::setlocale(LC_NUMERIC, "C");
    mpv = mpv_create();
    if (mpv == nullptr) return;
    configure();
    if (mpv_initialize(mpv) < 0 || !protocol.registerWith(mpv)) {
        mpv_terminate_destroy(mpv);
        mpv = nullptr;
        return;
    }
    mpv_observe_property(mpv, kPause, "pause", MPV_FORMAT_FLAG);
    mpv_observe_property(mpv, kEndReached, "eof-reached", MPV_FORMAT_FLAG);
    mpv_observe_property(mpv, kTime, "time-pos", MPV_FORMAT_DOUBLE);
    mpv_observe_property(mpv, kDuration, "duration", MPV_FORMAT_DOUBLE);
    pump = std::make_unique<MpvEventPump>(mpv, [this](const mpv_event& event) { handle(event); });
}

avplayer::Engine::~Engine() {
    if (mpv == nullptr) return;
    closeFile();
    delete video.data();  // its render context must go before the handle
    pump.reset();
    mpv_terminate_destroy(mpv);
}

void avplayer::Engine::configure() {
    // An embedded player: nothing of mpv's own reaches the user, nothing is read from or written to disk
    // besides the played file (no configuration, no resume data, no cache files, no side files).
    const std::pair<const char*, const char*> options[] = {
        {"config", "no"},
        {"load-scripts", "no"},
        {"osc", "no"},
        {"ytdl", "no"},
        // Only the file handed over is read: a playlist or a reference inside it (M3U, RealMedia lists,
        // streaming manifests) is never followed, to a local file or over the network.
        {"access-references", "no"},
        {"load-unsafe-playlists", "no"},
        {"demuxer-lavf-o", "protocol_whitelist=file"},
        {"input-default-bindings", "no"},
        {"input-vo-keyboard", "no"},
        {"input-cursor", "no"},
        {"osd-level", "0"},
        {"terminal", "no"},
        {"idle", "yes"},
        {"keep-open", "yes"},
        {"resume-playback", "no"},
        {"save-position-on-quit", "no"},
        {"cache-on-disk", "no"},
        {"sub-auto", "no"},
        {"audio-file-auto", "no"},
        {"hwdec", "auto-safe"},
        {"vo", "null"},
        {"ao", "null"},
    };
    for (const auto& [name, value] : options) mpv_set_option_string(mpv, name, value);
    if (pace == Pace::AsFastAsPossible) {
        mpv_set_option_string(mpv, "untimed", "yes");
        mpv_set_option_string(mpv, "ao-null-untimed", "yes");
    }
}

void avplayer::Engine::command(std::initializer_list<const char*> words, std::uint64_t reply) {
    std::vector<const char*> args(words);
    args.push_back(nullptr);
    mpv_command_async(mpv, reply, args.data());
}

void avplayer::Engine::setFlag(const char* name, bool on) {
    int flag = on ? 1 : 0;
    mpv_set_property_async(mpv, 0, name, MPV_FORMAT_FLAG, &flag);
}

void avplayer::Engine::requestPause(bool paused) {
    state.pauseRequested(paused);
    setFlag("pause", paused);
}

void avplayer::Engine::setText(const char* name, const char* value) {
    mpv_set_property_async(mpv, 0, name, MPV_FORMAT_STRING, &value);
}

void avplayer::Engine::startLoad() {
    loadPending = false;
    // Asynchronous requests run in the order they were made, so these settings apply to this file.
    const bool picture = video && video->isReady();
    setText("vo", picture ? "libmpv" : "null");
    if (pace == Pace::RealTime) setText("ao", picture ? "" : "null");
    if (watermark.empty()) {
        setText("vf", "");
        setText("hwdec", "auto-safe");
    } else {
        // The filter draws on decoded frames in memory, so hardware decoding must copy them back.
        setText("hwdec", "auto-copy-safe");
        mirado::MpvFilterChain filters(
            std::string(WatermarkFilter::kFilterName),
            WatermarkFilter::drawtextOptions(watermark, watermarkPosition, watermarkColour, watermarkFontSize));
        mpv_set_property_async(mpv, 0, "vf", MPV_FORMAT_NODE, filters.node());
    }
    // A play or pause asked for while the video output was still being made holds for this file.
    setFlag("pause", state.pauseWanted());
    command({"loadfile", target.c_str(), "replace"}, requests);
}

void avplayer::Engine::closeFile() {
    if (state.isOpen()) command({"stop"});
    // The last frame would stay on the window: the window shows its own empty state instead.
    if (video) video->hide();
    if (source) {
        source->detach();
        protocol.withdraw(target);
        source.reset();
    }
    loadPending = false;
    pendingStart = 0;
    watermark.clear();
}

void avplayer::Engine::seekToPendingStart() {
    if (pendingStart <= 0 || !state.isLoaded()) return;
    const std::string seconds = std::to_string(pendingStart);
    command({"seek", seconds.c_str(), "absolute"});
    pendingStart = 0;
}

void avplayer::Engine::handle(const mpv_event& event) {
    switch (event.event_id) {
        case MPV_EVENT_COMMAND_REPLY:
            if (event.reply_userdata != 0) {
                const auto* reply = static_cast<const mpv_event_command*>(event.data);
                const std::int64_t entry = integerField(reply->result, "playlist_entry_id");
                state.loadAnswered(event.reply_userdata, event.error >= 0 && entry >= 0, entry);
                seekToPendingStart();
            }
            break;
        case MPV_EVENT_START_FILE:
            state.fileStarted(static_cast<const mpv_event_start_file*>(event.data)->playlist_entry_id);
            break;
        case MPV_EVENT_FILE_LOADED:
            state.fileLoaded();
            seekToPendingStart();
            break;
        case MPV_EVENT_END_FILE: {
            const auto* end = static_cast<const mpv_event_end_file*>(event.data);
            if (end->reason == MPV_END_FILE_REASON_EOF || end->reason == MPV_END_FILE_REASON_ERROR)
                state.fileEnded(end->playlist_entry_id, end->reason == MPV_END_FILE_REASON_ERROR);
            break;
        }
        case MPV_EVENT_PROPERTY_CHANGE: {
            const auto* property = static_cast<const mpv_event_property*>(event.data);
            if (property->format == MPV_FORMAT_FLAG) {
                const bool on = *static_cast<const int*>(property->data) != 0;
                if (event.reply_userdata == kPause) state.pauseObserved(on);
                if (event.reply_userdata == kEndReached) state.endReachedObserved(on);
            } else if (property->format == MPV_FORMAT_DOUBLE) {
                const double value = *static_cast<const double*>(property->data);
                if (event.reply_userdata == kTime) state.timeObserved(value);
                if (event.reply_userdata == kDuration) state.durationObserved(value);
            }
            break;
        }
        default:
            break;
    }
}

avplayer::avplayer(Pace pace) : engine_(std::make_unique<Engine>(pace)) {}

avplayer::~avplayer() = default;

int avplayer::subclasswindow(QWidget* window, int) {
    Engine& e = *engine_;
    if (e.mpv == nullptr) return 0;
    if (window != nullptr && window == e.host && e.video) return 1;
    delete e.video.data();
    e.host = window;
    if (window == nullptr || !mirado::videoOutputAvailable()) return 0;
    e.video = new VideoWidget(window, e.mpv, [&e] {
        if (e.loadPending) e.startLoad();
    });
    // Shown while a file is open.
    if (!e.state.isOpen()) e.video->hide();
    return 1;
}

int avplayer::open(const char* path, int, int, char isProtected, std::FILE* stream, std::uint64_t offset,
                   std::uint64_t size, ReadHook hook, void* context, const std::uint8_t*, bool,
                   const char16_t* text, std::uint8_t position, std::uint8_t colour, std::uint8_t fontSize) {
    Engine& e = *engine_;
    if (e.mpv == nullptr) return 0;
    e.closeFile();
    e.state.closed();

    if (isProtected != 0) {
        std::shared_ptr<PayloadSource> payload =
            size == 0 ? nullptr : PayloadSource::create(stream, offset, size, hook, context);
        return e.openSource(std::move(payload), text, position, colour, fontSize) ? 1 : 0;
    }
    struct stat info {};
    if (path == nullptr || ::stat(path, &info) != 0 || !S_ISREG(info.st_mode)) return 0;
    // An absolute path is never taken for a URL or a protocol by mpv.
    std::error_code error;
    e.target = std::filesystem::absolute(path, error).string();
    if (error) return 0;
    e.beginLoad();
    return 1;
}

int avplayer::open(const char*, int, int, PositionalRead read, void* context, std::uint64_t size,
                   const char16_t* text, std::uint8_t position, std::uint8_t colour, std::uint8_t fontSize) {
    Engine& e = *engine_;
    if (e.mpv == nullptr) return 0;
    e.closeFile();
    e.state.closed();
    return e.openSource(PayloadSource::create(read, context, size), text, position, colour, fontSize) ? 1 : 0;
}

bool avplayer::Engine::openSource(std::shared_ptr<PayloadSource> payload, const char16_t* text,
                                  std::uint8_t position, std::uint8_t colour, std::uint8_t fontSize) {
    if (!payload || payload->size() == 0) return false;
    source = std::move(payload);
    target = protocol.publish(source);
    watermark = watermarkText(text);
    watermarkPosition = position;
    watermarkColour = colour;
    watermarkFontSize = fontSize;
    beginLoad();
    return true;
}

void avplayer::Engine::beginLoad() {
    state.loadRequested(++requests, true);
    if (video) video->show();
    if (video && !video->isReady()) {
        loadPending = true;
    } else {
        startLoad();
    }
}

int avplayer::play(double start, int) {
    Engine& e = *engine_;
    if (!e.state.isOpen()) return 0;
    e.requestPause(false);
    // mpv can only seek in a loaded file.
    e.pendingStart = start;
    e.seekToPendingStart();
    return 1;
}

int avplayer::pause() {
    Engine& e = *engine_;
    if (e.state.status() != PlaybackState::Playing) return 0;
    e.requestPause(true);
    return 1;
}

int avplayer::resume() {
    Engine& e = *engine_;
    if (e.state.status() != PlaybackState::Paused) return 0;
    e.requestPause(false);
    return 1;
}

int avplayer::stop() {
    Engine& e = *engine_;
    if (!e.state.isOpen()) return 0;
    e.closeFile();
    e.state.stopped();
    return 1;
}

int avplayer::close() {
    Engine& e = *engine_;
    if (e.mpv == nullptr) return 0;
    e.closeFile();
    e.state.closed();
    return 1;
}

int avplayer::play_status() const {
    const Engine& e = *engine_;
    if (e.source && e.source->failed()) return PlaybackState::Damaged;
    return e.state.status();
}

double avplayer::curr_play_time() const { return engine_->state.time(); }

double avplayer::duration() const { return engine_->state.duration(); }

int avplayer::seek_to(double fraction) {
    Engine& e = *engine_;
    if (!e.state.isLoaded() || !(fraction >= 0)) return 0;
    const std::string percent = std::to_string(std::min(fraction, 1.0) * 100.0);
    // Exact, so the picture shown is the one at the fraction asked for, not the keyframe before it.
    e.command({"seek", percent.c_str(), "absolute-percent+exact"});
    return 1;
}

int avplayer::seek_by(double seconds) {
    Engine& e = *engine_;
    if (!e.state.isLoaded() || !std::isfinite(seconds)) return 0;
    const std::string offset = std::to_string(seconds);
    e.command({"seek", offset.c_str(), "relative+exact"});
    return 1;
}

int avplayer::volume(double left, double right) {
    Engine& e = *engine_;
    const double level = (left + right) / 2;
    if (e.mpv == nullptr || !(level >= 0)) return 0;
    e.volume = std::min(level, 100.0);
    mpv_set_property_async(e.mpv, 0, "volume", MPV_FORMAT_DOUBLE, &e.volume);
    return 1;
}

double avplayer::get_volume() const { return engine_->volume; }

int avplayer::mute_set(bool on) {
    Engine& e = *engine_;
    if (e.mpv == nullptr) return 0;
    e.muted = on;
    e.setFlag("mute", on);
    return 1;
}

bool avplayer::get_mute() const { return engine_->muted; }
