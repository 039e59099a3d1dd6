#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QPageSize>
#include <string>

#include "analysis/recording.h"
#include "report/hrv_report_data.h"

// The HRV report: a PDF of two pages with the recording, the date and time of the analysis,
// Ritmova's version, the settings and the correction, every result of the standard analysis
// with its unit as text, and its plots, drawn by the painters the window uses.
namespace ritmova {

struct ReportInput {
    std::string path;                      // the recording's file: the report never replaces it
    std::string name;                      // as the report names it
    const Recording* recording = nullptr;  // read with ReadOptions::exact
    HrvReportSettings settings;
};

// The page size of the user's locale: Letter where the system measures in inches (US), else A4.
QPageSize ReportPageSize();

// The report as PDF bytes. Throws CommandFailure when the analysis cannot be made.
QByteArray RenderHrvReportPdf(const ReportInput& input, const QDateTime& when,
                              const QPageSize& page);

// Renders the report in memory, then writes it to `out` by SaveFile's rules (atomically; a
// failure leaves an existing file as it was). Throws CommandFailure with the reason.
void WriteHrvReportPdf(const ReportInput& input, const std::string& out,
                       const QDateTime& when = QDateTime::currentDateTime());

}  // namespace ritmova
