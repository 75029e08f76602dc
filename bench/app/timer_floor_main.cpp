// What this machine allows a frame beat: a thread of the frame thread's real-time priority that
// wakes every 100 ms on an absolute deadline and does nothing else, for SECONDS. Prints the
// period's deviation from 100 ms as the frame benchmark prints the Controller's, to read beside
// it: on a shared host the scheduler's own delays, not the program's.
// Usage: kx7420-timer-floor SECONDS
#include <pthread.h>
#include <sched.h>
#include <time.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

double msOf(const timespec& t) {
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
    sched_param priority{};
    priority.sched_priority = 10;
    pthread_setschedparam(pthread_self(), SCHED_FIFO, &priority);
    timespec due{};
    clock_gettime(CLOCK_MONOTONIC, &due);
    std::vector<double> woke;
    for (int i = 0; i < seconds * 10; ++i) {
        due.tv_nsec += 100'000'000;
        if (due.tv_nsec >= 1'000'000'000) {
            due.tv_nsec -= 1'000'000'000;
            ++due.tv_sec;
        }
        while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &due, nullptr) != 0) {
        }
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        woke.push_back(msOf(now));
    }
    std::vector<double> deviation;
    int missed = 0;
    int stalls = 0;  // periods 20 ms or more off: the thread kept from its core that long
    for (std::size_t i = 1; i < woke.size(); ++i) {
        const double period = woke[i] - woke[i - 1];
        deviation.push_back(std::abs(period - 100.0));
        if (period >= 150.0) ++missed;
        if (std::abs(period - 100.0) >= 20.0) ++stalls;
    }
    if (deviation.empty()) return 1;
    std::sort(deviation.begin(), deviation.end());
    const auto at = [&deviation](double q) {
        const auto i =
            static_cast<std::size_t>(std::ceil(q * static_cast<double>(deviation.size())));
        return deviation[std::clamp<std::size_t>(i, 1, deviation.size()) - 1];
    };
    std::printf(
        "%zu periods, deviation from 100 ms: median %.3f ms, p99 %.3f ms, worst %.3f ms; "
        "missed ticks %d; 20 ms or more off %d times\n",
        deviation.size(), at(0.5), at(0.99), deviation.back(), missed, stalls);
    return 0;
}
