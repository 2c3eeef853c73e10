#include "cluster/mpi_unit_sharing.h"

#include "cluster/gentle_wait.h"

#include <time.h>

#include <algorithm>
#include <climits>
#include <numeric>
#include <stdexcept>

namespace vantrel::cluster {
namespace {

// Adds the time from its making to its end to a sum of seconds: the processor time of the
// calling thread, what the work costs, or the wall time, what waiting costs.
class Stopwatch {
public:
    enum Clock { Processor, Wall };
    Stopwatch(double& seconds, Clock clock) : m_seconds(seconds), m_clock(clock), m_start(now()) {}
    Stopwatch(const Stopwatch&) = delete;
    Stopwatch& operator=(const Stopwatch&) = delete;
    ~Stopwatch() { m_seconds += now() - m_start; }

private:
    double now() const {
        if (m_clock == Wall)
            return MPI_Wtime();
        timespec time{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &time);
        return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_nsec) * 1e-9;
    }

    double& m_seconds;
    Clock m_clock;
    double m_start;
};

// A block of units, first..last-1.
struct Block {
    int first = 0;
    int last = 0;
    bool empty() const { return first >= last; }
};

// The blocks every rank starts with, known to all without a message, and the size of a block
// handed out later: a share of what is left, so that the last blocks are small and no rank is
// left with much when the others are done.
struct Schedule {
    int count;
    int ranks;
    int firstSize() const { return std::max(1, count / (3 * ranks)); }
    Block first(int rank) const {
        return {std::min(count, rank * firstSize()), std::min(count, (rank + 1) * firstSize())};
    }
    int pooled() const { return std::min(count, ranks * firstSize()); }
    int nextSize(int left) const { return std::max(1, left / (3 * ranks)); }
};

// Rank 0: runs units from the pool one at a time and answers the others' requests between them.
class LeadQueue final : public analysis::UnitQueue {
public:
    LeadQueue(MPI_Comm comm, Schedule schedule, int tag, cli::SharingSeconds& seconds)
        : m_comm(comm), m_schedule(schedule), m_tag(tag), m_seconds(seconds),
          m_own(schedule.first(0)), m_pool(schedule.pooled()), m_othersFinished(schedule.ranks, 0) {
    }

    int next(int) override {
        answerWaiting();
        if (!m_own.empty())
            return m_own.first++;
        return m_pool < m_schedule.count ? m_pool++ : -1;
    }

    int finishedByAll(int finished) override {
        return finished + std::accumulate(m_othersFinished.begin(), m_othersFinished.end(), 0);
    }

    // Every other rank asks until it is told that nothing is left.
    void close() override {
        if (m_schedule.pooled() >= m_schedule.count)
            return;
        const Stopwatch stopwatch(m_seconds.waiting, Stopwatch::Wall);
        while (m_toldDone < m_schedule.ranks - 1) {
            MPI_Status status;
            int finished = 0;
            MPI_Request request;
            MPI_Irecv(&finished, 1, MPI_INT, MPI_ANY_SOURCE, m_tag, m_comm, &request);
            WaitGently(request, &status);
            answer(status.MPI_SOURCE, finished);
        }
    }

private:
    // Units may take microseconds (a segment's search) and every look at MPI costs, a yield of
    // the processor among them where the cores are oversubscribed; a request may wait a
    // millisecond, the other rank having asked a block ahead.
    void answerWaiting() {
        constexpr double kPollSeconds = 0.001;
        const double now = MPI_Wtime();
        if (now - m_polled < kPollSeconds)
            return;
        m_polled = now;
        const Stopwatch stopwatch(m_seconds.communicating, Stopwatch::Processor);
        for (;;) {
            int waiting = 0;
            MPI_Status status;
            MPI_Iprobe(MPI_ANY_SOURCE, m_tag, m_comm, &waiting, &status);
            if (!waiting)
                return;
            int finished = 0;
            MPI_Recv(&finished, 1, MPI_INT, status.MPI_SOURCE, m_tag, m_comm, MPI_STATUS_IGNORE);
            answer(status.MPI_SOURCE, finished);
        }
    }

    void answer(int rank, int finished) {
        m_othersFinished[rank] = finished;
        const int size = m_schedule.nextSize(m_schedule.count - m_pool);
        const int block[2] = {m_pool, std::min(m_schedule.count, m_pool + size)};
        m_pool = block[1];
        if (block[0] >= block[1])
            ++m_toldDone;
        MPI_Send(block, 2, MPI_INT, rank, m_tag + 1, m_comm);
    }

    MPI_Comm m_comm;
    Schedule m_schedule;
    int m_tag;
    cli::SharingSeconds& m_seconds;
    Block m_own;
    int m_pool;
    std::vector<int> m_othersFinished;
    double m_polled = -1;
    int m_toldDone = 0;
};

// Any other rank: runs its first block, then the blocks rank 0 gives it, always one request
// ahead, until it is told that nothing is left.
class FollowerQueue final : public analysis::UnitQueue {
public:
    FollowerQueue(MPI_Comm comm, Schedule schedule, int rank, int tag, cli::SharingSeconds& seconds)
        : m_comm(comm), m_tag(tag), m_seconds(seconds), m_block(schedule.first(rank)),
          m_told(schedule.pooled() >= schedule.count) {}

    ~FollowerQueue() override {
        // Only after a failure, when the run is about to be aborted.
        if (m_asking) {
            MPI_Cancel(&m_request);
            MPI_Wait(&m_request, MPI_STATUS_IGNORE);
        }
    }

    int next(int finished) override {
        for (;;) {
            if (!m_asking && !m_told)
                ask(finished);
            if (!m_block.empty())
                return m_block.first++;
            if (!m_asking)
                return -1;
            const Stopwatch stopwatch(m_seconds.waiting, Stopwatch::Wall);
            WaitGently(m_request);
            m_asking = false;
            m_block = {m_answer[0], m_answer[1]};
            m_told = m_block.empty();
        }
    }

    int finishedByAll(int finished) override { return finished; }
    void close() override {}

private:
    void ask(int finished) {
        const Stopwatch stopwatch(m_seconds.communicating, Stopwatch::Processor);
        MPI_Send(&finished, 1, MPI_INT, 0, m_tag, m_comm);
        MPI_Irecv(m_answer, 2, MPI_INT, 0, m_tag + 1, m_comm, &m_request);
        m_asking = true;
    }

    MPI_Comm m_comm;
    int m_tag;
    cli::SharingSeconds& m_seconds;
    Block m_block;
    bool m_told;
    bool m_asking = false;
    int m_answer[2] = {0, 0};
    MPI_Request m_request = MPI_REQUEST_NULL;
};

// MPI counts in int; larger arrays go in pieces.
constexpr std::size_t kPiece = std::size_t{1} << 26;

} // namespace

MpiUnitSharing::MpiUnitSharing(MPI_Comm comm) : m_comm(comm) {
    MPI_Comm_rank(comm, &m_rank);
    MPI_Comm_size(comm, &m_size);
}

std::unique_ptr<analysis::UnitQueue> MpiUnitSharing::share(int count) {
    constexpr int kSearchTags = 10000;
    const int tag = 2 * (m_searches++ % kSearchTags);
    const Schedule schedule{count, m_size};
    if (m_rank == 0)
        return std::make_unique<LeadQueue>(m_comm, schedule, tag, m_seconds);
    return std::make_unique<FollowerQueue>(m_comm, schedule, m_rank, tag, m_seconds);
}

void MpiUnitSharing::meet() {
    const Stopwatch stopwatch(m_seconds.waiting, Stopwatch::Wall);
    MPI_Request request;
    MPI_Ibarrier(m_comm, &request);
    WaitGently(request);
}

void MpiUnitSharing::sum(std::span<std::int64_t> values) {
    meet();
    const Stopwatch stopwatch(m_seconds.communicating, Stopwatch::Processor);
    for (std::size_t at = 0; at < values.size(); at += kPiece) {
        const auto length = static_cast<int>(std::min(kPiece, values.size() - at));
        MPI_Request request;
        MPI_Iallreduce(MPI_IN_PLACE, values.data() + at, length, MPI_INT64_T, MPI_SUM, m_comm,
                       &request);
        WaitGently(request);
    }
}

std::vector<std::int32_t> MpiUnitSharing::gather(std::span<const std::int32_t> words) {
    meet();
    const Stopwatch stopwatch(m_seconds.communicating, Stopwatch::Processor);
    const long long own = static_cast<long long>(words.size());
    std::vector<long long> lengths(m_size);
    MPI_Request request;
    MPI_Iallgather(&own, 1, MPI_LONG_LONG, lengths.data(), 1, MPI_LONG_LONG, m_comm, &request);
    WaitGently(request);
    const long long total = std::accumulate(lengths.begin(), lengths.end(), 0LL);
    if (total > INT_MAX)
        throw std::length_error("the depth counts are too many to share among the processes");
    std::vector<int> counts(lengths.begin(), lengths.end());
    std::vector<int> offsets(m_size, 0);
    std::partial_sum(counts.begin(), counts.end() - 1, offsets.begin() + 1);
    std::vector<std::int32_t> all(static_cast<std::size_t>(total));
    MPI_Iallgatherv(words.data(), static_cast<int>(own), MPI_INT32_T, all.data(), counts.data(),
                    offsets.data(), MPI_INT32_T, m_comm, &request);
    WaitGently(request);
    return all;
}

} // namespace vantrel::cluster
