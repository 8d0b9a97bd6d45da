// Start-up and dialog timer: starts two programs in turn (the Configurator
// and the bare yardstick) and measures, with QueryPerformanceCounter,
//   - start: from CreateProcess until the main window is idle (the process
//     waits for input and the window has nothing left to paint);
//   - About, Client and Options, each opened twice in the same process: from
//     posting the menu command until the dialog is visible and neither it nor
//     any of its controls has anything left to paint.
// After a warm-up the programs alternate, each run in a fresh process; the
// medians, minimum, maximum and the ratio of the medians are printed
// (with RC_BENCH_VERBOSE set, every run's figures too).
//
//   ui_timer.exe runs warmups product.exe bare.exe
//
// The programs are named relative to this program's folder. tools/bench-ui.sh
// builds, seeds and runs it under Wine.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr DWORD kPatienceMs = 15000;
constexpr DWORD kSettleMs = 50;  // quiet time after a dialog closes

struct Command {
    const char* name;
    WPARAM id;
};
// The main window's menu commands About, Client and Options.
constexpr Command kCommands[] = {{"About", 101}, {"Client", 102}, {"Options", 103}};
constexpr int kOpenings = 2;
constexpr int kMeasures = 1 + 3 * kOpenings;

double g_tickMs = 0;

double NowMs() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * g_tickMs;
}

// Polls `ready` every millisecond; false after kPatienceMs.
template <typename F>
bool WaitUntil(F ready) {
    double end = NowMs() + kPatienceMs;
    while (!ready()) {
        if (NowMs() > end) return false;
        Sleep(1);
    }
    return true;
}

struct Search {
    HWND owner;
    bool dialog;
    HWND found;
};

// A visible top-level window of the thread: the main window (no owner) or
// a dialog owned by `owner`.
HWND FindWindowOf(DWORD thread, HWND owner, bool dialog) {
    Search search{owner, dialog, nullptr};
    EnumThreadWindows(
        thread,
        [](HWND w, LPARAM p) -> BOOL {
            auto* s = reinterpret_cast<Search*>(p);
            if (!IsWindowVisible(w) || GetWindow(w, GW_OWNER) != s->owner) return TRUE;
            wchar_t cls[16] = L"";
            GetClassNameW(w, cls, 16);
            if ((std::wcscmp(cls, L"#32770") == 0) != s->dialog) return TRUE;
            s->found = w;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Nothing left to paint in the window and in every window inside it.
bool Painted(HWND window) {
    if (GetUpdateRect(window, nullptr, FALSE)) return false;
    BOOL clean = TRUE;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM p) -> BOOL {
            if (!IsWindowVisible(child) || !GetUpdateRect(child, nullptr, FALSE)) return TRUE;
            *reinterpret_cast<BOOL*>(p) = FALSE;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&clean));
    return clean;
}

// One run of one program: the start and each opening, in ms; empty when a
// step did not finish in time.
std::vector<double> RunOnce(const std::wstring& path) {
    std::wstring commandLine = L"\"" + path + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::vector<double> times;
    double start = 0;
    // Wine now and then refuses a start while the former process of the
    // same program is still going away; such a start is tried again.
    for (int attempt = 0;; ++attempt) {
        start = NowMs();
        if (CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                           &process))
            break;
        std::fprintf(stderr, "cannot start %ls (error %lu)\n", path.c_str(), GetLastError());
        if (attempt == 2) return times;
        Sleep(500);
    }
    HWND main = nullptr;
    bool ok = WaitForInputIdle(process.hProcess, kPatienceMs) == 0 && WaitUntil([&] {
                  main = FindWindowOf(process.dwThreadId, nullptr, false);
                  return main && Painted(main);
              });
    if (ok) times.push_back(NowMs() - start);
    for (const Command& command : kCommands) {
        for (int opening = 0; ok && opening < kOpenings; ++opening) {
            HWND dialog = nullptr;
            double posted = NowMs();
            PostMessageW(main, WM_COMMAND, command.id, 0);
            ok = WaitUntil([&] {
                dialog = FindWindowOf(process.dwThreadId, main, true);
                return dialog && Painted(dialog);
            });
            if (!ok) break;
            times.push_back(NowMs() - posted);
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
            ok = WaitUntil([&] { return !IsWindow(dialog) && Painted(main); });
            Sleep(kSettleMs);
        }
        if (!ok) std::fprintf(stderr, "%ls: %s did not finish\n", path.c_str(), command.name);
    }
    if (!ok) times.clear();
    if (main) PostMessageW(main, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, kPatienceMs) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return times;
}

struct Summary {
    double median, min, max;
};

Summary Summarise(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    std::size_t n = v.size();
    double median = n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
    return {median, v.front(), v.back()};
}

std::wstring Beside(const wchar_t* name) {
    wchar_t self[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring dir(self, n);
    return dir.substr(0, dir.rfind(L'\\') + 1) + name;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: ui_timer runs warmups product.exe bare.exe\n");
        return 2;
    }
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    g_tickMs = 1000.0 / static_cast<double>(frequency.QuadPart);
    int runs = _wtoi(argv[1]), warmups = _wtoi(argv[2]);
    if (runs < 1 || warmups < 0) return 2;
    const std::wstring programs[2] = {Beside(argv[3]), Beside(argv[4])};
    std::vector<double> samples[2][kMeasures];
    const bool verbose = GetEnvironmentVariableW(L"RC_BENCH_VERBOSE", nullptr, 0) != 0;

    for (int run = 0; run < warmups + runs; ++run) {
        // Alternate which program goes first, so neither always follows the other.
        for (int k = 0; k < 2; ++k) {
            int which = (run + k) % 2;
            std::vector<double> times = RunOnce(programs[which]);
            if (times.size() != kMeasures) return 1;
            if (verbose) {
                std::printf("run %d %-7s", run, which ? "bare" : "product");
                for (double t : times) std::printf(" %6.1f", t);
                std::printf("\n");
            }
            if (run < warmups) continue;
            for (int m = 0; m < kMeasures; ++m) samples[which][m].push_back(times[m]);
        }
    }

    std::printf("%d runs after %d warm-up runs; ms as median (min-max)\n", runs, warmups);
    // The ratio of the minima beside that of the medians: on a busy machine
    // whole processes run slow now and then, and the fastest run of each
    // program is the one least disturbed.
    std::printf("%-12s %-24s %-24s %s\n", "measure", "product", "bare", "ratio (of minima)");
    for (int m = 0; m < kMeasures; ++m) {
        char name[32];
        if (m == 0)
            std::snprintf(name, sizeof name, "start");
        else
            std::snprintf(name, sizeof name, "%s %s", kCommands[(m - 1) / kOpenings].name,
                          (m - 1) % kOpenings ? "2nd" : "1st");
        Summary p = Summarise(samples[0][m]), b = Summarise(samples[1][m]);
        char pt[32], bt[32];
        std::snprintf(pt, sizeof pt, "%.1f (%.1f-%.1f)", p.median, p.min, p.max);
        std::snprintf(bt, sizeof bt, "%.1f (%.1f-%.1f)", b.median, b.min, b.max);
        std::printf("%-12s %-24s %-24s %.2f (%.2f)\n", name, pt, bt, p.median / b.median, p.min / b.min);
    }
    return 0;
}
