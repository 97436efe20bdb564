// A task link of the main window: a link label that is one Tab stop of its own, shows a focus frame,
// and is followed by Enter or Space as by a click.
#pragma once

#include <QLabel>

class sd_TaskLink : public QLabel {
    Q_OBJECT
public:
    explicit sd_TaskLink(const QString& text, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    // A label steps through its links on Tab before it lets go; its one link is the label itself.
    bool focusNextPrevChild(bool next) override { return QWidget::focusNextPrevChild(next); }
};
