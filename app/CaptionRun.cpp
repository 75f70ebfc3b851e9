#include "app/CaptionRun.h"

namespace {

// The text with every run of digits as one '#', so a progress caption keeps only its words.
QString shape(const QString& caption) {
    QString shaped;
    shaped.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        const bool digit = caption[i] >= u'0' && caption[i] <= u'9';
        if (!digit) {
            shaped += caption[i];
        } else if (i == 0 || !(caption[i - 1] >= u'0' && caption[i - 1] <= u'9')) {
            shaped += u'#';
        }
    }
    return shaped;
}

}  // namespace

bool sameCaptionRun(const QString& a, const QString& b) {
    const QString shaped = shape(a);
    return shaped.contains(u'#') && shaped == shape(b);
}
