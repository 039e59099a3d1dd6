#pragma once

#include <QLineF>
#include <QPolygonF>
#include <QRectF>
#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

#include "analysis/trend.h"

class QPainter;

namespace ritmova {

// The trend's stacked line plots over one horizontal axis: mean R-R, SDNN, RMSSD, LF/HF and
// HF %, each with its name and its range, and a strip of ticks at the artifacts. Each window
// is drawn at its first beat, or its start time. The lines are built when the data, the axis
// or the size change, a pixel column holding the least and the greatest value of its windows,
// so a paint only draws, however long the recording.
class TrendPlot final : public QWidget {
    Q_OBJECT

  public:
    enum class Axis { Beats, Minutes };

    explicit TrendPlot(QWidget* parent = nullptr);

    // `caption` heads the plots; without a series it is all the plot shows.
    void setSeries(std::shared_ptr<const TrendSeries> series, const QString& caption);
    void setAxis(Axis axis);
    // Where the pointer is over window `index` (within the plots).
    QPoint positionOf(std::size_t index) const;
    // The window's values as the pointer shows them.
    static QString describe(const TrendPoint& point);

  signals:
    // The values of the window under the pointer; empty when it leaves the plots.
    void hovered(const QString& text);
    void windowChosen(std::size_t firstBeat);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    struct Strip {
        QString name;
        QRectF frame;
        QString lowText;
        QString highText;
        std::vector<QPolygonF> lines;  // one per run of windows without a gap
    };
    struct Tick {
        QLineF line;
        QString text;
    };

    void layOut();
    void layOutStrips(const QRectF& area);
    void layOutAxis(const QRectF& area);
    void paintStrips(QPainter& painter) const;
    void paintAxis(QPainter& painter) const;
    double axisValue(std::size_t index) const;
    std::optional<std::size_t> windowAt(QPointF position) const;

    std::shared_ptr<const TrendSeries> series_;
    QString caption_;
    Axis axis_ = Axis::Beats;
    double axisStart_ = 0;
    double axisEnd_ = 1;
    QRectF plotArea_;
    std::vector<Strip> strips_;
    QRectF marksFrame_;
    std::vector<QLineF> marks_;
    std::vector<Tick> ticks_;
    QString axisTitle_;
    std::vector<double> pointX_;  // each window's x in pixels
    std::optional<std::size_t> hover_;
};

}  // namespace ritmova
