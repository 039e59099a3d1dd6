// Analysis → Trend: the window over the whole recording, its pointer, its click and Open.
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QMouseEvent>

#include "ui/trend_plot.h"
#include "ui/trend_window.h"
#include "window_fixture.h"

namespace ritmova {
namespace {

using Trend = test::WindowTest;

// Processes events until the trend's computation has ended, for at most 20 s.
bool computed(TrendWindow& trend) {
    QElapsedTimer clock;
    clock.start();
    while (trend.computing() && clock.elapsed() < 20'000) QApplication::processEvents();
    return !trend.computing();
}

void sendMouse(QWidget& widget, QEvent::Type type, QPoint at) {
    const Qt::MouseButtons buttons = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, widget.mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

TEST_F(Trend, PointerShowsAWindowAClickChoosesItAndAnOpenIsFollowed) {
    form.AnalysisMenuItem_Click(Form1::TrendItem);
    EXPECT_EQ(status(), "no recording is open");
    open(test::ExampleRecording);
    form.AnalysisMenuItem_Click(Form1::TrendItem);
    TrendWindow& trend = *form.trendWindow();
    ASSERT_TRUE(computed(trend));
    EXPECT_EQ(trend.series()->points.size(), 1745u);  // 2,000 beats, every beat
    trend.stepChoice().setCurrentIndex(3);            // every 256 beats: 7 windows
    ASSERT_TRUE(computed(trend));
    std::vector<std::size_t> chosen;
    QObject::connect(&trend, &TrendWindow::windowChosen,
                     [&chosen](std::size_t beat) { chosen.push_back(beat); });
    const QPoint third = trend.plot().positionOf(2);
    sendMouse(trend.plot(), QEvent::MouseMove, third);
    EXPECT_TRUE(trend.statusText().startsWith("beats 513-768, from "))
        << trend.statusText().toStdString();
    EXPECT_EQ(trend.statusText(), TrendPlot::describe(trend.series()->points.at(2)));
    sendMouse(trend.plot(), QEvent::MouseButtonPress, third);
    EXPECT_EQ(chosen, std::vector<std::size_t>{513});
    EXPECT_TRUE(form.windowField()->text().contains("beats 513-768 of 2000"));
    const QString other = RITMOVA_EXAMPLES_DIR "/bartelshrv-rest.int";
    open(other);  // the trend on the screen follows
    ASSERT_TRUE(computed(trend));
    EXPECT_EQ(trend.series()->beats, 910u);
    trend.close();  // forgets the recording
    EXPECT_TRUE(!trend.series() && trend.fileName().isEmpty());
}

}  // namespace
}  // namespace ritmova
