#pragma once

// What the stand-ins for the programs outside the system share: their exit
// codes, their entry point with its stop request, and their output files.
// A stand-in runs until another process signals its stop event
// ("<tool> --stop").
#include <cstdio>

// Exit codes of every stand-in; each may give 3 a meaning of its own.
enum EStandInExit : int
{
    kExitOk = 0,
    kExitUsage = 1,
    kExitOutputFile = 2,
    kExitNotRunning = 4,
};

// The stand-in's wmain: "--stop" alone signals the running stand-in's stop
// event (kExitNotRunning, with a line on standard error, when none runs);
// any other command line is the stand-in's to serve.
int StandInMain(int argc, wchar_t** argv, const wchar_t* toolName, const wchar_t* stopEventName,
                int (*serve)(int argc, wchar_t** argv));

// Signals the named stop event; false when no running stand-in has made it.
bool SignalStopEvent(const wchar_t* eventName);

// Opens a file for appending in binary mode; null, after a line on standard
// error, when it cannot be opened.
FILE* OpenForAppending(const wchar_t* path, const wchar_t* toolName);
