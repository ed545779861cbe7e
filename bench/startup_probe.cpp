// startup_probe [--end kill|term] [--timeout SECONDS] [--smaps FILE] -- PROGRAM [ARGS...]
//
// Starts PROGRAM on the X display named by DISPLAY and waits for the first
// top-level window that PROGRAM maps. At that moment it stops the program,
// reads its CPU time and resident memory, ends it, and prints one line:
//
//     wall_ms=<exec until mapped> cpu_ms=<user+system CPU time>
//     rss_kib=<VmRSS> anon_kib=<RssAnon>
//
// The map is seen as a MapNotify event on the root window
// (SubstructureNotify), so the program is not polled and nothing but this
// process waits on the X server. The CPU time is that of the whole process,
// every thread included. RssAnon is the part of the resident memory that is
// the process's own (heap, stacks); the rest are pages of the files it maps,
// libraries and fonts, shared with every other process that maps them.
//
// The program is stopped with SIGSTOP the moment the map arrives and
// measured standing still. --end kill (the default) then kills it; --end
// term sends SIGTERM instead and waits for the program to finish, for runs
// under a profiler that writes its results on the way out (valgrind); the
// figures then include the profiler.
//
// --smaps FILE copies /proc/<pid>/smaps at the moment of the map, for a look
// at where the resident memory lies.
#include <xcb/xcb.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <fstream>
#include <memory>
#include <poll.h>
#include <signal.h>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

[[noreturn]] void fail(const std::string &what) {
    std::fprintf(stderr, "startup_probe: %s\n", what.c_str());
    std::exit(2);
}

double nowMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

// User plus system CPU time of the whole process, every thread included,
// those already ended too; -1 when it cannot be read.
double cpuMs(pid_t pid) {
    clockid_t clock{};
    timespec ts{};
    if (clock_getcpuclockid(pid, &clock) != 0 || clock_gettime(clock, &ts) != 0)
        return -1;
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

// A field of /proc/<pid>/status in KiB ("VmRSS:"), or -1.
long statusKiB(pid_t pid, const std::string &field) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0)
            return std::strtol(line.c_str() + field.size(), nullptr, 10);
    return -1;
}

template <typename T> using XcbReply = std::unique_ptr<T, decltype(&std::free)>;

xcb_atom_t atom(xcb_connection_t *x, const char *name) {
    XcbReply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(x, xcb_intern_atom(x, 0, std::uint16_t(std::strlen(name)), name),
                              nullptr),
        &std::free);
    if (!reply)
        fail(std::string("cannot intern ") + name);
    return reply->atom;
}

// The _NET_WM_PID of a window, or 0 when it has none.
pid_t windowPid(xcb_connection_t *x, xcb_window_t window, xcb_atom_t netWmPid) {
    XcbReply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(x, xcb_get_property(x, 0, window, netWmPid, XCB_ATOM_CARDINAL, 0, 1),
                               nullptr),
        &std::free);
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) < 4)
        return 0;
    return pid_t(*static_cast<std::uint32_t *>(xcb_get_property_value(reply.get())));
}

} // namespace

int main(int argc, char *argv[]) {
    bool killAtMap = true;
    double timeoutSeconds = 60;
    std::string smapsCopy;
    int first = 1;
    for (; first < argc; ++first) {
        const std::string arg = argv[first];
        if (arg == "--") {
            ++first;
            break;
        }
        if (arg == "--end" && first + 1 < argc) {
            const std::string how = argv[++first];
            if (how != "kill" && how != "term")
                fail("--end takes kill or term");
            killAtMap = how == "kill";
        } else if (arg == "--timeout" && first + 1 < argc) {
            timeoutSeconds = std::atof(argv[++first]);
        } else if (arg == "--smaps" && first + 1 < argc) {
            smapsCopy = argv[++first];
        } else {
            fail("usage: startup_probe [--end kill|term] [--timeout SECONDS] [--smaps FILE] -- "
                 "PROGRAM [ARGS...]");
        }
    }
    if (first >= argc)
        fail("no program given");

    xcb_connection_t *x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x))
        fail("cannot connect to the X display");
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    const xcb_atom_t netWmPid = atom(x, "_NET_WM_PID");
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    if (xcb_generic_error_t *error = xcb_request_check(
            x, xcb_change_window_attributes_checked(x, root, XCB_CW_EVENT_MASK, &mask))) {
        std::free(error);
        fail("cannot watch the root window");
    }

    const double start = nowMs();
    const pid_t pid = fork();
    if (pid < 0)
        fail(std::string("fork: ") + std::strerror(errno));
    if (pid == 0) {
        // The program must not outlive the probe, and its output goes to
        // standard error so that standard output carries only the result.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        dup2(STDERR_FILENO, STDOUT_FILENO);
        close(xcb_get_file_descriptor(x));
        execvp(argv[first], argv + first);
        std::fprintf(stderr, "startup_probe: cannot run %s: %s\n", argv[first],
                     std::strerror(errno));
        _exit(127);
    }

    const double deadline = start + timeoutSeconds * 1e3;
    double mapped = -1;
    pollfd watched{xcb_get_file_descriptor(x), POLLIN, 0};
    while (mapped < 0) {
        while (xcb_generic_event_t *event = xcb_poll_for_event(x)) {
            const bool isMap = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
            const auto *map = reinterpret_cast<xcb_map_notify_event_t *>(event);
            const bool ours = isMap && map->event == root && !map->override_redirect;
            const double at = nowMs();
            const xcb_window_t window = ours ? map->window : 0;
            std::free(event);
            if (!ours)
                continue;
            // Freeze the program first, ask whose window it is second: the
            // question takes a round trip to the server.
            kill(pid, SIGSTOP);
            int status = 0;
            if (waitpid(pid, &status, WUNTRACED) != pid || !WIFSTOPPED(status))
                fail(std::string(argv[first]) + " ended as it mapped a window");
            if (windowPid(x, window, netWmPid) == pid) {
                mapped = at;
                break;
            }
            kill(pid, SIGCONT);
        }
        if (mapped >= 0)
            break;
        if (xcb_connection_has_error(x))
            fail("lost the X display");
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid)
            fail(std::string(argv[first]) + " ended before it mapped a window");
        const double left = deadline - nowMs();
        if (left <= 0) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            fail(std::string(argv[first]) + " mapped no window in time");
        }
        poll(&watched, 1, int(std::min(left, 100.0)) + 1);
    }

    // Read while the program stands still, before its exit would add the
    // cost of tearing the process down.
    const double cpu = cpuMs(pid);
    const long rss = statusKiB(pid, "VmRSS:");
    const long anonymous = statusKiB(pid, "RssAnon:");
    if (!smapsCopy.empty()) {
        std::ifstream smaps("/proc/" + std::to_string(pid) + "/smaps");
        std::ofstream(smapsCopy) << smaps.rdbuf();
    }
    kill(pid, killAtMap ? SIGKILL : SIGTERM);
    kill(pid, SIGCONT); // a stopped program takes its SIGTERM once it runs again
    int status = 0;
    if (waitpid(pid, &status, 0) != pid)
        fail(std::string("waitpid: ") + std::strerror(errno));
    xcb_disconnect(x);

    std::printf("wall_ms=%.3f cpu_ms=%.3f rss_kib=%ld anon_kib=%ld\n", mapped - start, cpu, rss,
                anonymous);
    return 0;
}
