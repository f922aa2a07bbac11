// QLMServiceProc.exe: a stand-in for the client's background service, for the
// tests, the demo and the benchmark. It owns the pipe \\.\pipe\servicepipe,
// serves every client that connects, checks each frame, prints each message
// as one line on standard output and appends it to the file named on its
// command line. Malformed frames are reported on standard error and skipped.
// It never writes to the pipe. Standard error also says when each client is
// accepted and when it has been served ("accepted client N", "finished
// client N"), so that a test can tell when everything sent has been read.
//
//   QLMServiceProc.exe <messages file>   run until stopped
//   QLMServiceProc.exe --stop            stop the running stand-in
#include "tools/serviceproc/FrameCheck.h"

#include "app/service/ServiceProtocol.h"
#include "tools/common/StandIn.h"
#include "tools/common/StandInNames.h"
#include "veneer/core/ScopedHandle.h"
#include "veneer/core/ScopedHolders.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <mutex>
#include <string>
#include <thread>

namespace
{

const wchar_t kToolName[] = L"QLMServiceProc";
const wchar_t kOwnerMutexName[] = L"QLMServiceProcOwner";
constexpr DWORD kPipeBufferSize = 64 * 1024;

// Another server owns the pipe.
constexpr int kExitPipeTaken = 3;

// Messages and problems from all client threads, one whole line at a time.
class COutput
{
  public:
    explicit COutput(FILE* messageFile) : m_messages(messageFile) {}

    void Message(const std::string& line)
    {
        std::lock_guard<std::mutex> hold(m_mutex);
        fprintf(stdout, "%s\n", line.c_str());
        fflush(stdout);
        fprintf(m_messages.Get(), "%s\n", line.c_str());
        fflush(m_messages.Get());
    }

    void Problem(unsigned client, const std::string& text)
    {
        std::lock_guard<std::mutex> hold(m_mutex);
        fprintf(stderr, "QLMServiceProc: client %u: %s\n", client, text.c_str());
        fflush(stderr);
    }

    // "accepted" or "finished".
    void ClientEvent(const char* event, unsigned client)
    {
        std::lock_guard<std::mutex> hold(m_mutex);
        fprintf(stderr, "QLMServiceProc: %s client %u\n", event, client);
        fflush(stderr);
    }

  private:
    std::mutex m_mutex;
    Veneer::CScopedFile m_messages;
};

// Reads up to `size` bytes, fewer only when the client has gone. The pipe is
// opened for overlapped use, so each read waits on its own event.
size_t ReadUpTo(HANDLE pipe, char* buffer, size_t size)
{
    Veneer::CScopedHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    size_t total = 0;
    while (total < size)
    {
        OVERLAPPED overlapped{};
        overlapped.hEvent = event.Get();
        const DWORD wanted = static_cast<DWORD>(std::min<size_t>(size - total, kPipeBufferSize));
        DWORD got = 0;
        if (!ReadFile(pipe, buffer + total, wanted, &got, &overlapped) &&
            (GetLastError() != ERROR_IO_PENDING || !GetOverlappedResult(pipe, &overlapped, &got, TRUE)))
            break;
        total += got;
    }
    return total;
}

// Reads one client's frames until it disconnects or sends a frame whose
// length makes the rest of its stream unreadable.
void ReadFrames(HANDLE pipe, unsigned client, COutput& output)
{
    for (;;)
    {
        unsigned char header[4] = {};
        const size_t gotHeader = ReadUpTo(pipe, reinterpret_cast<char*>(header), sizeof(header));
        if (gotHeader == 0)
            return;
        if (gotHeader < sizeof(header))
        {
            output.Problem(client, "truncated frame: the client left inside the length bytes");
            return;
        }
        const uint32_t length = FrameLength(header);
        if (!FrameLengthInBounds(length))
        {
            // Where the next frame would start is unknown: drop the client.
            output.Problem(client, "frame length " + std::to_string(length) + " out of bounds (" +
                                       std::to_string(kMinFrameLength) + ".." +
                                       std::to_string(kMaxFrameLength) + "); client dropped");
            return;
        }
        std::string body(length - sizeof(header), '\0');
        const size_t gotBody = ReadUpTo(pipe, &body[0], body.size());
        if (gotBody < body.size())
        {
            output.Problem(client, "truncated frame: " + std::to_string(gotBody + sizeof(header)) + " of " +
                                       std::to_string(length) + " bytes arrived");
            return;
        }
        std::string line;
        std::string problem;
        if (CheckFrameBody(body, line, problem))
            output.Message(line);
        else
            output.Problem(client, "malformed frame skipped: " + problem);
    }
}

void ServeClient(HANDLE pipeHandle, unsigned client, COutput& output)
{
    {
        Veneer::CScopedHandle pipe(pipeHandle);
        ReadFrames(pipe.Get(), client, output);
    }
    output.ClientEvent("finished", client);
}

HANDLE CreatePipeInstance(bool first)
{
    const DWORD openMode =
        PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | (first ? FILE_FLAG_FIRST_PIPE_INSTANCE : 0);
    return CreateNamedPipeW(Qlm::kServicePipeNameW, openMode, PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT,
                            PIPE_UNLIMITED_INSTANCES, kPipeBufferSize, kPipeBufferSize, 0, nullptr);
}

// Waits for a client on a fresh pipe instance; false when stopped.
bool AwaitClient(HANDLE pipe, HANDLE stopEvent)
{
    Veneer::CScopedHandle connectedEvent(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    OVERLAPPED overlapped{};
    overlapped.hEvent = connectedEvent.Get();
    if (ConnectNamedPipe(pipe, &overlapped))
        return true;
    // A client may connect, write and close before the instance is waited
    // on (ERROR_NO_DATA); what it wrote is still read.
    const DWORD error = GetLastError();
    if (error == ERROR_PIPE_CONNECTED || error == ERROR_NO_DATA)
        return true;
    if (error != ERROR_IO_PENDING)
        return false;
    const HANDLE waits[] = {connectedEvent.Get(), stopEvent};
    if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0)
    {
        CancelIo(pipe);
        return false;
    }
    DWORD ignored = 0;
    return GetOverlappedResult(pipe, &overlapped, &ignored, FALSE) != FALSE;
}

int Serve(int argc, wchar_t** argv)
{
    if (argc != 2 || argv[1][0] == L'-')
    {
        fwprintf(stderr, L"usage: QLMServiceProc.exe <messages file> | --stop\n");
        return kExitUsage;
    }
    FILE* messages = OpenForAppending(argv[1], kToolName);
    if (messages == nullptr)
        return kExitOutputFile;
    COutput output(messages);
    // Some systems let a second server add instances to a pipe despite
    // FILE_FLAG_FIRST_PIPE_INSTANCE; a named mutex settles who owns it.
    Veneer::CScopedHandle owner(CreateMutexW(nullptr, FALSE, kOwnerMutexName));
    const bool ownerExisted = GetLastError() == ERROR_ALREADY_EXISTS;
    if (ownerExisted)
    {
        fwprintf(stderr, L"QLMServiceProc: another QLMServiceProc owns %ls\n", Qlm::kServicePipeNameW);
        return kExitPipeTaken;
    }
    // A stop request left over from an earlier run must not stop this one.
    Veneer::CScopedHandle stopEvent(CreateEventW(nullptr, TRUE, FALSE, kServiceStandInStopEvent));
    ResetEvent(stopEvent.Get());
    HANDLE pipe = CreatePipeInstance(true);
    if (pipe == INVALID_HANDLE_VALUE)
    {
        fwprintf(stderr, L"QLMServiceProc: cannot own %ls (error %lu); is another service running?\n",
                 Qlm::kServicePipeNameW, GetLastError());
        return kExitPipeTaken;
    }
    fwprintf(stderr, L"QLMServiceProc: listening on %ls\n", Qlm::kServicePipeNameW);
    fflush(stderr);
    for (unsigned client = 1;; ++client)
    {
        const bool accepted = AwaitClient(pipe, stopEvent.Get());
        // Stopped: the instance and any client on it go with the process.
        if (WaitForSingleObject(stopEvent.Get(), 0) == WAIT_OBJECT_0)
            return kExitOk;
        // The next instance exists before this client is served, so that a
        // client opening the pipe always finds one listening (a client that
        // finds none is refused at once, without waiting).
        const HANDLE next = CreatePipeInstance(false);
        const DWORD nextError = GetLastError();
        if (accepted)
        {
            output.ClientEvent("accepted", client);
            std::thread(ServeClient, pipe, client, std::ref(output)).detach();
        }
        else
            CloseHandle(pipe);
        if (next == INVALID_HANDLE_VALUE)
        {
            fwprintf(stderr, L"QLMServiceProc: cannot create a pipe instance (error %lu)\n", nextError);
            return kExitPipeTaken;
        }
        pipe = next;
    }
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    return StandInMain(argc, argv, kToolName, kServiceStandInStopEvent, Serve);
}
