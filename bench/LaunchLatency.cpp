// Launch-to-report latency: the time from starting a program to its report
// arriving at the service stand-in, for QLMNews.exe and for the reference
// program that only opens the pipe and writes one frame. The two are run in
// turn, each first in every other run, so that drift in the machine's load
// affects both alike; the medians and their ratio are printed. Both are built
// with the same flags (static runtime, GUI subsystem).
//
//   LaunchLatency.exe [runs]      (the programs lie beside it)
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace
{

using Clock = std::chrono::steady_clock;
constexpr int kDefaultRuns = 21;
constexpr auto kReportTimeout = std::chrono::seconds(15);
constexpr DWORD kSettleMs = 100;

std::string Folder()
{
    char path[MAX_PATH * 4] = {};
    GetModuleFileNameA(nullptr, path, sizeof(path));
    const std::string full(path);
    return full.substr(0, full.find_last_of('\\'));
}

// Arrival times of the lines the stand-in prints, one per message received.
class CArrivals
{
  public:
    void ReadFrom(HANDLE output)
    {
        char chunk[4096];
        DWORD got = 0;
        while (ReadFile(output, chunk, sizeof(chunk), &got, nullptr) && got > 0)
        {
            const Clock::time_point now = Clock::now();
            std::lock_guard<std::mutex> hold(mutex);
            for (DWORD i = 0; i < got; ++i)
            {
                if (chunk[i] == '\n')
                    times.push_back(now);
            }
            arrived.notify_all();
        }
    }

    bool Next(Clock::time_point& time)
    {
        std::unique_lock<std::mutex> hold(mutex);
        if (!arrived.wait_for(hold, kReportTimeout, [this] { return !times.empty(); }))
            return false;
        time = times.front();
        times.pop_front();
        return true;
    }

  private:
    std::mutex mutex;
    std::condition_variable arrived;
    std::deque<Clock::time_point> times;
};

bool StartProcess(const std::string& commandLine, HANDLE output, PROCESS_INFORMATION& info)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    if (output != nullptr)
    {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = output;
    }
    std::string line = commandLine;
    return CreateProcessA(nullptr, &line[0], nullptr, nullptr, output != nullptr, 0, nullptr, nullptr,
                          &startup, &info) != FALSE;
}

// Milliseconds from the start of the program to its report's arrival, or a
// negative value when it failed.
double MeasureOnce(const std::string& commandLine, CArrivals& arrivals)
{
    PROCESS_INFORMATION info{};
    const Clock::time_point start = Clock::now();
    if (!StartProcess(commandLine, nullptr, info))
        return -1;
    Clock::time_point arrival;
    const bool arrived = arrivals.Next(arrival);
    WaitForSingleObject(info.hProcess, INFINITE);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    // What the program set going after its report (the window system coming
    // up, say) settles before the next start is timed.
    Sleep(kSettleMs);
    return arrived ? std::chrono::duration<double, std::milli>(arrival - start).count() : -1;
}

// True once the stand-in's pipe exists (all its instances may be busy).
bool AwaitServicePipe()
{
    const Clock::time_point deadline = Clock::now() + kReportTimeout;
    while (!WaitNamedPipeA("\\\\.\\pipe\\servicepipe", 1) && GetLastError() != ERROR_SEM_TIMEOUT)
    {
        if (Clock::now() >= deadline)
            return false;
        Sleep(10);
    }
    return true;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultRuns;
    const std::string folder = Folder();

    SECURITY_ATTRIBUTES inheritable{};
    inheritable.nLength = sizeof(inheritable);
    inheritable.bInheritHandle = TRUE;
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 0))
        return 1;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

    PROCESS_INFORMATION service{};
    const std::string messages = folder + "\\bench-messages.txt";
    if (!StartProcess("\"" + folder + "\\QLMServiceProc.exe\" \"" + messages + "\"", writeEnd, service))
    {
        fprintf(stderr, "cannot start QLMServiceProc.exe\n");
        return 1;
    }
    CloseHandle(writeEnd);
    if (!AwaitServicePipe())
    {
        fprintf(stderr, "QLMServiceProc.exe did not make its pipe\n");
        TerminateProcess(service.hProcess, 1);
        return 1;
    }
    CArrivals arrivals;
    std::thread reader([&] { arrivals.ReadFrom(readEnd); });

    const std::string launcher =
        "\"" + folder + "\\QLMNews.exe\" \"http://bench.example/ad\" benchkey benchchannel";
    const std::string reference = "\"" + folder + "\\PipeReference.exe\"";
    // One unmeasured run of each loads what the system caches.
    MeasureOnce(launcher, arrivals);
    MeasureOnce(reference, arrivals);
    std::vector<double> launcherTimes;
    std::vector<double> referenceTimes;
    for (int run = 0; run < runs; ++run)
    {
        // Each goes first in every other run, so that neither always follows
        // the other's after-effects.
        double launched = 0;
        double referenced = 0;
        if (run % 2 == 0)
        {
            launched = MeasureOnce(launcher, arrivals);
            referenced = MeasureOnce(reference, arrivals);
        }
        else
        {
            referenced = MeasureOnce(reference, arrivals);
            launched = MeasureOnce(launcher, arrivals);
        }
        if (launched < 0 || referenced < 0)
        {
            fprintf(stderr, "run %d: a report did not arrive\n", run + 1);
            // The reader ends with the stand-in's output.
            TerminateProcess(service.hProcess, 1);
            reader.join();
            return 1;
        }
        launcherTimes.push_back(launched);
        referenceTimes.push_back(referenced);
    }
    TerminateProcess(service.hProcess, 0);
    reader.join();

    const double launcherMedian = Median(launcherTimes);
    const double referenceMedian = Median(referenceTimes);
    printf("launch-to-report latency, median of %d runs\n", runs);
    printf("  QLMNews.exe        %8.1f ms\n", launcherMedian);
    printf("  PipeReference.exe  %8.1f ms\n", referenceMedian);
    printf("  ratio              %8.2f (target <= 1.10)\n", launcherMedian / referenceMedian);
    return 0;
}
