#include "report/edited_beats_file.h"

#include "common/command_failure.h"
#include "common/safe_text.h"
#include "ecg/beat_edits.h"
#include "ecg/ecg_record.h"
#include "report/file_save.h"

namespace ritmova {

std::string SaveEditedAnnotations(const std::string& record, const std::string& annotator,
                                  const ecg::BeatSeries& edited, const std::string& reference) {
    if (annotator == reference || annotator == "atr")
        throw CommandFailure("the edits are not saved over the reference annotations " +
                             QuotedToken(annotator) + ": choose another annotator name");
    const std::string path = ecg::AnnotationPath(record, annotator);
    SaveFile(path, ecg::EditedAnnotationBytes(edited), record);
    return path;
}

void SaveEditedIntervals(const std::string& path, const ecg::BeatSeries& edited,
                         bool normalToNormal, const std::string& record) {
    SaveFile(path, ecg::RrText(ecg::RrIntervals(edited, normalToNormal)), record);
}

}  // namespace ritmova
