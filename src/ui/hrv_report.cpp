#include "ui/hrv_report.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>
#include <functional>

#include "common/command_failure.h"
#include "common/safe_text.h"
#include "report/file_save.h"
#include "report/standard_rows.h"
#include "standard/measure_rows.h"
#include "ui/plot_axes.h"
#include "ui/standard_plots.h"

namespace ritmova {
namespace {

using namespace standard;

constexpr int Resolution = 300;    // dots per inch of the PDF's drawing
constexpr double LogicalDpi = 96;  // the pages are laid out in 96-dpi pixels
constexpr double MarginMm = 15;
constexpr double ColumnGap = 24;

QFont reportFont(int pixels, bool bold = false) {
    QFont font("DejaVu Sans");
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QString qText(const std::string& text) {
    return QString::fromStdString(text);
}

// The page's text, line after line from the top of `area`; each line's height is the font's.
class TextFlow {
  public:
    TextFlow(QPainter& painter, const QRectF& area)
        : painter_(painter), area_(area), y_(area.top()) {}

    void line(const QString& text, const QFont& font) {
        painter_.setFont(font);
        const double height = QFontMetricsF(font, painter_.device()).height();
        painter_.drawText(QRectF(area_.left(), y_, area_.width(), height),
                          Qt::AlignLeft | Qt::AlignTop, text);
        y_ += height;
    }
    // A label and its text beside it, wrapped within the page.
    void labelled(const QString& label, const QString& text, double labelWidth) {
        painter_.setFont(reportFont(11, true));
        painter_.drawText(QRectF(area_.left(), y_, labelWidth, 100), Qt::AlignLeft | Qt::AlignTop,
                          label);
        painter_.setFont(reportFont(11));
        const QRectF box(area_.left() + labelWidth, y_, area_.width() - labelWidth, area_.height());
        QRectF used;
        painter_.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text, &used);
        y_ += used.height() + 2;
    }
    void skip(double pixels) { y_ += pixels; }
    double y() const { return y_; }

  private:
    QPainter& painter_;
    QRectF area_;
    double y_;
};

std::string durationText(double seconds) {
    const auto whole = static_cast<long long>(seconds);
    char clock[32];
    std::snprintf(clock, sizeof clock, "%lld:%02lld:%02lld", whole / 3600, whole / 60 % 60,
                  whole % 60);
    return std::string(clock) + " (" + FixedText(seconds, 1) + " s)";
}

void drawHeader(TextFlow& flow, const ReportInput& input, const HrvReportData& data,
                const QDateTime& when) {
    flow.line("Ritmova HRV report", reportFont(20, true));
    flow.skip(6);
    const QFont font = reportFont(12);
    flow.line("File: " + qText(SafeText(input.name)), font);
    flow.line(qText("Recording: " + std::to_string(data.beats) + " intervals, " +
                    durationText(data.durationS)),
              font);
    flow.line("Analysed: " + when.toString("yyyy-MM-dd HH:mm:ss") + " " +
                  when.timeZoneAbbreviation() + " by Ritmova " + RITMOVA_VERSION,
              font);
    flow.skip(8);
}

void drawSummary(TextFlow& flow, QPainter& painter, const std::vector<SummaryLine>& lines) {
    double labelWidth = 0;
    const QFontMetricsF bold(reportFont(11, true), painter.device());
    for (const SummaryLine& line : lines)
        labelWidth = std::max(labelWidth, bold.horizontalAdvance(qText(line.label)) + 10);
    for (const SummaryLine& line : lines) {
        if (line.label != "File") flow.labelled(qText(line.label), qText(line.text), labelWidth);
    }
    flow.skip(10);
}

// One row of the results: the label, the value right-aligned before its unit, or the reason.
void drawRow(QPainter& painter, const QRectF& row, const StandardRowText& text) {
    painter.setFont(reportFont(11));
    painter.setPen(Qt::black);
    painter.drawText(row, Qt::AlignLeft | Qt::AlignVCenter, PlotText(text.label));
    const double valueEnd = row.left() + row.width() * 0.72;
    if (text.value.empty()) {
        painter.setFont(reportFont(9));
        painter.setPen(Qt::darkGray);
        const QRectF reason(row.left() + row.width() * 0.46, row.top(), row.width() * 0.54,
                            row.height());
        const QString elided =
            QFontMetricsF(painter.font(), painter.device())
                .elidedText(qText("absent: " + text.reason), Qt::ElideRight, reason.width());
        painter.drawText(reason, Qt::AlignLeft | Qt::AlignVCenter, elided);
        return;
    }
    painter.drawText(QRectF(row.left(), row.top(), valueEnd - row.left(), row.height()),
                     Qt::AlignRight | Qt::AlignVCenter, qText(text.value));
    painter.drawText(QRectF(valueEnd + 5, row.top(), row.right() - valueEnd - 5, row.height()),
                     Qt::AlignLeft | Qt::AlignVCenter, PlotText(text.unit));
}

// The results in two columns, group by group; past the second column's end on a new page.
void drawResults(QPainter& painter, const QRectF& area, double top,
                 const std::vector<StandardRowText>& rows, const std::function<void()>& newPage) {
    const double height = QFontMetricsF(reportFont(11), painter.device()).height() + 1;
    const double width = (area.width() - ColumnGap) / 2;
    int column = 0;
    double y = top;
    const auto next = [&](double needed) {
        if (y + needed <= area.bottom()) return;
        if (++column == 2) {
            newPage();
            column = 0;
            top = area.top();
        }
        y = top;
    };
    for (const MeasureGroup& group : MeasureGroups) {
        next(3 * height);
        const double left = area.left() + column * (width + ColumnGap);
        painter.setFont(reportFont(12, true));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(left, y + 4, width, height), Qt::AlignLeft | Qt::AlignVCenter,
                         PlotText(group.label));
        y += height + 4;
        for (const StandardRowText& row : rows) {
            if (row.group != group.label) continue;
            next(height);
            drawRow(painter, QRectF(area.left() + column * (width + ColumnGap), y, width, height),
                    row);
            y += height;
        }
    }
}

// The plots, in rows: the tachogram across the page, then two beside each other in each row.
void drawPlots(QPainter& painter, const QRectF& area, const HrvReportData& data,
               std::span<const double> recordingRrMs) {
    painter.setFont(reportFont(10));
    const StretchResults& r = data.results;
    const double half = (area.width() - ColumnGap) / 2;
    const double tachogramHeight = area.height() * 0.2;
    const double rowHeight = (area.height() - tachogramHeight - 3 * ColumnGap / 2) / 3;
    const auto cell = [&](int row, int column) {
        return QRectF(
            area.left() + column * (half + ColumnGap),
            area.top() + tachogramHeight + ColumnGap / 2 + row * (rowHeight + ColumnGap / 2), half,
            rowHeight);
    };
    PaintTachogram(painter, QRectF(area.left(), area.top(), area.width(), tachogramHeight),
                   {recordingRrMs, data.timesS, r.stretch.startS, r.stretch.endS,
                    data.artifactBeats, r.correction.correctedBeats, false});
    PaintSpectrum(painter, cell(0, 0), r, SpectrumMethod::Welch);
    PaintSpectrum(painter, cell(0, 1), r, SpectrumMethod::LombScargle);
    PaintPoincare(painter, cell(1, 0), data.analysedRrMs, r);
    PaintHistogram(painter, cell(1, 1), data.analysedRrMs);
    PaintDfa(painter, cell(2, 0), r);
    PaintSpectrum(painter, cell(2, 1), r, SpectrumMethod::Autoregressive);
}

void setUpWriter(QPdfWriter& writer, const ReportInput& input, const QPageSize& page) {
    writer.setResolution(Resolution);
    writer.setPageSize(page);
    writer.setPageMargins(QMarginsF(MarginMm, MarginMm, MarginMm, MarginMm),
                          QPageLayout::Millimeter);
    writer.setTitle("Ritmova HRV report: " + qText(SafeText(input.name)));
    writer.setCreator(QString("Ritmova ") + RITMOVA_VERSION);
}

}  // namespace

QPageSize ReportPageSize() {
    return QLocale::system().measurementSystem() == QLocale::ImperialUSSystem
               ? QPageSize(QPageSize::Letter)
               : QPageSize(QPageSize::A4);
}

QByteArray RenderHrvReportPdf(const ReportInput& input, const QDateTime& when,
                              const QPageSize& page) {
    if (!input.recording) throw CommandFailure("no recording is open");
    const HrvReportData data = AnalyseForReport(*input.recording, input.settings);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    setUpWriter(writer, input, page);
    QPainter painter(&writer);
    if (!painter.isActive()) throw CommandFailure("the report could not be drawn");
    const double scale = Resolution / LogicalDpi;
    painter.scale(scale, scale);
    const QRectF area(0, 0, writer.width() / scale, writer.height() / scale);
    TextFlow flow(painter, area);
    drawHeader(flow, input, data, when);
    drawSummary(flow, painter,
                StandardSummaryLines(data.results,
                                     {input.name, input.recording->units, input.settings.stretch}));
    drawResults(painter, area, flow.y(), StandardRowTexts(data.results),
                [&writer] { writer.newPage(); });
    writer.newPage();
    drawPlots(painter, area, data, input.recording->milliseconds);
    painter.end();
    return bytes;
}

void WriteHrvReportPdf(const ReportInput& input, const std::string& out, const QDateTime& when) {
    const QByteArray bytes = RenderHrvReportPdf(input, when, ReportPageSize());
    SaveFile(out, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
             input.path);
}

}  // namespace ritmova
