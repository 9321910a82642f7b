// Prints the cipher's throughput next to memcpy's; encipherFile in both formats next to a plain copy of
// the same file through the same 4 MiB buffer and next to cp(1), run by turns; and the time to open a
// format 2 container with the right password at each work factor from 15 to 18.
// Usage: container_bench [FOLDER] (a 1 GiB scratch file goes there).
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include "container/AdditiveKeyCipher.h"
#include "container/ContainerReader.h"
#include "container/ContainerWriter.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// Best of a few runs, so a passing hiccup of the machine does not decide the figure. Dirty pages of the
// previous run are written out first, or their write-back would throttle whichever run comes next.
template <typename Work>
double bestSeconds(int runs, Work work) {
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        ::sync();
        const auto start = Clock::now();
        work();
        best = std::min(best, secondsSince(start));
    }
    return best;
}

// Into a fresh file each time, as the writer does (it renames a new file over the old container).
void plainCopy(const fs::path& from, const fs::path& to, std::vector<std::uint8_t>& buffer) {
    ::unlink(to.c_str());
    const int in = ::open(from.c_str(), O_RDONLY);
    const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    for (ssize_t got; (got = ::read(in, buffer.data(), buffer.size())) > 0;) {
        if (::write(out, buffer.data(), std::size_t(got)) != got) break;
    }
    ::close(in);
    ::close(out);
}

double processCpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void systemCopy(const fs::path& from, const fs::path& to) {
    ::unlink(to.c_str());
    std::string program = "/bin/cp", a = from.string(), b = to.string();
    char* argv[] = {program.data(), a.data(), b.data(), nullptr};
    pid_t child = 0;
    if (posix_spawn(&child, argv[0], nullptr, nullptr, argv, environ) == 0) ::waitpid(child, nullptr, 0);
}

// The best of `runs` rounds for each piece of work, the pieces taking turns within a round, so that a
// slow spell of the shared machine falls on all of them alike.
template <std::size_t N>
std::array<double, N> bestByTurns(int runs, const std::array<std::function<void()>, N>& works) {
    std::array<double, N> best;
    best.fill(1e300);
    for (int i = 0; i < runs; ++i) {
        for (std::size_t w = 0; w < N; ++w) {
            ::sync();
            const auto start = Clock::now();
            works[w]();
            best[w] = std::min(best[w], secondsSince(start));
        }
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    const fs::path folder = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / "mirado-bench";
    fs::create_directories(folder);

    constexpr std::size_t kBytes = 256u << 20;
    std::vector<std::uint8_t> a(kBytes, 1), b(kBytes, 2);
    mirado::AdditiveKeyCipher cipher(mirado::AdditiveKeyCipher::keyFromPassword(u"bench123"));
    const double memcpySeconds = bestSeconds(5, [&] { std::memcpy(b.data(), a.data(), kBytes); });
    const double cipherSeconds = bestSeconds(5, [&] { cipher.encipher(a.data(), kBytes); });
    const double gib = double(kBytes) / 1e9;
    std::printf("cipher in place    %6.2f GB/s\n", gib / cipherSeconds);
    std::printf("memcpy             %6.2f GB/s\n", gib / memcpySeconds);
    std::printf("cipher / memcpy    %6.2f   (goal >= 0.5)\n", (gib / cipherSeconds) / (gib / memcpySeconds));

    const fs::path source = folder / "source.bin", copy = folder / "copy.bin";
    {
        std::FILE* out = std::fopen(source.c_str(), "wb");
        for (int i = 0; i < 4; ++i) std::fwrite(a.data(), 1, kBytes, out);
        std::fclose(out);
    }
    std::vector<std::uint8_t> buffer(mirado::ContainerWriter::kChunkSize);
    plainCopy(source, copy, buffer);  // warms the page cache
    mirado::ContainerWriter writer;
    const auto encipher = [&](mirado::ContainerVersion version) {
        writer.setVersion(version);
        writer.configure(cipher.key(), false, u"", 0, 0, 0);
        writer.encipherFile(source, folder);
    };
    const auto [copySeconds, cpSeconds, writeSeconds, sealSeconds] = bestByTurns<4>(
        5, {[&] { plainCopy(source, copy, buffer); }, [&] { systemCopy(source, copy); },
            [&] { encipher(mirado::ContainerVersion::Compatible); }, [&] { encipher(mirado::ContainerVersion::Sealed); }});
    std::printf("plain copy 1 GiB   %6.3f s\n", copySeconds);
    std::printf("cp 1 GiB           %6.3f s\n", cpSeconds);
    std::printf("format 1 1 GiB     %6.3f s\n", writeSeconds);
    std::printf("format 2 1 GiB     %6.3f s\n", sealSeconds);
    std::printf("format 1 / copy    %6.2f   (goal <= 1.2)\n", writeSeconds / copySeconds);
    std::printf("format 2 / cp      %6.2f   (goal <= 1.2)\n", sealSeconds / cpSeconds);
    fs::remove(folder / "source.pmpk");

    // Opening runs scrypt once; the default work factor is the largest that keeps this near 0.5 s.
    const fs::path small = folder / "small.mp4";
    plainCopy(source, small, buffer);
    fs::resize_file(small, 1 << 20);
    for (int workFactor = 15; workFactor <= 18; ++workFactor) {
        writer.setVersion(mirado::ContainerVersion::Sealed, workFactor);
        writer.configure(cipher.key(), false, u"", 0, 0, 0);
        writer.encipherFile(small, folder);
        double cpuSeconds = 1e300;
        const double openSeconds = bestSeconds(3, [&] {
            const double cpuBefore = processCpuSeconds();
            mirado::ContainerReader reader;
            reader.setKey(cipher.key());
            if (!reader.open(folder / "small.pmpk")) std::printf("open failed\n");
            cpuSeconds = std::min(cpuSeconds, processCpuSeconds() - cpuBefore);
        });
        // The processor time too: on a shared machine the wall time mostly measures the queue.
        std::printf("open, work factor %d %6.3f s (cpu %5.3f s)%s\n", workFactor, openSeconds, cpuSeconds,
                    workFactor == mirado::kDefaultWorkFactor ? "   (the default; goal <= 0.5)" : "");
    }
    fs::remove_all(folder);
    return 0;
}
