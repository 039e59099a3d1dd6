#include "ui/pass_view.h"

#include "common/command_failure.h"
#include "report/markov_text.h"
#include "report/results_text.h"
#include "ui/plots.h"

namespace ritmova {
namespace {

// Shows as much of the pass as it computed.
void showPass(WindowPort& window, WindowState& state, const std::string& fileName) {
    const PassResults& r = state.pass;
    if (r.reached >= PassStep::TimeDomain) DrawTachogram(window.picture(PictureId::Tachogram), r);
    if (r.spectrumMax.powers > 0) {
        window.setLabelCaption(LabelId::SpectrumTop, SpectrumCaption(r.spectrumMax.value));
    }
    if (r.reached < PassStep::Measures) return;
    const ResultTexts texts = FormatResults(r);
    window.setLabelCaption(LabelId::Summary, ResultsSummary(texts, fileName));
    state.reportText = BuildReportText(texts, fileName);
    window.setButtonEnabled(ButtonId::SaveResults, true);
    DrawSpectrum(window.picture(PictureId::Spectrum), r);
    PictureBox& poincare = window.picture(PictureId::Poincare);
    DrawPoincareDots(poincare, r);
    if (r.reached < PassStep::Complete) return;
    if (!r.poincareR) {
        throw CommandFailure("no variation between successive beats: r is undefined");
    }
    DrawPoincareTexts(poincare, *r.poincareR);
}

}  // namespace

void AnalyseAndShow(WindowPort& window, WindowState& state, const IntervalValues& values,
                    const std::string& fileName) {
    try {
        AnalysePass(values, state.pass);
    } catch (const CommandFailure&) {
        showPass(window, state, fileName);
        throw;
    }
    showPass(window, state, fileName);
}

void AnalyseAndShowMarkov(WindowPort& window, WindowState& state) {
    const PassResults& pass = state.pass;
    AnalyseMarkov(pass.beats(pass.seriesAsRead), pass.meanRR, pass.timeDomain.sdnn, state.markov);
    window.setLabelCaption(LabelId::MarkovText, MarkovPanelText(state.markov));
    if (!state.markov.nakahamaIndex) throw CommandFailure(OneStateReason);
    window.setPanelVisible(true);
}

}  // namespace ritmova
