#include "stagedesk/ui/sd_taskpictures.h"

#include <QPainter>
#include <QPainterPath>

namespace {

void DrawDisc(QPainter& p) {
    p.setBrush(QColor(200, 205, 215));
    p.setPen(QColor(90, 95, 110));
    p.drawEllipse(QRectF(1.5, 1.5, 17, 17));
    p.setBrush(QColor(150, 180, 230));
    p.setPen(Qt::NoPen);
    p.drawPie(QRectF(3, 3, 14, 14), 30 * 16, 60 * 16);
    p.setBrush(Qt::white);
    p.setPen(QColor(90, 95, 110));
    p.drawEllipse(QRectF(7.5, 7.5, 5, 5));
}

void DrawChip(QPainter& p) {
    p.setPen(QPen(QColor(150, 150, 150), 1.5));
    for (int x = 5; x <= 15; x += 5) {
        p.drawLine(QPointF(x, 1), QPointF(x, 19));
        p.drawLine(QPointF(1, x), QPointF(19, x));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(45, 50, 60));
    p.drawRoundedRect(QRectF(3.5, 3.5, 13, 13), 2, 2);
    p.setBrush(QColor(80, 170, 90));
    p.drawEllipse(QRectF(5.5, 5.5, 3, 3));
}

void DrawToolbox(QPainter& p) {
    p.setPen(QPen(QColor(110, 30, 30), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(6.5, 2.5, 7, 5), 1.5, 1.5);
    p.setBrush(QColor(200, 55, 45));
    p.drawRoundedRect(QRectF(1.5, 6.5, 17, 11), 2, 2);
    p.setPen(QPen(QColor(240, 200, 80), 2));
    p.drawLine(QPointF(2, 11), QPointF(18, 11));
}

void DrawWindow(QPainter& p) {
    p.setPen(QColor(40, 70, 130));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(1.5, 2.5, 17, 15));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 110, 200));
    p.drawRect(QRectF(2, 3, 16, 4));
    p.setBrush(QColor(180, 200, 235));
    p.drawRect(QRectF(4, 9, 6, 6));
}

void DrawBoot(QPainter& p) {
    p.setPen(QColor(20, 100, 40));
    p.setBrush(QColor(50, 160, 70));
    p.drawEllipse(QRectF(1.5, 1.5, 17, 17));
    QPainterPath arrow;
    arrow.moveTo(8, 5.5);
    arrow.lineTo(14.5, 10);
    arrow.lineTo(8, 14.5);
    arrow.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(arrow);
}

} // namespace

QPixmap TaskPicture(sd_Task task, int size) {
    QPixmap picture(size, size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(double(size) / kTaskPictureSize, double(size) / kTaskPictureSize);
    switch (task) {
    case sd_Task::InstallationFiles:
        DrawDisc(painter);
        break;
    case sd_Task::DriverFiles:
        DrawChip(painter);
        break;
    case sd_Task::UtilityFiles:
        DrawToolbox(painter);
        break;
    case sd_Task::ApplicationFiles:
        DrawWindow(painter);
        break;
    case sd_Task::PrebootFiles:
        DrawBoot(painter);
        break;
    }
    return picture;
}

QIcon ApplicationIcon() {
    QIcon icon;
    for (int size : {16, 32, 48})
        icon.addPixmap(TaskPicture(sd_Task::InstallationFiles, size));
    return icon;
}
