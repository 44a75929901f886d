#pragma once

// What the side-by-side figures share: whether a file is in the page cache,
// medians, and the ratios of rounds taken in turns.

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

// The share of the file's pages in the page cache, 0-100; -1 when unknown.
inline double ResidentPercent(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    const off_t size = ::lseek(fd, 0, SEEK_END);
    void* map = size > 0 ? ::mmap(nullptr, static_cast<std::size_t>(size), PROT_READ, MAP_SHARED, fd, 0) : MAP_FAILED;
    ::close(fd);
    if (map == MAP_FAILED)
        return -1;
    const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    const std::size_t pages = (static_cast<std::size_t>(size) + page - 1) / page;
    std::vector<unsigned char> resident(pages);
    double percent = -1;
    if (::mincore(map, static_cast<std::size_t>(size), resident.data()) == 0)
        percent = 100.0
            * static_cast<double>(
                      std::count_if(resident.begin(), resident.end(), [](unsigned char r) { return r & 1; }))
            / static_cast<double>(pages);
    ::munmap(map, static_cast<std::size_t>(size));
    return percent;
}

// "warm" when nearly all of it is cached, "cold" when little is, else the share.
inline std::string CacheState(const std::string& path)
{
    const double percent = ResidentPercent(path);
    if (percent < 0)
        return "unknown";
    if (percent >= 99)
        return "warm";
    if (percent <= 1)
        return "cold";
    return std::to_string(static_cast<int>(percent)) + "% cached";
}

// The median of a few figures (the middle one, the upper of two).
inline double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Runs both sides of a round, ours first in the even rounds.
template <class Ours, class Theirs>
void TakeTurns(int round, Ours ours, Theirs theirs)
{
    if (round % 2 == 0) {
        ours();
        theirs();
    } else {
        theirs();
        ours();
    }
}

// Rounds of two sides taken in turns: each side returns its seconds
// (negative when it failed), `show(round, ours, theirs)` prints a round.
// False when a side failed.
template <class Ours, class Theirs, class Show>
bool TimeInTurns(int rounds, Ours ours, Theirs theirs, Show show, std::vector<double>& oursTimes,
                 std::vector<double>& theirTimes)
{
    for (int round = 0; round < rounds; ++round) {
        double oursSeconds = 0, theirSeconds = 0;
        TakeTurns(
            round, [&] { oursSeconds = ours(); }, [&] { theirSeconds = theirs(); });
        if (oursSeconds < 0 || theirSeconds < 0)
            return false;
        show(round, oursSeconds, theirSeconds);
        oursTimes.push_back(oursSeconds);
        theirTimes.push_back(theirSeconds);
    }
    return true;
}

// Two sides timed in rounds whose order alternates, so that whatever the
// first run of a round pays or leaves behind (a flush, a warm cache) falls
// on each side once in each pair of rounds. Each pair's ratio is the other
// side's summed time over ours.
inline std::vector<double> PairRatios(const std::vector<double>& ours, const std::vector<double>& theirs)
{
    std::vector<double> ratios;
    for (std::size_t i = 0; i + 1 < ours.size() && i + 1 < theirs.size(); i += 2)
        ratios.push_back((theirs[i] + theirs[i + 1]) / (ours[i] + ours[i + 1]));
    return ratios;
}
