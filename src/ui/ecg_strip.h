#pragma once

#include <QWidget>
#include <cstdint>
#include <optional>
#include <vector>

#include "ecg/beat_edits.h"
#include "ecg/signal_reader.h"

namespace ritmova {

// The ECG strip of the beat review: a stretch of one channel's physical values with the beats
// marked by where they come from (reference, detected, added, moved) and the artifacts ringed.
// Only the stretch shown is read, on demand. The wheel and +/- zoom, a drag on the trace and
// the arrows, Page Up/Down, Home and End scroll; a click adds a beat at the R peak near the
// pointer or removes the beat under it, and a drag moves one.
class EcgStrip final : public QWidget {
    Q_OBJECT

  public:
    explicit EcgStrip(QWidget* parent = nullptr);

    // Shows the channel `reader` reads, `sampleCount` samples long, with the beats of `edits`;
    // both stay the caller's and outlive their use here. Starts at the record's beginning.
    void setRecord(ecg::SignalReader* reader, ecg::BeatEdits* edits, std::int64_t sampleCount);
    // For each beat, whether the interval ending at it is flagged as an artifact.
    void setArtifacts(std::vector<bool> artifactBeats);

    std::int64_t first() const { return first_; }
    std::int64_t span() const { return span_; }
    // Shows `span` samples from `first`, kept within the record and the zoom's limits.
    void showStretch(std::int64_t first, std::int64_t span);
    void centreOn(std::int64_t sample) { showStretch(sample - span_ / 2, span_); }
    // Narrows (factor < 1) or widens the stretch, keeping `around` where it is drawn.
    void zoom(double factor, std::int64_t around);

    // Where sample `sample` is drawn, and the sample drawn at `x`.
    double xOfSample(std::int64_t sample) const;
    std::int64_t sampleAt(double x) const;
    // The values read for the stretch shown (a little more, to scroll without reading again).
    std::size_t valuesHeld() const { return values_.size(); }

    // A click at `sample`: removes the beat drawn there, else adds one at the R peak near it.
    void clickAt(std::int64_t sample);
    // Moves beat `index` to `sample`.
    void moveBeat(std::size_t index, std::int64_t sample);

  signals:
    void stretchChanged(std::int64_t first, std::int64_t span);
    void beatsEdited();
    void editFailed(const QString& reason);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    std::int64_t tickOf(std::int64_t sample) const;
    std::int64_t sampleOfTick(std::int64_t tick) const;
    std::int64_t samplesPerPixels(double pixels) const;
    void readStretch();
    std::pair<float, float> valueRange() const;
    void drawTrace(QPainter& painter, float low, float high) const;
    void drawBeats(QPainter& painter) const;
    void drawTimeAxis(QPainter& painter) const;
    void drawLegend(QPainter& painter) const;
    template <typename Edit>
    void edit(const Edit& change);

    ecg::SignalReader* reader_ = nullptr;
    ecg::BeatEdits* edits_ = nullptr;
    std::vector<bool> artifactBeats_;
    std::int64_t sampleCount_ = 0;
    double frequency_ = 0;
    std::int64_t first_ = 0, span_ = 1;
    std::int64_t valuesFirst_ = 0;  // the sample of values_[0]
    std::vector<float> values_;
    // The pointer's gesture: where it was pressed, the beat under it, and whether it moved.
    std::optional<QPointF> pressed_;
    std::optional<std::size_t> pressedBeat_;
    std::int64_t pressedFirst_ = 0;
    double dragX_ = 0;
    bool dragging_ = false;
};

}  // namespace ritmova
