#include "ui/ecg_strip.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <iterator>

#include "common/command_failure.h"
#include "common/safe_text.h"

namespace ritmova {
namespace {

constexpr double DefaultSeconds = 10, ShortestSeconds = 1, LongestSeconds = 120;
constexpr double HitPixels = 6, DragPixels = 4;
constexpr double PeakSeconds = 0.08;  // how far from a click an added beat's R peak is sought
constexpr int LegendHeight = 18, AxisHeight = 20;
constexpr double ZoomStep = 1.25;

std::int64_t rounded(double value) {
    return static_cast<std::int64_t>(std::llround(value));
}

// The marks' colours, by ecg::BeatSource.
const QColor SourceColours[ecg::BeatSourceCount] = {QColor(0, 90, 200), QColor(0, 140, 60),
                                                    QColor(230, 120, 0), QColor(150, 0, 170)};
const QColor ArtifactColour(210, 0, 0);

// "1:02:03.5" or "2:03.5": a time on the strip's axis.
QString clockText(double seconds) {
    const auto tenths = static_cast<long long>(std::llround(seconds * 10));
    const long long hours = tenths / 36000, minutes = tenths / 600 % 60;
    const double rest = double(tenths % 600) / 10;
    QString text = QString("%1:%2").arg(minutes).arg(rest, 4, 'f', 1, QChar('0'));
    if (hours > 0) text = QString("%1:%2").arg(hours).arg(text.rightJustified(7, QChar('0')));
    return text;
}

}  // namespace

EcgStrip::EcgStrip(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(false);
    setMinimumSize(400, 200);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

void EcgStrip::setRecord(ecg::SignalReader* reader, ecg::BeatEdits* edits,
                         std::int64_t sampleCount) {
    reader_ = reader;
    edits_ = edits;
    sampleCount_ = std::max<std::int64_t>(sampleCount, 1);
    frequency_ = reader->frequencyHz();
    values_.clear();
    artifactBeats_.clear();
    showStretch(0, rounded(DefaultSeconds * frequency_));
}

void EcgStrip::setArtifacts(std::vector<bool> artifactBeats) {
    artifactBeats_ = std::move(artifactBeats);
    update();
}

void EcgStrip::showStretch(std::int64_t first, std::int64_t span) {
    if (!reader_) return;
    const auto shortest = rounded(ShortestSeconds * frequency_);
    const auto longest = rounded(LongestSeconds * frequency_);
    span_ = std::clamp<std::int64_t>(span, std::min(shortest, sampleCount_),
                                     std::max<std::int64_t>(1, std::min(longest, sampleCount_)));
    first_ = std::clamp<std::int64_t>(first, 0, sampleCount_ - span_);
    readStretch();
    update();
    emit stretchChanged(first_, span_);
}

void EcgStrip::zoom(double factor, std::int64_t around) {
    const double at = double(around - first_) / double(span_);
    const auto span = rounded(double(span_) * factor);
    showStretch(around - rounded(at * double(span)), span);
}

double EcgStrip::xOfSample(std::int64_t sample) const {
    return double(sample - first_) * width() / double(span_);
}

std::int64_t EcgStrip::sampleAt(double x) const {
    return first_ + rounded(x * double(span_) / std::max(1, width()));
}

std::int64_t EcgStrip::samplesPerPixels(double pixels) const {
    return std::max<std::int64_t>(1, rounded(pixels * double(span_) / std::max(1, width())));
}

std::int64_t EcgStrip::tickOf(std::int64_t sample) const {
    if (edits_->ticksPerSecond() == edits_->samplesPerSecond()) return sample;
    return rounded(double(sample) * edits_->ticksPerSecond() / edits_->samplesPerSecond());
}

std::int64_t EcgStrip::sampleOfTick(std::int64_t tick) const {
    if (edits_->ticksPerSecond() == edits_->samplesPerSecond()) return tick;
    return rounded(double(tick) * edits_->samplesPerSecond() / edits_->ticksPerSecond());
}

// Reads the stretch shown with half a stretch either side, unless that is held already.
void EcgStrip::readStretch() {
    const auto held = static_cast<std::int64_t>(values_.size());
    const bool within = first_ >= valuesFirst_ && first_ + span_ <= valuesFirst_ + held;
    if (within && held <= 4 * span_) return;
    valuesFirst_ = std::max<std::int64_t>(0, first_ - span_ / 2);
    try {
        values_ = reader_->readRange(valuesFirst_, static_cast<std::size_t>(2 * span_));
    } catch (const CommandFailure& failure) {
        values_.clear();
        emit editFailed(QString::fromStdString(failure.what()));
    }
}

template <typename Edit>
void EcgStrip::edit(const Edit& change) {
    try {
        change();
    } catch (const CommandFailure& failure) {
        emit editFailed(QString::fromStdString(failure.what()));
        return;
    }
    update();
    emit beatsEdited();
}

void EcgStrip::clickAt(std::int64_t sample) {
    if (!edits_) return;
    const auto near = edits_->beatNear(tickOf(sample), tickOf(samplesPerPixels(HitPixels)));
    if (near) return edit([&] { edits_->remove(*near); });
    const auto reach = rounded(PeakSeconds * frequency_);
    const std::int64_t peak = ecg::LocalExtremum(values_, valuesFirst_, sample, reach);
    edit([&] { edits_->add(tickOf(peak)); });
}

void EcgStrip::moveBeat(std::size_t index, std::int64_t sample) {
    if (!edits_) return;
    edit([&] {
        edits_->move(index, tickOf(std::clamp<std::int64_t>(sample, 0, sampleCount_ - 1)));
    });
}

void EcgStrip::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !edits_) return QWidget::mousePressEvent(event);
    pressed_ = event->position();
    pressedFirst_ = first_;
    dragging_ = false;
    pressedBeat_ = edits_->beatNear(tickOf(sampleAt(event->position().x())),
                                    tickOf(samplesPerPixels(HitPixels)));
}

// A drag from a beat carries the beat; from the trace, it scrolls the strip.
void EcgStrip::mouseMoveEvent(QMouseEvent* event) {
    if (!pressed_) return;
    const double dx = event->position().x() - pressed_->x();
    dragging_ = dragging_ || std::fabs(dx) >= DragPixels;
    if (!dragging_) return;
    if (pressedBeat_) {
        dragX_ = event->position().x();
        update();
    } else {
        showStretch(pressedFirst_ - rounded(dx * double(span_) / std::max(1, width())), span_);
    }
}

void EcgStrip::mouseReleaseEvent(QMouseEvent* event) {
    if (!pressed_ || event->button() != Qt::LeftButton) return;
    const double x = event->position().x();
    const std::optional<std::size_t> beat = pressedBeat_;
    const bool dragged = dragging_;
    pressed_.reset();
    pressedBeat_.reset();
    dragging_ = false;
    if (!dragged) return clickAt(sampleAt(x));
    if (beat) moveBeat(*beat, sampleAt(x));
}

void EcgStrip::wheelEvent(QWheelEvent* event) {
    const int steps = event->angleDelta().y();
    if (steps == 0) return;
    zoom(steps > 0 ? 1 / ZoomStep : ZoomStep, sampleAt(event->position().x()));
    event->accept();
}

void EcgStrip::keyPressEvent(QKeyEvent* event) {
    const std::int64_t middle = first_ + span_ / 2;
    switch (event->key()) {
        case Qt::Key_Left:
            showStretch(first_ - span_ / 4, span_);
            break;
        case Qt::Key_Right:
            showStretch(first_ + span_ / 4, span_);
            break;
        case Qt::Key_PageUp:
            showStretch(first_ - span_, span_);
            break;
        case Qt::Key_PageDown:
            showStretch(first_ + span_, span_);
            break;
        case Qt::Key_Home:
            showStretch(0, span_);
            break;
        case Qt::Key_End:
            showStretch(sampleCount_, span_);
            break;
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            zoom(1 / ZoomStep, middle);
            break;
        case Qt::Key_Minus:
            zoom(ZoomStep, middle);
            break;
        default:
            return QWidget::keyPressEvent(event);
    }
}

// The values shown, their lowest and highest with a margin; 1 either side of a flat line.
std::pair<float, float> EcgStrip::valueRange() const {
    const auto from =
        std::clamp<std::int64_t>(first_ - valuesFirst_, 0, std::int64_t(values_.size()));
    const auto to = std::clamp<std::int64_t>(from + span_, from, std::int64_t(values_.size()));
    if (from == to) return {-1.f, 1.f};
    const auto [low, high] = std::minmax_element(values_.begin() + from, values_.begin() + to);
    const float margin = (*high - *low) * 0.08f;
    if (!(margin > 0)) return {*low - 1, *high + 1};
    return {*low - margin, *high + margin};
}

void EcgStrip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (!reader_) return;
    const auto [low, high] = valueRange();
    drawTimeAxis(painter);
    drawTrace(painter, low, high);
    drawBeats(painter);
    drawLegend(painter);
}

void EcgStrip::drawTimeAxis(QPainter& painter) const {
    constexpr double Steps[] = {0.2, 0.5, 1, 2, 5, 10, 30, 60};
    const double pixelsPerSecond = width() * frequency_ / double(span_);
    double step = Steps[std::size(Steps) - 1];
    for (double candidate : Steps) {
        if (candidate * pixelsPerSecond >= 90) {
            step = candidate;
            break;
        }
    }
    const int bottom = height() - AxisHeight;
    painter.setPen(QColor(225, 225, 225));
    const double start = std::ceil(double(first_) / frequency_ / step) * step;
    for (double t = start; t * frequency_ <= double(first_ + span_); t += step) {
        const double x = xOfSample(rounded(t * frequency_));
        painter.setPen(QColor(225, 225, 225));
        painter.drawLine(QPointF(x, LegendHeight), QPointF(x, bottom));
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(QRectF(x + 3, bottom, 90, AxisHeight), Qt::AlignLeft | Qt::AlignVCenter,
                         clockText(t));
    }
}

// Each pixel column draws the lowest to the highest value it covers, so that a long stretch
// shows every R peak however many samples fall on one column.
void EcgStrip::drawTrace(QPainter& painter, float low, float high) const {
    const double top = LegendHeight, bottom = height() - AxisHeight;
    auto y = [&](float value) { return bottom - (value - low) * (bottom - top) / (high - low); };
    QPolygonF trace;
    const auto held = static_cast<std::int64_t>(values_.size());
    for (int x = 0; x < width(); ++x) {
        const auto from = std::clamp<std::int64_t>(sampleAt(x) - valuesFirst_, 0, held);
        const auto to = std::clamp<std::int64_t>(sampleAt(x + 1) - valuesFirst_, from, held);
        if (from == to) continue;
        const auto [lowest, highest] =
            std::minmax_element(values_.begin() + from, values_.begin() + to);
        trace << QPointF(x, y(*lowest));
        if (highest != lowest) trace << QPointF(x, y(*highest));
    }
    painter.setPen(QPen(palette().color(QPalette::Text), 1));
    painter.drawPolyline(trace);
}

void EcgStrip::drawBeats(QPainter& painter) const {
    const auto [from, to] = edits_->beatsBetween(tickOf(first_), tickOf(first_ + span_ + 1));
    const double bottom = height() - AxisHeight;
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (std::size_t i = from; i < to; ++i) {
        const ecg::EditedBeat& beat = edits_->beats()[i];
        const bool carried = dragging_ && pressedBeat_ == i;
        const double x = carried ? dragX_ : xOfSample(sampleOfTick(beat.tick));
        const QColor colour = SourceColours[static_cast<std::size_t>(beat.source)];
        painter.setPen(QPen(colour.lighter(160), 1, Qt::DashLine));
        painter.drawLine(QPointF(x, LegendHeight + 14), QPointF(x, bottom));
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawEllipse(QPointF(x, LegendHeight + 8), 4, 4);
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(QPointF(x + 6, LegendHeight + 12),
                         QString::fromStdString(ecg::CodeMnemonic(beat.code)));
        if (i < artifactBeats_.size() && artifactBeats_[i]) {
            painter.setPen(QPen(ArtifactColour, 2));
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(QPointF(x, LegendHeight + 8), 7, 7);
        }
    }
    painter.setBrush(Qt::NoBrush);
    painter.setRenderHint(QPainter::Antialiasing, false);
}

void EcgStrip::drawLegend(QPainter& painter) const {
    double x = 6;
    auto item = [&](const QColor& colour, const QString& name, bool ring) {
        painter.setPen(ring ? QPen(colour, 2) : Qt::NoPen);
        painter.setBrush(ring ? QBrush() : QBrush(colour));
        painter.drawEllipse(QPointF(x + 4, LegendHeight / 2.0), 4, 4);
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(QPointF(x + 12, LegendHeight - 5), name);
        x += 20 + painter.fontMetrics().horizontalAdvance(name);
    };
    for (std::size_t i = 0; i < ecg::BeatSourceCount; ++i)
        item(SourceColours[i], ecg::BeatSourceNames[i], false);
    item(ArtifactColour, "artifact", true);
    painter.setBrush(Qt::NoBrush);
    const ecg::ChannelInfo& info = reader_->info();
    painter.drawText(QRectF(0, 0, width() - 6, LegendHeight), Qt::AlignRight | Qt::AlignVCenter,
                     QString::fromStdString(SafeText(info.label + " (" + info.units + ")")));
}

}  // namespace ritmova
