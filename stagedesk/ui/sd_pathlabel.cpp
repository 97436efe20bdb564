#include "stagedesk/ui/sd_pathlabel.h"

#include <QResizeEvent>

namespace {

constexpr QChar kWordJoiner(0x2060);

} // namespace

QString Unbreakable(const QString& text) {
    QString joined;
    joined.reserve(text.size() * 2);
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (i > 0 && !text[i].isLowSurrogate())
            joined += kWordJoiner;
        joined += text[i];
    }
    return joined;
}

sd_PathLabel::sd_PathLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
}

void sd_PathLabel::SetPath(const QString& leadIn, const QString& path) {
    leadIn_ = leadIn;
    path_ = path;
    Refresh();
}

void sd_PathLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    if (event->size().width() != event->oldSize().width())
        Refresh();
}

void sd_PathLabel::Refresh() {
    const int width = qMax(1, contentsRect().width() - 2 * qMax(0, margin()));
    setText(leadIn_ + Unbreakable(fontMetrics().elidedText(path_, Qt::ElideMiddle, width)));
    setToolTip(path_);
}
