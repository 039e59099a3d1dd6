#include "ui/trend_plot.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace ritmova {
namespace {

constexpr double LabelWidth = 100;  // names and ranges, left of the plots
constexpr double RightMargin = 12;
constexpr double CaptionHeight = 24;
constexpr double AxisHeight = 38;
constexpr double MarksHeight = 16;
constexpr double StripGap = 6;
const QColor FrameColour(160, 160, 160);

QString fromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString valueText(const TrendMeasure& measure, double value) {
    const QString number = QString::number(value, 'f', measure.decimals);
    return measure.unit.empty() ? number : number + ' ' + fromView(measure.unit);
}

QString stripName(const TrendMeasure& measure) {
    const QString name = fromView(measure.label);
    return measure.unit.empty() ? name : name + " (" + fromView(measure.unit) + ")";
}

// The least and the greatest value of the windows that have values.
std::pair<double, double> rangeOf(std::size_t strip, const std::vector<TrendPoint>& points) {
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    for (const TrendPoint& point : points) {
        if (!point.measures) continue;
        low = std::min(low, (*point.measures)[strip]);
        high = std::max(high, (*point.measures)[strip]);
    }
    return {low, high};
}

// Builds the lines of one measure, pixel column by pixel column, broken at every gap.
class LineBuilder {
  public:
    LineBuilder(const QRectF& frame, double low, double high)
        : frame_(frame), low_(low), high_(high) {}

    void add(double x, double value) {
        const int column = static_cast<int>(std::floor(x));
        if (column != column_) {
            flush();
            column_ = column;
            columnLow_ = columnHigh_ = value;
        }
        columnLow_ = std::min(columnLow_, value);
        columnHigh_ = std::max(columnHigh_, value);
    }
    void gap() {
        flush();
        if (!line_.empty()) lines_.push_back(std::exchange(line_, {}));
    }
    std::vector<QPolygonF> finish() {
        gap();
        return std::move(lines_);
    }

  private:
    double y(double value) const {
        if (high_ == low_) return frame_.center().y();
        return frame_.bottom() - (value - low_) / (high_ - low_) * frame_.height();
    }
    void flush() {
        if (column_ == NoColumn) return;
        const double x = column_ + 0.5;
        line_ << QPointF(x, y(columnLow_));
        if (columnHigh_ != columnLow_) line_ << QPointF(x, y(columnHigh_));
        column_ = NoColumn;
    }

    static constexpr int NoColumn = std::numeric_limits<int>::min();
    QRectF frame_;
    double low_;
    double high_;
    int column_ = NoColumn;
    double columnLow_ = 0;
    double columnHigh_ = 0;
    QPolygonF line_;
    std::vector<QPolygonF> lines_;
};

// A round step between axis labels, giving about `wanted` labels over `range`.
double roundStep(double range, double wanted) {
    const double raw = range / wanted;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    for (double multiple : {1.0, 2.0, 5.0}) {
        if (multiple * magnitude >= raw) return multiple * magnitude;
    }
    return 10 * magnitude;
}

}  // namespace

TrendPlot::TrendPlot(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setMinimumSize(480, 360);
}

void TrendPlot::setSeries(std::shared_ptr<const TrendSeries> series, const QString& caption) {
    series_ = std::move(series);
    caption_ = caption;
    hover_.reset();
    layOut();
    update();
}

void TrendPlot::setAxis(Axis axis) {
    axis_ = axis;
    layOut();
    update();
}

double TrendPlot::axisValue(std::size_t index) const {
    const TrendPoint& point = series_->points[index];
    return axis_ == Axis::Beats ? static_cast<double>(point.firstBeat) : point.startMinutes;
}

void TrendPlot::layOut() {
    strips_.clear();
    marks_.clear();
    ticks_.clear();
    pointX_.clear();
    plotArea_ = QRectF(LabelWidth, CaptionHeight, width() - LabelWidth - RightMargin,
                       height() - CaptionHeight - AxisHeight);
    if (!series_ || series_->points.empty() || plotArea_.width() < 1) return;
    const bool beats = axis_ == Axis::Beats;
    axisStart_ = beats ? 1 : 0;
    axisEnd_ = beats ? static_cast<double>(series_->beats) : series_->totalMinutes;
    if (!(axisEnd_ > axisStart_)) axisEnd_ = axisStart_ + 1;  // intervals of 0 add no time
    const double scale = plotArea_.width() / (axisEnd_ - axisStart_);
    pointX_.resize(series_->points.size());
    for (std::size_t i = 0; i < pointX_.size(); ++i) {
        pointX_[i] = plotArea_.left() + (axisValue(i) - axisStart_) * scale;
    }
    layOutStrips(plotArea_);
    layOutAxis(plotArea_);
}

void TrendPlot::layOutStrips(const QRectF& area) {
    const double count = static_cast<double>(TrendKeys.size());
    const double height = (area.height() - MarksHeight - count * StripGap) / count;
    double top = area.top();
    for (std::size_t index = 0; index < TrendKeys.size(); ++index) {
        const TrendMeasure& measure = *TrendMeasures()[index];
        const auto [low, high] = rangeOf(index, series_->points);
        Strip strip{stripName(measure), QRectF(area.left(), top, area.width(), height), "", "", {}};
        if (low <= high) {
            strip.lowText = valueText(measure, low);
            strip.highText = valueText(measure, high);
            LineBuilder builder(strip.frame, low, high);
            for (std::size_t i = 0; i < pointX_.size(); ++i) {
                const std::optional<TrendValues>& values = series_->points[i].measures;
                values ? builder.add(pointX_[i], (*values)[index]) : builder.gap();
            }
            strip.lines = builder.finish();
        }
        strips_.push_back(std::move(strip));
        top += height + StripGap;
    }
    marksFrame_ = QRectF(area.left(), top, area.width(), MarksHeight);
}

void TrendPlot::layOutAxis(const QRectF& area) {
    const double scale = area.width() / (axisEnd_ - axisStart_);
    std::vector<bool> marked(static_cast<std::size_t>(area.width()) + 1);
    for (const ArtifactMark& mark : series_->artifacts) {
        const double value = axis_ == Axis::Beats ? static_cast<double>(mark.beat) : mark.minutes;
        const double x = std::floor((value - axisStart_) * scale);
        if (x < 0 || x >= static_cast<double>(marked.size())) continue;
        const auto column = static_cast<std::size_t>(x);
        if (marked[column]) continue;
        marked[column] = true;
        const double left = area.left() + x + 0.5;
        marks_.emplace_back(left, marksFrame_.top() + 2, left, marksFrame_.bottom() - 2);
    }
    const double step = roundStep(axisEnd_ - axisStart_, std::max(2.0, area.width() / 90));
    for (double value = std::ceil(axisStart_ / step) * step; value <= axisEnd_; value += step) {
        const double x = area.left() + (value - axisStart_) * scale;
        ticks_.push_back(
            {QLineF(x, area.bottom(), x, area.bottom() + 4), QString::number(value, 'g', 10)});
    }
    axisTitle_ = axis_ == Axis::Beats ? tr("beat (each window at its first beat)")
                                      : tr("time in minutes (each window at its start)");
}

void TrendPlot::resizeEvent(QResizeEvent*) {
    layOut();
}

void TrendPlot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setPen(Qt::black);
    if (strips_.empty()) {
        painter.drawText(rect(), Qt::AlignCenter, caption_);
        return;
    }
    painter.drawText(QRectF(LabelWidth, 0, plotArea_.width(), CaptionHeight),
                     Qt::AlignLeft | Qt::AlignVCenter, caption_);
    paintStrips(painter);
    paintAxis(painter);
}

void TrendPlot::paintStrips(QPainter& painter) const {
    const double labelRight = LabelWidth - 6;
    for (const Strip& strip : strips_) {
        painter.setPen(FrameColour);
        painter.drawRect(strip.frame);
        painter.setPen(Qt::black);
        const QRectF labels(0, strip.frame.top(), labelRight, strip.frame.height());
        painter.drawText(labels, Qt::AlignRight | Qt::AlignTop, strip.highText);
        painter.drawText(labels, Qt::AlignRight | Qt::AlignVCenter, strip.name);
        painter.drawText(labels, Qt::AlignRight | Qt::AlignBottom, strip.lowText);
        painter.save();
        painter.setPen(QColor(0, 0, 160));
        painter.setClipRect(strip.frame.adjusted(-1, -1, 1, 1));  // start times may go back
        for (const QPolygonF& line : strip.lines) {
            if (line.size() == 1) {
                painter.drawPoint(line.front());
            } else {
                painter.drawPolyline(line);
            }
        }
        painter.restore();
    }
    painter.setPen(FrameColour);
    painter.drawRect(marksFrame_);
    painter.setPen(Qt::black);
    painter.drawText(QRectF(0, marksFrame_.top(), labelRight, marksFrame_.height()),
                     Qt::AlignRight | Qt::AlignVCenter, tr("artifacts"));
    painter.setPen(QColor(192, 0, 0));
    painter.drawLines(marks_.data(), static_cast<int>(marks_.size()));
}

// The axis's ticks, labels and title, and the line at the window under the pointer.
void TrendPlot::paintAxis(QPainter& painter) const {
    painter.setPen(Qt::black);
    for (const Tick& tick : ticks_) {
        painter.drawLine(tick.line);
        const QPointF foot = tick.line.p2();
        const bool last = foot.x() + 50 > width();  // kept whole at the right edge
        painter.drawText(QRectF(last ? width() - 100 : foot.x() - 50, foot.y(), 100, 16),
                         last ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignCenter, tick.text);
    }
    painter.drawText(QRectF(plotArea_.left(), height() - 18, plotArea_.width(), 18),
                     Qt::AlignCenter, axisTitle_);
    if (hover_) {
        painter.setPen(QColor(0, 128, 0));
        const double x = pointX_[*hover_];
        painter.drawLine(QLineF(x, plotArea_.top(), x, marksFrame_.bottom()));
    }
}

std::optional<std::size_t> TrendPlot::windowAt(QPointF position) const {
    const QRectF area(plotArea_.topLeft(), marksFrame_.bottomRight());
    if (pointX_.empty() || !area.adjusted(-2, 0, 2, 0).contains(position)) return std::nullopt;
    std::size_t nearest = 0;
    for (std::size_t i = 1; i < pointX_.size(); ++i) {
        if (std::abs(pointX_[i] - position.x()) < std::abs(pointX_[nearest] - position.x())) {
            nearest = i;
        }
    }
    return nearest;
}

QPoint TrendPlot::positionOf(std::size_t index) const {
    return QPointF(pointX_.at(index), plotArea_.center().y()).toPoint();
}

QString TrendPlot::describe(const TrendPoint& point) {
    QString text = tr("beats %1-%2, from %3 min: ")
                       .arg(point.firstBeat)
                       .arg(point.firstBeat + BeatCount - 1)
                       .arg(point.startMinutes, 0, 'f', 2);
    if (point.measures) {
        for (std::size_t index = 0; index < TrendKeys.size(); ++index) {
            const TrendMeasure& measure = *TrendMeasures()[index];
            text += fromView(measure.label) + ' ' + valueText(measure, (*point.measures)[index]);
            text += ", ";
        }
    } else {
        text += tr("no values (%1), ").arg(QString::fromStdString(point.failure));
    }
    const std::size_t artifacts = point.artifacts;
    return text + (artifacts == 1 ? tr("1 artifact") : tr("%1 artifacts").arg(artifacts));
}

void TrendPlot::mouseMoveEvent(QMouseEvent* event) {
    const std::optional<std::size_t> window = windowAt(event->position());
    if (window == hover_) return;
    hover_ = window;
    update();
    emit hovered(window ? describe(series_->points[*window]) : QString());
}

void TrendPlot::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    if (const std::optional<std::size_t> window = windowAt(event->position())) {
        emit windowChosen(series_->points[*window].firstBeat);
    }
}

void TrendPlot::leaveEvent(QEvent*) {
    if (!hover_) return;
    hover_.reset();
    update();
    emit hovered(QString());
}

}  // namespace ritmova
