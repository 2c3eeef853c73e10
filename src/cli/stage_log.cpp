#include "cli/stage_log.h"

#include <sys/resource.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace vantrel::cli {
namespace {

constexpr std::string_view kWholeRun = "whole run";

} // namespace

StageLog::StageLog(std::ostream& out, LogOptions options) : m_out(out), m_options(options) {}

Progress& StageLog::begin(std::string_view name) {
    end();
    m_stage = name;
    m_inStage = true;
    m_stageStart = Clock::now();
    m_stageCpuStart = ProcessCpuSeconds();
    if (!m_options.quiet) {
        m_out << m_stage << (m_options.live ? "..." : "...\n");
        m_liveLineOpen = m_options.live;
        m_out.flush();
    }
    return m_percent;
}

void StageLog::end() {
    if (!m_inStage)
        return;
    m_inStage = false;
    closeLiveLine();
    if (m_options.timings)
        timing(m_stage, m_stageStart, m_stageCpuStart);
}

void StageLog::finish() {
    end();
    if (m_options.timings)
        timing(kWholeRun, m_runStart, m_runCpuStart);
}

void StageLog::note(std::string_view text) {
    if (m_options.quiet)
        return;
    closeLiveLine();
    m_out << text << '\n';
    m_out.flush();
}

void StageLog::error(std::string_view text) {
    closeLiveLine();
    m_out << "vantrel-cli: " << text << '\n';
    m_out.flush();
}

void StageLog::showPercent(int percent) {
    if (m_options.quiet)
        return;
    if (m_options.live) {
        m_out << '\r' << m_stage << "... " << percent << '%';
        m_liveLineOpen = true;
    } else {
        m_out << m_stage << ": " << percent << "%\n";
    }
    m_out.flush();
}

void StageLog::closeLiveLine() {
    if (m_liveLineOpen) {
        m_out << '\n';
        m_out.flush();
        m_liveLineOpen = false;
    }
}

void StageLog::timing(std::string_view name, Clock::time_point since, double cpuSince) {
    const std::chrono::duration<double> seconds = Clock::now() - since;
    const double cpu = ProcessCpuSeconds() - cpuSince;
    char text[400];
    int length = std::snprintf(text, sizeof text, "timing: %.*s: %.3f s, cpu %.3f s",
                               static_cast<int>(name.size()), name.data(), seconds.count(), cpu);
    RunProcesses* processes = m_options.processes;
    if (processes && processes->count() > 1) {
        const auto [idlest, busiest] = processes->spread(cpu);
        length += std::snprintf(text + length, sizeof text - length,
                                " (busiest process %.3f s, idlest %.3f s)", busiest, idlest);
        if (name == kWholeRun) {
            const SharingSeconds sharing = processes->sharingSeconds();
            length += std::snprintf(
                text + length, sizeof text - length,
                ", handing out units and combining sums at most %.3f s cpu, waiting for others "
                "at most %.3f s",
                processes->spread(sharing.communicating).second,
                processes->spread(sharing.waiting).second);
        }
    }
    std::snprintf(text + length, sizeof text - length, ", peak memory %.1f MB\n",
                  static_cast<double>(PeakResidentBytes()) / (1024.0 * 1024.0));
    m_out << text;
    m_out.flush();
}

void StageLog::StagePercent::start(int totalSteps) {
    m_total = totalSteps;
    m_shown = -1;
}

void StageLog::StagePercent::advance(int done) {
    const int percent = m_total > 0 ? static_cast<int>(100LL * done / m_total) : 100;
    if (percent <= m_shown)
        return;
    // Without a live line a log file gets one line per tenth, not a hundred.
    if (m_log.m_options.live)
        m_log.showPercent(percent);
    else if (m_shown < 0 || percent / 10 > m_shown / 10)
        m_log.showPercent(percent / 10 * 10);
    m_shown = percent;
}

void StageLog::StagePercent::finish() {
    if (m_shown < 100)
        advance(m_total);
}

double ProcessCpuSeconds() {
    rusage usage{};
    if (getrusage(RUSAGE_SELF, &usage) != 0)
        return 0;
    const auto seconds = [](const timeval& time) { return time.tv_sec + time.tv_usec * 1e-6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

long long PeakResidentBytes() {
    // VmHWM is the high-water mark of the resident set; getrusage tells the same where there is
    // no /proc.
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("VmHWM:"))
            return std::stoll(line.substr(6)) * 1024;
    }
    rusage usage{};
    if (getrusage(RUSAGE_SELF, &usage) == 0)
        return static_cast<long long>(usage.ru_maxrss) * 1024;
    return 0;
}

} // namespace vantrel::cli
