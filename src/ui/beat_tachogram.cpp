#include "ui/beat_tachogram.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace ritmova {
namespace {

constexpr int Margin = 4, ScaleWidth = 44;
constexpr double LongestShown = 3;  // s: longer intervals are drawn at the top edge

}  // namespace

BeatTachogram::BeatTachogram(QWidget* parent) : QWidget(parent) {
    setMinimumHeight(90);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    setCursor(Qt::PointingHandCursor);
}

void BeatTachogram::setIntervals(std::vector<double> times, std::vector<double> seconds,
                                 std::vector<bool> flagged, double duration) {
    times_ = std::move(times);
    seconds_ = std::move(seconds);
    flagged_ = std::move(flagged);
    duration_ = duration > 0 ? duration : 1;
    update();
}

void BeatTachogram::setShown(double from, double to) {
    shownFrom_ = from;
    shownTo_ = to;
    update();
}

double BeatTachogram::xOfTime(double seconds) const {
    return ScaleWidth + seconds * (width() - ScaleWidth - Margin) / duration_;
}

double BeatTachogram::timeAt(double x) const {
    const double t = (x - ScaleWidth) * duration_ / std::max(1, width() - ScaleWidth - Margin);
    return std::clamp(t, 0.0, duration_);
}

void BeatTachogram::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit timeChosen(timeAt(event->position().x()));
}

void BeatTachogram::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton) emit timeChosen(timeAt(event->position().x()));
}

// Every pixel column draws the range of the intervals ending in it: a day's 100 000 beats
// take as long to draw as a few hundred.
void BeatTachogram::drawIntervals(QPainter& painter, double low, double high) const {
    const double top = Margin, bottom = height() - Margin;
    auto y = [&](double s) {
        return bottom - (std::min(s, high) - low) * (bottom - top) / (high - low);
    };
    const QColor normal = palette().color(QPalette::Text), artifact(210, 0, 0);
    std::size_t i = 0;
    while (i < seconds_.size()) {
        const int column = int(xOfTime(times_[i]));
        double lowest = seconds_[i], highest = seconds_[i];
        bool flagged = false;
        for (; i < seconds_.size() && int(xOfTime(times_[i])) == column; ++i) {
            lowest = std::min(lowest, seconds_[i]);
            highest = std::max(highest, seconds_[i]);
            flagged = flagged || (i < flagged_.size() && flagged_[i]);
        }
        painter.setPen(flagged ? artifact : normal);
        painter.drawLine(QPointF(column, y(lowest)), QPointF(column, y(highest) - 0.5));
    }
}

void BeatTachogram::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRectF shown(xOfTime(shownFrom_), 0,
                       std::max(2.0, xOfTime(shownTo_) - xOfTime(shownFrom_)), height());
    painter.fillRect(shown, QColor(255, 225, 150));
    if (seconds_.empty()) return;
    double high = *std::max_element(seconds_.begin(), seconds_.end());
    high = std::min(LongestShown, std::ceil(high * 5) / 5);
    const double low = 0;
    if (!(high > low)) high = low + 1;
    painter.setPen(palette().color(QPalette::Text));
    const QString top = QString::number(high, 'f', 1) + " s";
    painter.drawText(QRectF(0, 0, ScaleWidth - 4, 16), Qt::AlignRight | Qt::AlignTop, top);
    painter.drawText(QRectF(0, height() - 16, ScaleWidth - 4, 16), Qt::AlignRight | Qt::AlignBottom,
                     "0 s");
    drawIntervals(painter, low, high);
}

}  // namespace ritmova
