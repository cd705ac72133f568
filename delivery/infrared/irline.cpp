#include "infrared/irline.h"

#include <algorithm>
#include <thread>

namespace logo {

qint64 IrClock::nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void ThreadClock::sleep(int ms)
{
    using namespace std::chrono;
    if (ms <= 0)
        return;
    const steady_clock::duration wanted = milliseconds(ms);
    const steady_clock::time_point until = steady_clock::now() + wanted - std::min(m_late, wanted);
    std::this_thread::sleep_until(until);
    m_late = std::max(steady_clock::duration::zero(), steady_clock::now() - until);
}

} // namespace logo
