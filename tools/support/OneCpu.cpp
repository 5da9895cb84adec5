#include "support/OneCpu.h"

#include <sched.h>

namespace korvel::tools {

bool StayOnOneCpu()
{
    const int cpu = sched_getcpu();
    if (cpu < 0)
        return false;
    cpu_set_t set;
    CPU_ZERO(&set);
    CPU_SET(cpu, &set);
    return sched_setaffinity(0, sizeof set, &set) == 0;
}

}  // namespace korvel::tools
