#include "stagedesk/ui/sddll_FileCopy.h"

#include "stagedesk/core/sd_text.h"
#include "stagedesk/ui/sd_pathlabel.h"

#include <QFormLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

// QProgressBar ignores values outside its range; a bar that is full stays full.
void Advance(QProgressBar& bar, int step) {
    bar.setValue(qBound(bar.minimum(), bar.value() + step, bar.maximum()));
}

template <class Label> Label* ElidedLabel(const char* name, QWidget* parent) {
    auto* label = new Label(parent);
    label->setObjectName(name);
    label->setMinimumWidth(1);
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    return label;
}

} // namespace

sddll_FileCopy::sddll_FileCopy(QWidget* parent) : QWidget(parent) {
    item_ = ElidedLabel<QLabel>("item", this);
    QFont bold = item_->font();
    bold.setBold(true);
    item_->setFont(bold);
    discBar_ = new QProgressBar(this);
    discBar_->setObjectName("discBar");
    overallBar_ = new QProgressBar(this);
    overallBar_->setObjectName("overallBar");
    currentFile_ = ElidedLabel<sd_PathLabel>("currentFile", this);
    target_ = ElidedLabel<sd_PathLabel>("target", this);
    bytes_ = ElidedLabel<QLabel>("bytes", this);
    status_ = new QPlainTextEdit(this);
    status_->setObjectName("status");
    status_->setReadOnly(true);
    setFocusProxy(status_); // the page's only field: its focus keeps Space and Enter off the buttons

    auto* form = new QFormLayout;
    form->addRow("Current disc:", discBar_);
    form->addRow("All discs:", overallBar_);
    form->addRow("Copying:", currentFile_);
    form->addRow("Target:", target_);
    form->addRow("Copied:", bytes_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(item_);
    layout->addLayout(form);
    layout->addWidget(status_, 1);
    Reset();
}

void sddll_FileCopy::Reset() {
    // A full bar over nothing copied would say the disc is done.
    discBar_->setRange(0, 1);
    discBar_->setValue(0);
    overallBar_->setRange(0, 1);
    overallBar_->setValue(0);
    status_->clear();
    currentFile_->SetPath(QString(), QString());
    bytes_->clear();
}

void sddll_FileCopy::UpdateProgress(int step, const QString& file) {
    Advance(*discBar_, step);
    Advance(*overallBar_, step);
    currentFile_->SetPath(QString(), file);
}

void sddll_FileCopy::UpdateStatus(const QString& text) {
    status_->appendPlainText(sd::StatusLine(text));
    status_->verticalScrollBar()->setValue(status_->verticalScrollBar()->maximum());
}

void sddll_FileCopy::AbortCopy(const QString& text) {
    UpdateStatus(text);
    emit copyEnded(false);
}

void sddll_FileCopy::FinishedCopy(const QString& text) {
    UpdateStatus(text);
    emit copyEnded(true);
}

void sddll_FileCopy::UpdateBytes(qint64 copied, qint64 total, qint64 secondsLeft) {
    bytes_->setText(sd::BytesProgressText(copied, total, secondsLeft));
}

void sddll_FileCopy::UpdateTargetText(const QString& text) {
    target_->SetPath(QString(), text);
}

void sddll_FileCopy::InitializeUI(int discValue, int discMaximum, int overallValue, int overallMaximum,
                                  const QString& itemName) {
    discBar_->setRange(1, qMax(discMaximum, 1));
    discBar_->setValue(qBound(discBar_->minimum(), discValue, discBar_->maximum()));
    overallBar_->setMaximum(qMax(overallMaximum, overallBar_->minimum()));
    overallBar_->setValue(qBound(overallBar_->minimum(), overallValue, overallBar_->maximum()));
    item_->setText(itemName);
}
