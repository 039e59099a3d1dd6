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
    if (r.reached >= PassStep::TimeDomain) DrawTachogram(window.picture(PictureId::Picture1), r);
    if (r.spectrumMax.powers > 0) {
        window.setLabelCaption(LabelId::Label1_2, SpectrumCaption(r.spectrumMax.value));
    }
    if (r.reached < PassStep::Measures) return;
    const ResultTexts texts = FormatResults(r);
    window.setLabelCaption(LabelId::Label2, ResultsSummary(texts, fileName));
    state.reportText = BuildReportText(texts, fileName);
    window.setButtonEnabled(ButtonId::Command3, true);
    DrawSpectrum(window.picture(PictureId::Picture2), r);
    PictureBox& poincare = window.picture(PictureId::Picture3);
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
    window.setLabelCaption(LabelId::Label5, MarkovPanelText(state.markov));
    if (!state.markov.nakahamaIndex) throw CommandFailure(OneStateReason);
    window.setPanelVisible(true);
}

}  // namespace ritmova
