#pragma once
#include <cstdint>
#include <cstdio>
#include <memory>

class QWidget;

// The media engine: plays one plain file or one protected container at a time, drawing into the window
// given to subclasswindow. Every call comes from the UI thread and returns without waiting for decoding
// or file I/O; state is learnt from the engine's events on the Qt event loop, so play_status and the
// times follow playback only while that loop runs.
class avplayer {
public:
    // The read hook of a protected file: deciphers `length` bytes at `data`, read at file offset `offset`.
    using ReadHook = void (*)(void* context, void* data, std::int32_t length, std::int64_t offset);
    // The reader of a protected file sealed in chunks: up to `length` deciphered media bytes from media
    // position `position`; the count, 0 at the end, -1 when they cannot be read or fail their check.
    using PositionalRead = std::int64_t (*)(void* context, std::uint64_t position, std::uint8_t* buffer,
                                            std::uint64_t length);

    // RealTime plays as a person watches. AsFastAsPossible decodes without waiting for the clock when
    // there is no window (tests, benchmarks).
    enum class Pace { RealTime, AsFastAsPossible };

    explicit avplayer(Pace pace = Pace::RealTime);
    ~avplayer();
    avplayer(const avplayer&) = delete;
    avplayer& operator=(const avplayer&) = delete;

    // The window the next file's video is drawn into; the picture fills it and follows its size. Returns
    // 1 when video will appear in it, 0 when the engine plays without a picture (no window, or a platform
    // without OpenGL such as "offscreen").
    int subclasswindow(QWidget* window, int);

    // Starts loading a file and returns 1, or returns 0 when it cannot be opened at all (missing file,
    // no stream, empty payload). A plain file is given by its UTF-8 path. A protected file is read from
    // `stream` between `offset` and `offset + size` through `hook` and `context`, which must stay valid
    // until close; the key is not needed (the hook deciphers) and `stream` stays the caller's. A non-empty
    // `text` is burnt into the picture as the watermark. A file that turns out unplayable while loading
    // (not a video, a wrong key) ends with play_status -1.
    int open(const char* path, int, int, char isProtected, std::FILE* stream, std::uint64_t offset,
             std::uint64_t size, ReadHook hook, void* context, const std::uint8_t* key, bool flag,
             const char16_t* text, std::uint8_t position, std::uint8_t colour, std::uint8_t fontSize);
    // The same for a protected file whose `size` media bytes come deciphered from `read` with `context`,
    // which must stay valid until close. A read that fails (a damaged or modified chunk) ends playback
    // with play_status -2; nothing past it is handed to the decoder.
    int open(const char* path, int, int, PositionalRead read, void* context, std::uint64_t size,
             const char16_t* text, std::uint8_t position, std::uint8_t colour, std::uint8_t fontSize);

    // Starts playback of the open file at `start` seconds.
    int play(double start, int);
    int pause();
    int resume();
    // Ends playback; play_status shows 4 until close.
    int stop();
    // Forgets the file; the hook and the stream given to open are not used after this returns.
    int close();

    // 1 playing, 2 paused, 3 reached the end, 4 stopped; anything else nothing open: 0 none or still
    // loading, -1 the last file turned out unplayable, -2 a protected file's bytes could not be read or
    // failed their check (damaged or modified), until close.
    int play_status() const;
    double curr_play_time() const;
    double duration() const;
    // A fraction of the duration, 0 to 1.
    int seek_to(double fraction);
    // Seconds forward (negative: back) from the current position, exactly, not to a key frame;
    // the start and the end of the file bound it.
    int seek_by(double seconds);
    // 0 to 100 for each channel; the channels are not set apart, their mean is the volume.
    int volume(double left, double right);
    double get_volume() const;
    int mute_set(bool on);
    bool get_mute() const;

private:
    struct Engine;
    std::unique_ptr<Engine> engine_;
};
