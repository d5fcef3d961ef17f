// SPDX-License-Identifier: GPL-3.0-or-later

// launchtime [-s SETTLE_MS] [-t TIMEOUT_MS] PROGRAM [ARGUMENT...]
//
// Starts PROGRAM on the X display of $DISPLAY, which must have no window manager and no other
// client drawing, and prints one line: the milliseconds from the start until its first top-level
// window was mapped; the milliseconds until that window was painted; and, read once the window has
// settled (see below), the program's resident memory in KiB and the processor time its threads
// have used, in milliseconds (which a busy machine disturbs less than the elapsed times). Then it
// ends the program.
//
// "Painted" is the moment the window's pixels took their final look. The X server's DAMAGE
// extension reports every drawing into the window; at each report the window's pixels are read
// back (XGetImage) and the time of the last report that changed them counts, once no drawing has
// changed them for SETTLE_MS (400 by default). A program still changing its window after
// TIMEOUT_MS (10000) fails the measurement, as does one that shows no window.
//
// Exit status: 0 measured, 1 no window or never settled, 2 usage, no display or no DAMAGE.

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

#include <X11/Xlibint.h>
#include <X11/Xutil.h>
#include <X11/extensions/damageproto.h>
#undef min
#undef max

namespace {

double nowMs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

// The window may vanish or change size between a report and its read-back; such a read-back
// just fails.
int ignoreXError(Display *, XErrorEvent *)
{
    return 0;
}

// The three DAMAGE requests needed, made by hand: the extension's client library and headers are
// not among the game's packages, its protocol headers are (they come with Xlib's).
class DamageWatch
{
public:
    explicit DamageWatch(Display *display) : m_display(display) {}

    bool initialise()
    {
        int error;
        if (!XQueryExtension(m_display, "DAMAGE", &m_opcode, &m_event, &error))
            return false;
        LockDisplay(m_display);
        auto *request = static_cast<xDamageQueryVersionReq *>(
            _XGetRequest(m_display, X_DamageQueryVersion, sz_xDamageQueryVersionReq));
        request->reqType = m_opcode;
        request->damageReqType = X_DamageQueryVersion;
        request->majorVersion = 1;
        request->minorVersion = 1;
        xDamageQueryVersionReply reply;
        const bool answered = _XReply(m_display, reinterpret_cast<xReply *>(&reply), 0, xFalse);
        UnlockDisplay(m_display);
        XESetWireToEvent(m_display, m_event + XDamageNotify, toEvent);
        return answered;
    }

    // Reports, as events of type notifyType(), when drawing makes the window's damage non-empty.
    void watch(Window window)
    {
        LockDisplay(m_display);
        auto *request = static_cast<xDamageCreateReq *>(
            _XGetRequest(m_display, X_DamageCreate, sz_xDamageCreateReq));
        request->reqType = m_opcode;
        request->damageReqType = X_DamageCreate;
        request->damage = XAllocID(m_display);
        request->drawable = window;
        request->level = 3; // XDamageReportNonEmpty
        m_damages.emplace_back(window, request->damage);
        UnlockDisplay(m_display);
    }

    // Empties the window's damage, so that the next drawing is reported again.
    void repair(Window window)
    {
        const auto found = std::find_if(m_damages.begin(), m_damages.end(),
                                        [window](auto damage) { return damage.first == window; });
        if (found == m_damages.end())
            return;
        LockDisplay(m_display);
        auto *request = static_cast<xDamageSubtractReq *>(
            _XGetRequest(m_display, X_DamageSubtract, sz_xDamageSubtractReq));
        request->reqType = m_opcode;
        request->damageReqType = X_DamageSubtract;
        request->damage = found->second;
        request->repair = None;
        request->parts = None;
        UnlockDisplay(m_display);
    }

    int notifyType() const { return m_event + XDamageNotify; }

private:
    // A report arrives as an event whose xany.window is the damaged window.
    static Bool toEvent(Display *display, XEvent *event, xEvent *wire)
    {
        const auto *notify = reinterpret_cast<const xDamageNotifyEvent *>(wire);
        event->xany.type = notify->type & 0x7f;
        event->xany.serial = _XSetLastRequestRead(display, reinterpret_cast<xGenericReply *>(wire));
        event->xany.send_event = (notify->type & 0x80) != 0;
        event->xany.display = display;
        event->xany.window = notify->drawable;
        return True;
    }

    Display *m_display;
    int m_opcode = 0;
    int m_event = 0;
    std::vector<std::pair<Window, XID>> m_damages;
};

// A hash of the window's pixels and size, or 0 when they cannot be read.
std::uint64_t windowPixels(Display *display, Window window)
{
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display, window, &attributes) || attributes.map_state != IsViewable)
        return 0;
    XImage *image =
        XGetImage(display, window, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    if (!image)
        return 0;
    std::uint64_t hash = 14695981039346656037ull ^ std::uint64_t(attributes.width) << 32 ^
                         std::uint64_t(attributes.height);
    const std::size_t bytes = std::size_t(image->bytes_per_line) * image->height;
    for (std::size_t i = 0; i < bytes; i += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, image->data + i, std::min<std::size_t>(8, bytes - i));
        hash = (hash ^ word) * 1099511628211ull;
    }
    XDestroyImage(image);
    return hash | 1;
}

long residentKib(pid_t pid)
{
    const std::string path = "/proc/" + std::to_string(pid) + "/status";
    FILE *status = std::fopen(path.c_str(), "r");
    if (!status)
        return -1;
    long kib = -1;
    char line[256];
    while (std::fgets(line, sizeof line, status))
        if (std::sscanf(line, "VmRSS: %ld", &kib) == 1)
            break;
    std::fclose(status);
    return kib;
}

// The processor time the program's live threads have had so far, in milliseconds.
double processorMs(pid_t pid)
{
    const std::string path = "/proc/" + std::to_string(pid) + "/task";
    DIR *tasks = opendir(path.c_str());
    if (!tasks)
        return -1;
    double ns = 0;
    while (const dirent *task = readdir(tasks)) {
        if (task->d_name[0] == '.')
            continue;
        const std::string statPath = path + '/' + task->d_name + "/schedstat";
        if (FILE *stat = std::fopen(statPath.c_str(), "r")) {
            double taskNs = 0;
            if (std::fscanf(stat, "%lf", &taskNs) == 1)
                ns += taskNs;
            std::fclose(stat);
        }
    }
    closedir(tasks);
    return ns / 1e6;
}

void endProgram(pid_t pid)
{
    kill(pid, SIGTERM);
    for (int i = 0; i < 200; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            return;
        usleep(10000);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

// Waits up to timeoutMs from start for the next event; false when none came.
bool nextEvent(Display *display, XEvent &event, double start, double timeoutMs)
{
    while (!XPending(display)) {
        const double left = timeoutMs - (nowMs() - start);
        if (left <= 0)
            return false;
        pollfd connection{ConnectionNumber(display), POLLIN, 0};
        poll(&connection, 1, int(left) + 1);
    }
    XNextEvent(display, &event);
    return true;
}

bool isTopLevel(Display *display, Window parent, Bool overrideRedirect)
{
    return parent == DefaultRootWindow(display) && !overrideRedirect;
}

// Watches every top-level window the program creates and returns the first it maps, or 0 when
// none comes in time.
Window waitForMap(Display *display, DamageWatch &damage, double start, double timeoutMs)
{
    XEvent event;
    while (nextEvent(display, event, start, timeoutMs)) {
        if (event.type == CreateNotify &&
            isTopLevel(display, event.xcreatewindow.parent, event.xcreatewindow.override_redirect))
            damage.watch(event.xcreatewindow.window);
        else if (event.type == MapNotify &&
                 isTopLevel(display, event.xmap.event, event.xmap.override_redirect))
            return event.xmap.window;
    }
    return 0;
}

// The time of the last drawing that changed the window's pixels, once they have kept them for
// settleMs; a negative time when they never did within timeoutMs of start.
double waitForPaint(Display *display, DamageWatch &damage, Window window, double start,
                    double settleMs, double timeoutMs)
{
    std::uint64_t pixels = windowPixels(display, window);
    double changed = nowMs() - start;
    XEvent event;
    while (nowMs() - start < timeoutMs) {
        if (!nextEvent(display, event, start, std::min(timeoutMs, changed + settleMs)))
            return nowMs() - start >= timeoutMs ? -1 : changed;
        if (event.type != damage.notifyType() || event.xany.window != window)
            continue;
        const double reported = nowMs() - start;
        damage.repair(window);
        if (const std::uint64_t now = windowPixels(display, window); now != pixels) {
            pixels = now;
            changed = reported;
        }
    }
    return -1;
}

} // namespace

int main(int argc, char *argv[])
{
    double settleMs = 400;
    double timeoutMs = 10000;
    int option;
    while ((option = getopt(argc, argv, "+s:t:")) != -1) {
        if (option == 's')
            settleMs = std::atof(optarg);
        else if (option == 't')
            timeoutMs = std::atof(optarg);
        else
            return 2;
    }
    if (optind >= argc) {
        std::fprintf(stderr, "usage: launchtime [-s SETTLE_MS] [-t TIMEOUT_MS] PROGRAM [ARG...]\n");
        return 2;
    }
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "launchtime: cannot open display\n");
        return 2;
    }
    DamageWatch damage(display);
    if (!damage.initialise()) {
        std::fprintf(stderr, "launchtime: the X server has no DAMAGE extension\n");
        return 2;
    }
    XSetErrorHandler(ignoreXError);
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const char *program = argv[optind];
    const double start = nowMs();
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(program, argv + optind);
        std::fprintf(stderr, "launchtime: %s: %s\n", program, std::strerror(errno));
        _exit(127);
    }

    const Window window = waitForMap(display, damage, start, timeoutMs);
    const double mapped = nowMs() - start;
    const double painted =
        window ? waitForPaint(display, damage, window, start, settleMs, timeoutMs) : -1;
    if (painted < 0) {
        std::fprintf(stderr, "launchtime: %s %s\n", program,
                     window ? "kept changing its window" : "showed no window");
        endProgram(pid);
        return 1;
    }
    const long rss = residentKib(pid);
    const double processor = processorMs(pid);
    endProgram(pid);
    std::printf("%.1f %.1f %ld %.1f\n", mapped, painted, rss, processor);
    return 0;
}
