#pragma once

#include <QFrame>
#include <QRectF>
#include <functional>
#include <optional>
#include <utility>

class QPainter;

namespace ritmova {

// A plot of the standard analysis in a widget: a painting function draws it into the widget's
// rectangle, on the screen as on a printer or in an exported image.
class StandardPlotView : public QFrame {
    Q_OBJECT

  public:
    using Painter = std::function<void(QPainter&, const QRectF&)>;

    explicit StandardPlotView(QWidget* parent = nullptr);

    // Nothing to draw: the view stays blank.
    void setPainter(Painter painter);
    bool hasPlot() const { return static_cast<bool>(painter_); }

  protected:
    void paintEvent(QPaintEvent* event) override;
    // Called with the painter before the plot is painted, as the plot will paint.
    virtual void beforePainting(QPainter& painter, const QRectF& rect);
    QRectF plotRect() const;

  private:
    Painter painter_;
};

// The R-R or heart rate plot over time, where a drag along the time axis chooses the stretch.
class TachogramView final : public StandardPlotView {
    Q_OBJECT

  public:
    // The time (s) at the painter's x on the time axis of the plot painted into a rectangle.
    using TimeAt = std::function<std::optional<double>(QPainter&, const QRectF&, double x)>;

    explicit TachogramView(QWidget* parent = nullptr);

    void setTimeAt(TimeAt timeAt) { timeAt_ = std::move(timeAt); }
    // The time (s) at x as last painted; nullopt before.
    std::optional<double> timeAt(double x) const;

  signals:
    // A drag from one time to another (s), in either direction; `fromS` < `toS`.
    void stretchDragged(double fromS, double toS);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void beforePainting(QPainter& painter, const QRectF& rect) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    TimeAt timeAt_;
    // The time axis as last painted, which is linear: the times at x = 0 and x = 1.
    std::optional<std::pair<double, double>> timeAxis_;
    std::optional<double> dragStart_;  // x where the drag began
    double dragEnd_ = 0;
};

}  // namespace ritmova
