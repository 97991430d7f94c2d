// Measures desktop clocks from the outside, on a running X server with a
// window manager:
//
//   desktop_probe SECONDS STARTS NAME 'COMMAND' [NAME 'COMMAND' ...]
//
// Each command is started STARTS times on its own; each time, the time from
// starting it to its first frame is taken: the first moment its new window
// shows more than one colour (an undrawn window shows only the background
// behind it). Then all of them are started once more and left to run side by
// side; after a quiet moment their CPU time (all threads, from
// /proc/PID/task/*/schedstat) is measured over SECONDS seconds, and at the
// end their peak resident memory (VmHWM). One line per program:
//
//   NAME first_frame_ms=<median> cpu_ms_per_s=<x> peak_rss_kib=<y>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

int ignoreErrors(Display *, XErrorEvent *)
{
    return 0;
}

std::set<Window> managedWindows(Display *display)
{
    std::set<Window> windows;
    const Atom list = XInternAtom(display, "_NET_CLIENT_LIST", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char *data = nullptr;
    if (XGetWindowProperty(display, DefaultRootWindow(display), list, 0, 4096, False, XA_WINDOW, &type, &format,
                           &count, &after, &data) == Success
        && data) {
        const auto *ids = reinterpret_cast<const unsigned long *>(data);
        windows.insert(ids, ids + count);
        XFree(data);
    }
    return windows;
}

// Whether the window is on screen and shows more than one colour.
bool drawn(Display *display, Window window)
{
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display, window, &attributes) || attributes.map_state != IsViewable)
        return false;
    XImage *image = XGetImage(display, window, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (!image)
        return false;
    const unsigned long first = XGetPixel(image, 0, 0);
    bool varied = false;
    for (int y = 0; y < image->height && !varied; ++y)
        for (int x = 0; x < image->width && !varied; ++x)
            varied = XGetPixel(image, x, y) != first;
    XDestroyImage(image);
    return varied;
}

pid_t start(const std::string &command)
{
    const pid_t pid = fork();
    if (pid == 0) {
        execl("/bin/sh", "sh", "-c", ("exec " + command).c_str(), static_cast<char *>(nullptr));
        _exit(127);
    }
    return pid;
}

void stop(pid_t pid)
{
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
}

// Milliseconds from start to first frame; negative when no frame came.
double startToFirstFrame(Display *display, const std::string &command, pid_t &pid)
{
    const std::set<Window> before = managedWindows(display);
    const Clock::time_point started = Clock::now();
    pid = start(command);
    while (Clock::now() - started < std::chrono::seconds(20)) {
        for (const Window window : managedWindows(display)) {
            if (!before.count(window) && drawn(display, window))
                return std::chrono::duration<double, std::milli>(Clock::now() - started).count();
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    return -1;
}

// Nanoseconds on the CPU, summed over the process's threads.
long long cpuNanoseconds(pid_t pid)
{
    long long total = 0;
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    DIR *dir = opendir(tasks.c_str());
    if (!dir)
        return 0;
    while (const dirent *entry = readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        std::ifstream stat(tasks + "/" + entry->d_name + "/schedstat");
        long long onCpu = 0;
        if (stat >> onCpu)
            total += onCpu;
    }
    closedir(dir);
    return total;
}

long peakRssKib(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

struct Program {
    std::string name;
    std::string command;
    std::vector<double> frames;
    pid_t pid = 0;
    long long cpuBefore = 0;
    double cpuMsPerSecond = 0;
    long peak = 0;
};

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 5 || (argc - 3) % 2 != 0) {
        std::fprintf(stderr, "usage: %s SECONDS STARTS NAME 'COMMAND' [NAME 'COMMAND' ...]\n", argv[0]);
        return 2;
    }
    const int seconds = std::atoi(argv[1]);
    const int starts = std::atoi(argv[2]);
    std::vector<Program> programs;
    for (int i = 3; i + 1 < argc; i += 2)
        programs.push_back({argv[i], argv[i + 1], {}, 0, 0, 0, 0});

    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "no X display\n");
        return 1;
    }
    XSetErrorHandler(ignoreErrors);

    // Starts take turns, so that one program's start never slows another's.
    for (int round = 0; round < starts; ++round) {
        for (Program &program : programs) {
            pid_t pid = 0;
            program.frames.push_back(startToFirstFrame(display, program.command, pid));
            stop(pid);
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
        }
    }

    for (Program &program : programs) {
        startToFirstFrame(display, program.command, program.pid);
    }
    std::this_thread::sleep_for(std::chrono::seconds(3));
    const Clock::time_point from = Clock::now();
    for (Program &program : programs)
        program.cpuBefore = cpuNanoseconds(program.pid);
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    const double elapsed = std::chrono::duration<double>(Clock::now() - from).count();
    for (Program &program : programs) {
        program.cpuMsPerSecond = static_cast<double>(cpuNanoseconds(program.pid) - program.cpuBefore) / 1e6 / elapsed;
        program.peak = peakRssKib(program.pid);
        stop(program.pid);
    }
    XCloseDisplay(display);

    for (Program &program : programs) {
        std::sort(program.frames.begin(), program.frames.end());
        const double median = program.frames.empty() ? -1 : program.frames[program.frames.size() / 2];
        std::printf("%s first_frame_ms=%.1f cpu_ms_per_s=%.3f peak_rss_kib=%ld\n", program.name.c_str(), median,
                    program.cpuMsPerSecond, program.peak);
    }
    return 0;
}
