#pragma once

// The stand-in tools run until another process signals their stop event
// ("<tool> --stop").

// Signals the named stop event; false when no running tool has made it.
bool SignalStopEvent(const wchar_t* eventName);
