#include "report/hrv_report_data.h"

#include "common/command_failure.h"
#include "measures/artifacts.h"
#include "standard/plot_data.h"
#include "standard/series.h"
#include "standard/stretch.h"

namespace ritmova {

HrvReportData AnalyseForReport(const Recording& recording, const HrvReportSettings& settings) {
    using namespace standard;
    const std::vector<double>& rr = recording.milliseconds;
    if (rr.empty()) throw CommandFailure("the recording holds no intervals");
    RequirePositiveIntervals(rr);
    HrvReportData data;
    data.timesS = BeatTimes(rr);
    StretchChoice choice = settings.stretch;
    choice.segmentS.reset();
    const Stretch stretch = PlanStretches(data.timesS, choice).stretches.front();
    const std::span<const double> intervals =
        std::span<const double>(rr).subspan(stretch.firstBeat - 1, stretch.intervals());
    data.results = AnalyseStretch(intervals, stretch, settings.analysis);
    data.analysedRrMs = AnalysedIntervals(intervals, stretch, settings.analysis);
    const std::vector<ArtifactRule> flags = FlagArtifacts(recording.intervals);
    for (std::size_t i = 0; i < flags.size(); ++i)
        if (flags[i] != ArtifactRule::None) data.artifactBeats.push_back(i + 1);
    data.beats = rr.size();
    data.durationS = data.timesS.back();
    return data;
}

}  // namespace ritmova
