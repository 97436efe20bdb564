// A label that shows a path after an optional lead-in text. The path is never broken inside: when it
// does not fit after the lead-in it goes onto a line of its own, and a path wider than the label is
// elided in the middle, so both its start and its file name stay readable. The whole path is the tool
// tip.
#pragma once

#include <QLabel>

class sd_PathLabel : public QLabel {
    Q_OBJECT
public:
    explicit sd_PathLabel(QWidget* parent = nullptr);

    void SetPath(const QString& leadIn, const QString& path);
    // The lead-in and the whole path, as if nothing were elided.
    QString FullText() const { return leadIn_ + path_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Refresh();

    QString leadIn_;
    QString path_;
};

// text with a word joiner between every two characters: a line is never broken inside it.
QString Unbreakable(const QString& text);
