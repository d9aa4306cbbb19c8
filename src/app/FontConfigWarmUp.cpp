#include "FontConfigWarmUp.h"

#include <fontconfig/fontconfig.h>
#include <sched.h>
#include <unistd.h>

#include <thread>

namespace {

void loadWhenIdle()
{
    const sched_param idle {};
    sched_setscheduler(gettid(), SCHED_IDLE, &idle);
    // A configuration the main thread loaded meanwhile is kept; this one is then dropped.
    FcInit();
}

} // namespace

void FontConfigWarmUp::start()
{
    // Nothing waits for it: if the program ends first, the loading ends with it.
    std::thread(loadWhenIdle).detach();
}
