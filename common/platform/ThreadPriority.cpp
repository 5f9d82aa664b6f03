#include "ThreadPriority.h"

#include <sys/resource.h>
#include <unistd.h>

bool ThreadPriority::lowerCurrentThread()
{
    // On Linux a thread is a task of its own: its id as a process id reaches this thread alone.
    return setpriority(PRIO_PROCESS, id_t(gettid()), 10) == 0;
}
