#include "platform/win32/WaitSignal.h"

namespace win32 {

std::condition_variable& WaitSignal()
{
    // Never destroyed: a worker thread may still be releasing a mutex while the process exits.
    static std::condition_variable& signal = *new std::condition_variable;
    return signal;
}

}  // namespace win32
