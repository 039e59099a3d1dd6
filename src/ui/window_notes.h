#pragma once

#include <QDateTime>
#include <QString>
#include <string>

// What the window says of a file it wrote, and what its prints and images say of the
// recording they show.
namespace ritmova {

// The status bar's note after a command wrote `path`: "Results saved to PATH", "Image
// exported to PATH". The path is shown safely (SafeText).
QString SavedNote(const std::string& path);
QString ExportedNote(const std::string& path);

// The image name Export image offers for the recording at `recording`: its name with .png for
// its suffix, in its folder ("/data/rec.int" gives "/data/rec.png"); empty for none, or for
// standard input.
QString ImageNameFor(const std::string& recording);

// The line a print carries: what the window shows (the status bar's field of the file and its
// beats) and when it was printed, "rec.int · beats 1-256 of 900 · s · 0 artifacts · printed
// 2026-12-07 17:30"; empty when nothing is shown.
QString PrintedLine(const QString& shown, const QDateTime& when);

}  // namespace ritmova
