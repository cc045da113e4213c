#include "platform/CrashReport.h"

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "app/PlainTextBuffer.h"

#ifndef _WIN32
#include <execinfo.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

#ifndef MOSSDEN_VERSION
#define MOSSDEN_VERSION "unknown"
#endif
#ifndef MOSSDEN_COMMIT
#define MOSSDEN_COMMIT "unknown"
#endif

namespace Mossden::CrashReport {

namespace {

constexpr int MAX_FRAMES = 64;
constexpr std::size_t PATH_CAPACITY = 4096;
constexpr std::size_t RENDERER_CAPACITY = 256;
constexpr std::size_t ALTERNATE_STACK_SIZE = 64 * 1024;
// The last lines of output worth quoting: the kept history minus a torn
// first line.
constexpr std::size_t OUTPUT_QUOTED = 2048;

char reportFolder[PATH_CAPACITY] = {};
char renderer[RENDERER_CAPACITY] = "not started";
const char* volatile phase = "starting";
volatile int sceneIndex = -1;
const PlainTextBuffer* output = nullptr;
#ifndef _WIN32
volatile pid_t mainThread = 0;
volatile sig_atomic_t handling = 0;
alignas(16) char alternateStack[ALTERNATE_STACK_SIZE];
#endif

void copyInto(char* out, std::size_t capacity, const std::string& text) {
    const std::size_t n = text.size() < capacity - 1 ? text.size() : capacity - 1;
    std::memcpy(out, text.data(), n);
    out[n] = '\0';
}

#ifndef _WIN32

// Formatting for the handler: no stdio, no allocation.
class Writer {
public:
    explicit Writer(int fd) : fd(fd) {}
    Writer& text(const char* s) {
        if (s) write(s, std::strlen(s));
        return *this;
    }
    Writer& number(long long value, int width = 0) {
        char digits[24];
        int n = 0;
        const bool negative = value < 0;
        unsigned long long v = negative ? 0ULL - static_cast<unsigned long long>(value) : value;
        do {
            digits[n++] = static_cast<char>('0' + v % 10);
            v /= 10;
        } while (v);
        while (n < width) digits[n++] = '0';
        if (negative) digits[n++] = '-';
        char out[24];
        for (int i = 0; i < n; ++i) out[i] = digits[n - 1 - i];
        write(out, static_cast<std::size_t>(n));
        return *this;
    }
    Writer& hex(unsigned long long value) {
        char out[19] = "0x";
        int n = 2;
        bool started = false;
        for (int shift = 60; shift >= 0; shift -= 4) {
            const int digit = static_cast<int>((value >> shift) & 0xF);
            if (digit || started || shift == 0) {
                out[n++] = "0123456789abcdef"[digit];
                started = true;
            }
        }
        write(out, static_cast<std::size_t>(n));
        return *this;
    }
    void write(const char* s, std::size_t n) {
        while (n > 0) {
            const ssize_t done = ::write(fd, s, n);
            if (done <= 0) return;
            s += done;
            n -= static_cast<std::size_t>(done);
        }
    }

private:
    int fd;
};

const char* signalName(int sig) {
    switch (sig) {
        case SIGSEGV: return "SIGSEGV (invalid memory access)";
        case SIGBUS: return "SIGBUS (bus error)";
        case SIGFPE: return "SIGFPE (arithmetic error)";
        case SIGILL: return "SIGILL (illegal instruction)";
        case SIGABRT: return "SIGABRT (abort)";
        default: return "a fatal signal";
    }
}

// Civil date from days since 1970-01-01 (H. Hinnant's algorithm): gmtime
// may take locks and is not for a signal handler.
void civilTime(std::time_t t, int& year, int& month, int& day, int& hour, int& minute, int& second) {
    long long days = t / 86400;
    long long rest = t % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    hour = static_cast<int>(rest / 3600);
    minute = static_cast<int>(rest / 60 % 60);
    second = static_cast<int>(rest % 60);
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long dayOfEra = days - era * 146097;
    const long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long mp = (5 * dayOfYear + 2) / 153;
    day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yearOfEra + era * 400 + (month <= 2));
}

void writeReport(int sig, const siginfo_t* info) {
    int year, month, day, hour, minute, second;
    civilTime(std::time(nullptr), year, month, day, hour, minute, second);
    char path[PATH_CAPACITY + 64];
    {
        // The path, built by hand: crash-YYYY-MM-DD-HHMMSS.txt
        int n = 0;
        for (const char* p = reportFolder; *p && n < static_cast<int>(PATH_CAPACITY); ++p) path[n++] = *p;
        const char* name = "/crash-";
        for (const char* p = name; *p; ++p) path[n++] = *p;
        const int parts[] = {year, month, day, hour, minute, second};
        const int widths[] = {4, 2, 2, 2, 2, 2};
        const char separators[] = {'-', '-', '-', 0, 0, 0};
        for (int i = 0; i < 6; ++i) {
            int value = parts[i];
            for (int w = widths[i] - 1; w >= 0; --w) {
                path[n + w] = static_cast<char>('0' + value % 10);
                value /= 10;
            }
            n += widths[i];
            if (separators[i]) path[n++] = separators[i];
        }
        for (const char* p = ".txt"; *p; ++p) path[n++] = *p;
        path[n] = '\0';
    }
    const int fd = reportFolder[0] ? ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644) : -1;
    Writer err(STDERR_FILENO);
    err.text("\nMossden ended on ").text(signalName(sig)).text(".\n");
    if (fd < 0) {
        err.text("No crash report could be written into ").text(reportFolder).text("\n");
        return;
    }
    Writer out(fd);
    out.text("Mossden crash report\n");
    out.text("Version: ").text(MOSSDEN_VERSION).text(" (commit ").text(MOSSDEN_COMMIT).text(")\n");
    out.text("Time: ").number(year, 4).text("-").number(month, 2).text("-").number(day, 2).text(" ");
    out.number(hour, 2).text(":").number(minute, 2).text(":").number(second, 2).text(" UTC\n");
    out.text("Signal: ").number(sig).text(", ").text(signalName(sig)).text(", code ").number(info ? info->si_code : 0);
    if (info && (sig == SIGSEGV || sig == SIGBUS || sig == SIGFPE || sig == SIGILL))
        out.text(", address ").hex(reinterpret_cast<unsigned long long>(info->si_addr));
    if (info && info->si_code <= 0) out.text(", sent by process ").number(info->si_pid);
    out.text("\n");
    out.text("Scene: ");
    if (sceneIndex < 0)
        out.text("none yet");
    else
        out.number(sceneIndex);
    out.text("\nPhase: ").text(phase).text("\n");
    out.text("Renderer: ").text(renderer).text("\n");
    out.text("Backtrace (innermost first):\n");
    void* frames[MAX_FRAMES];
    const int count = backtrace(frames, MAX_FRAMES);
    backtrace_symbols_fd(frames, count, fd);
    out.text("Last lines of the game's output:\n");
    if (output) {
        char history[OUTPUT_QUOTED];
        std::size_t n = output->history(history, sizeof history);
        std::size_t start = 0;
        // Begin at a line's start unless the whole history fits.
        if (n == sizeof history) {
            while (start < n && history[start] != '\n') ++start;
            if (start < n) ++start;
        }
        out.write(history + start, n - start);
        if (n > start && history[n - 1] != '\n') out.text("\n");
    }
    ::close(fd);
    err.text("A crash report for the developers is in ").text(path).text("\n");
}

extern "C" void onFatalSignal(int sig, siginfo_t* info, void*) {
    // A signal sent from outside (kill, not a fault of this thread) may
    // land on any thread: the engine's and the sound library's workers
    // included. The report is about the game's own thread, so it goes there.
    const pid_t self = static_cast<pid_t>(syscall(SYS_gettid));
    if (info && info->si_code == SI_USER && mainThread != 0 && self != mainThread) {
        syscall(SYS_tgkill, getpid(), mainThread, sig);
        return;
    }
    if (!handling) {
        handling = 1;
        writeReport(sig, info);
    }
    signal(sig, SIG_DFL);
    raise(sig);
}

#endif

}  // namespace

std::string folder() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state && state[0] == '/') return std::string(state) + "/mossden";
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : ".") + "/.local/state/mossden";
}

void install(const PlainTextBuffer* buffer) {
#ifndef _WIN32
    output = buffer;
    mainThread = static_cast<pid_t>(syscall(SYS_gettid));
    const std::string where = folder();
    std::error_code ec;
    std::filesystem::create_directories(where, ec);
    copyInto(reportFolder, PATH_CAPACITY, where);
    // backtrace loads the unwinder on its first call, which may allocate:
    // done here, so the handler's call does not.
    void* frames[2];
    backtrace(frames, 2);
    // A stack overflow leaves no stack to run the handler on.
    stack_t stack = {};
    stack.ss_sp = alternateStack;
    stack.ss_size = sizeof alternateStack;
    sigaltstack(&stack, nullptr);
    struct sigaction action = {};
    action.sa_sigaction = onFatalSignal;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    for (int sig : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) sigaction(sig, &action, nullptr);
#else
    (void)buffer;
#endif
}

void setScene(int index) { sceneIndex = index; }

void setPhase(const char* text) { phase = text; }

void setRenderer(const std::string& text) { copyInto(renderer, RENDERER_CAPACITY, text); }

}  // namespace Mossden::CrashReport
