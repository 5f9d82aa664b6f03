#pragma once

// Background threads that share the two or four cores of a desktop with the thread that draws the
// windows and answers the gestures.
namespace ThreadPriority {

// Gives the calling thread (not the process) a lower share of the processor, nice 10, so that
// the user-facing thread wins any core they contend for while the background work still runs.
// False when the system refused.
bool lowerCurrentThread();

} // namespace ThreadPriority
