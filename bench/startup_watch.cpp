// SPDX-License-Identifier: GPL-3.0-or-later
// startup_watch TITLE PROGRAM [ARGUMENTS...]
//
// Starts PROGRAM and measures how long it takes from the start to the moment
// the X server maps a top-level window named TITLE, then waits until the
// program has painted and gone idle, reads its peak resident memory (VmHWM)
// and kills it. Prints one line: "<milliseconds to map> <peak KiB> <CPU ms>",
// the last the user and system time the program used until it was idle, which
// other load on the machine disturbs less than the time to map.
//
// The watcher listens for MapNotify on the root window itself, so the time is
// not rounded up to a polling interval; without a window manager (Xvfb) a
// top-level window is a direct child of the root. Exit status 1 when the
// program ends or the time limit passes before the window appears.

#include <xcb/xcb.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::timespec;

double MillisecondsSince(const Clock& start)
{
    Clock now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec - start.tv_sec) * 1e3
           + static_cast<double>(now.tv_nsec - start.tv_nsec) / 1e6;
}

template <class Reply>
using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

xcb_atom_t Atom(xcb_connection_t* x, const char* name)
{
    const ReplyPtr<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(
            x, xcb_intern_atom(x, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

std::string TextProperty(xcb_connection_t* x, xcb_window_t window, xcb_atom_t property)
{
    const ReplyPtr<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(
            x, xcb_get_property(x, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024),
            nullptr),
        &std::free);
    if (!reply)
        return {};
    return std::string(static_cast<const char*>(xcb_get_property_value(reply.get())),
                       static_cast<std::size_t>(xcb_get_property_value_length(reply.get())));
}

// User plus system CPU time of the process in clock ticks (/proc/PID/stat
// fields 14 and 15, counted after the parenthesised command name).
std::optional<long> CpuTicks(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line))
        return std::nullopt;
    const std::size_t end = line.rfind(')');
    if (end == std::string::npos)
        return std::nullopt;
    long utime = 0;
    long stime = 0;
    if (std::sscanf(line.c_str() + end + 1, " %*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %ld %ld",
                    &utime, &stime)
        != 2)
        return std::nullopt;
    return utime + stime;
}

long PeakResidentKib(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.starts_with("VmHWM:"))
            return std::atol(line.c_str() + 6);
    return -1;
}

// Painting follows the map at once; the program is taken to have painted
// once its CPU time (counted in 10 ms clock ticks) has stood still for 150 ms,
// or when the time limit has passed.
void WaitUntilIdle(pid_t pid, int limitMs)
{
    constexpr int kQuietPolls = 15;
    constexpr int kPollMs = 10;
    std::optional<long> last = CpuTicks(pid);
    int quiet = 0;
    for (int waited = 0; quiet < kQuietPolls && waited < limitMs; waited += kPollMs) {
        usleep(kPollMs * 1000);
        const std::optional<long> now = CpuTicks(pid);
        quiet = now == last ? quiet + 1 : 0;
        last = now;
    }
}

// Ends the program and whatever it started (it leads a process group of its
// own): SIGTERM, which lets callgrind write its counts, and SIGKILL after 10 s
// for a wrapper that ignores it. Returns the program's CPU time in ms.
double Stop(pid_t pid)
{
    kill(-pid, SIGTERM);
    rusage usage{};
    for (int waited = 0; wait4(pid, nullptr, WNOHANG, &usage) == 0; waited += 10) {
        if (waited == 10000)
            kill(-pid, SIGKILL);
        usleep(10000);
    }
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3
           + static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s TITLE PROGRAM [ARGUMENTS...]\n", argv[0]);
        return 2;
    }
    const std::string title = argv[1];
    const char* limit = std::getenv("STARTUP_WATCH_LIMIT_MS");
    const int limitMs = limit ? std::atoi(limit) : 30000;

    int screenNumber = 0;
    xcb_connection_t* x = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(x)) {
        std::fprintf(stderr, "startup_watch: cannot connect to the X server\n");
        return 2;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(x));
    for (int i = 0; i < screenNumber; ++i)
        xcb_screen_next(&screens);
    const xcb_window_t root = screens.data->root;
    const xcb_atom_t netWmName = Atom(x, "_NET_WM_NAME");

    // The event mask must be in force before the program starts; the atom
    // request after it is the round trip that makes sure.
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, root, XCB_CW_EVENT_MASK, &mask);
    const xcb_atom_t wmName = Atom(x, "WM_NAME");

    Clock start{};
    clock_gettime(CLOCK_MONOTONIC, &start);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[2], nullptr, &attributes, argv + 2, environ);
    posix_spawnattr_destroy(&attributes);
    if (spawned != 0) {
        std::fprintf(stderr, "startup_watch: cannot start %s\n", argv[2]);
        return 2;
    }

    std::optional<double> mappedMs;
    bool ended = false;
    pollfd connection{xcb_get_file_descriptor(x), POLLIN, 0};
    while (!mappedMs && !ended && MillisecondsSince(start) < limitMs) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(x)) {
            const double ms = MillisecondsSince(start);
            if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY && !mappedMs) {
                const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
                if (TextProperty(x, map->window, netWmName) == title
                    || TextProperty(x, map->window, wmName) == title)
                    mappedMs = ms;
            }
            std::free(event);
        }
        if (!mappedMs) {
            poll(&connection, 1, 5);
            ended = waitpid(pid, nullptr, WNOHANG) == pid;
        }
    }
    if (!mappedMs) {
        if (!ended)
            Stop(pid);
        std::fprintf(stderr, "startup_watch: no window \"%s\" was mapped\n", title.c_str());
        return 1;
    }

    WaitUntilIdle(pid, limitMs);
    const long peakKib = PeakResidentKib(pid);
    const double cpuMs = Stop(pid);
    xcb_disconnect(x);
    std::printf("%.3f %ld %.1f\n", *mappedMs, peakKib, cpuMs);
    return 0;
}
