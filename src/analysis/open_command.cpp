#include "analysis/open_command.h"

#include "analysis/time_domain.h"
#include "report/results_text.h"
#include "spectral/band_measures.h"
#include "spectral/power_spectrum.h"
#include "ui/plots.h"

namespace ritmova {

bool ChooseIntervalFile(WindowPort& window) {
    window.clearScreen();
    CommonDialog& dialog = window.dialog(DialogId::CommonDialog1);
    dialog.setFilter(IntervalFilter);
    dialog.setFilterIndex(1);
    return dialog.showOpen();
}

OpenResult OpenCommand(AnalysisState& state, WindowPort& window, PassValues& pass,
                       PassOutput output) {
    if (!ChooseIntervalFile(window)) return OpenResult::Cancelled;
    pass.InputFileName = window.dialog(DialogId::CommonDialog1).fileName();
    // Read into a buffer first, so that a short or bad file leaves the state untouched.
    const IntervalValues values = ReadIntervalFile(pass.InputFileName);
    RunAnalysisPass(state, window, values, pass, output);
    return OpenResult::Completed;
}

namespace {

void commitSeries(AnalysisState& state, const IntervalValues& values) {
    const float mean = RunningMean(values);
    state.FftData.fill(0);
    for (int i = 1; i <= BeatCount; ++i) {
        state.RRSeries[i] = values[static_cast<std::size_t>(i - 1)];
        state.RRSeriesAsRead[i] = state.RRSeries[i];
    }
    state.MeanRR = mean;
}

void computeSpectrum(AnalysisState& state, WindowPort& window, PassValues& pass,
                     PassOutput output) {
    PrepareSeries(state);
    TransformSeries(state);
    ClearBandMeasures(state);
    pass.SpectrumMax = ComputePowerSpectrum(state, [&window, output](float maximum) {
        if (output == PassOutput::Window) {
            window.setLabelCaption(LabelId::Label1_2, SpectrumCaption(maximum));
        }
    });
    ComputeBandMeasures(state);
}

}  // namespace

void RunAnalysisPass(AnalysisState& state, WindowPort& window, const IntervalValues& values,
                     PassValues& pass, PassOutput output) {
    pass.PoincareR.reset();
    commitSeries(state, values);
    pass.timeDomain = ComputeTimeDomain(state);
    pass.PlotScale = 2;
    if (output == PassOutput::MeasuresOnly) {
        computeSpectrum(state, window, pass, output);
        LfHfRatio(state);  // fails here when the HF band holds no power, as the summary would
        pass.PoincareR = PoincareCorrelation(state);
        return;
    }
    DrawTachogram(window.picture(PictureId::Picture1), state, pass.PlotScale);
    computeSpectrum(state, window, pass, output);
    const ResultTexts texts = FormatResults(state, pass);
    window.setLabelCaption(LabelId::Label2, ResultsSummary(texts, pass.InputFileName));
    state.ReportText = BuildReportText(texts, pass.InputFileName);
    window.setButtonEnabled(ButtonId::Command3, true);
    DrawSpectrum(window.picture(PictureId::Picture2), state, pass.SpectrumMax);
    pass.PoincareR = DrawPoincare(window.picture(PictureId::Picture3), state);
}

}  // namespace ritmova
