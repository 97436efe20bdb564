#include "stagedesk/ui/sd_tasklink.h"

#include <QKeyEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace {

QString LinkMarkup(const QString& text) {
    return text.isEmpty() ? QString() : "<a href=\"task\" style=\"color:#1a4fa0\">" + text + "</a>";
}

} // namespace

sd_TaskLink::sd_TaskLink(const QString& text, QWidget* parent) : QLabel(LinkMarkup(text), parent) {
    setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    setFocusPolicy(Qt::StrongFocus);
    setContentsMargins(2, 0, 2, 0); // room for the focus frame
}

void sd_TaskLink::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        emit linkActivated("task");
        return;
    default:
        QLabel::keyPressEvent(event);
    }
}

void sd_TaskLink::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    QStylePainter painter(this);
    QStyleOptionFocusRect frame;
    frame.initFrom(this);
    frame.backgroundColor = palette().color(QPalette::Window);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, frame);
}
