// What a run tells on standard error: the stage it is in and how far it has got, notes, and on
// request each stage's wall time, its processor time and the peak memory.
#pragma once

#include "cli/run_processes.h"
#include "core/host/progress.h"

#include <chrono>
#include <ostream>
#include <string>
#include <string_view>

namespace vantrel::cli {

struct LogOptions {
    // Errors only: no stages, percentages or notes.
    bool quiet = false;
    // A timing line after each stage and one for the whole run. On a shared machine the
    // processor time tells what the wall time cannot.
    bool timings = false;
    // Rewrite one line as the percentage grows (for a terminal) rather than a line per tenth.
    bool live = false;
    // With several processes, every timing line also tells the least and the most processor time
    // any process took; every process must then log the same stages.
    RunProcesses* processes = nullptr;
};

// The processor time of every thread of this process so far, in seconds.
double ProcessCpuSeconds();

class StageLog {
public:
    StageLog(std::ostream& out, LogOptions options);

    // Ends the stage before, if any, and starts the named one; the returned progress reports
    // this stage's percentage and stays valid until the next begin.
    Progress& begin(std::string_view name);
    // Ends the current stage.
    void end();
    // Ends the current stage and tells the time of the whole run.
    void finish();
    void note(std::string_view text);
    // Tells what stopped the run, whether quiet or not.
    void error(std::string_view text);

private:
    class StagePercent final : public Progress {
    public:
        explicit StagePercent(StageLog& log) : m_log(log) {}
        void start(int totalSteps) override;
        void advance(int done) override;
        void finish() override;

    private:
        StageLog& m_log;
        int m_total = 0;
        int m_shown = -1;
    };

    using Clock = std::chrono::steady_clock;

    void showPercent(int percent);
    void closeLiveLine();
    void timing(std::string_view name, Clock::time_point since, double cpuSince);

    std::ostream& m_out;
    LogOptions m_options;
    StagePercent m_percent{*this};
    std::string m_stage;
    bool m_inStage = false;
    bool m_liveLineOpen = false;
    Clock::time_point m_runStart = Clock::now();
    Clock::time_point m_stageStart = m_runStart;
    double m_runCpuStart = ProcessCpuSeconds();
    double m_stageCpuStart = m_runCpuStart;
};

// The largest resident memory of this process so far, in bytes; 0 when the system does not tell.
long long PeakResidentBytes();

} // namespace vantrel::cli
