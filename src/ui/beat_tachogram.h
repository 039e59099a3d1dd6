#pragma once

#include <QWidget>
#include <vector>

namespace ritmova {

// The beat review's tachogram: each R-R interval (s) at the time of the beat that ends it,
// over the whole record, the stretch the ECG strip shows shaded and the artifacts in red. A
// click (or a drag) asks the strip to show that time.
class BeatTachogram final : public QWidget {
    Q_OBJECT

  public:
    explicit BeatTachogram(QWidget* parent = nullptr);

    // `times` (s) and `seconds` of each interval, `flagged` for the artifacts; the record
    // lasts `duration` seconds.
    void setIntervals(std::vector<double> times, std::vector<double> seconds,
                      std::vector<bool> flagged, double duration);
    // The stretch the strip shows, in seconds.
    void setShown(double from, double to);

    double timeAt(double x) const;
    double xOfTime(double seconds) const;
    std::size_t intervalCount() const { return seconds_.size(); }

  signals:
    void timeChosen(double seconds);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    void drawIntervals(QPainter& painter, double low, double high) const;

    std::vector<double> times_, seconds_;
    std::vector<bool> flagged_;
    double duration_ = 1;
    double shownFrom_ = 0, shownTo_ = 0;
};

}  // namespace ritmova
