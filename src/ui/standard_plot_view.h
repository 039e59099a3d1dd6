#pragma once

#include <QFrame>
#include <QRectF>
#include <functional>
#include <optional>

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
    QRectF plotRect() const;

  private:
    Painter painter_;
};

// The R-R or heart rate plot over time, where a drag along the time axis chooses the stretch.
class TachogramView final : public StandardPlotView {
    Q_OBJECT

  public:
    // `timeAt` gives the time (s) at a position x of the plot drawn into a rectangle.
    using TimeAt = std::function<double(const QRectF& rect, double x)>;

    explicit TachogramView(QWidget* parent = nullptr);

    void setTimeAt(TimeAt timeAt) { timeAt_ = std::move(timeAt); }

  signals:
    // A drag from one time to another (s), in either direction; `fromS` < `toS`.
    void stretchDragged(double fromS, double toS);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    TimeAt timeAt_;
    std::optional<double> dragStart_;  // x where the drag began
    double dragEnd_ = 0;
};

}  // namespace ritmova
