#include "stagedesk/ui/sddll_FileCopy.h"

#include "stagedesk/core/sd_text.h"

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

QLabel* ElidedLabel(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setMinimumWidth(1);
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    return label;
}

} // namespace

sddll_FileCopy::sddll_FileCopy(QWidget* parent) : QWidget(parent) {
    item_ = ElidedLabel("item", this);
    QFont bold = item_->font();
    bold.setBold(true);
    item_->setFont(bold);
    discBar_ = new QProgressBar(this);
    discBar_->setObjectName("discBar");
    overallBar_ = new QProgressBar(this);
    overallBar_->setObjectName("overallBar");
    currentFile_ = ElidedLabel("currentFile", this);
    target_ = ElidedLabel("target", this);
    bytes_ = ElidedLabel("bytes", this);
    status_ = new QPlainTextEdit(this);
    status_->setObjectName("status");
    status_->setReadOnly(true);

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
    discBar_->setRange(1, 1);
    discBar_->setValue(1);
    overallBar_->setRange(0, 1);
    overallBar_->setValue(0);
    status_->clear();
    currentFile_->clear();
    bytes_->clear();
}

void sddll_FileCopy::UpdateProgress(int step, const QString& file) {
    Advance(*discBar_, step);
    Advance(*overallBar_, step);
    currentFile_->setText(file);
}

void sddll_FileCopy::UpdateStatus(const QString& text) {
    status_->appendPlainText(sd::StatusLine(text));
    status_->verticalScrollBar()->setValue(status_->verticalScrollBar()->maximum());
}

void sddll_FileCopy::AbortCopy(const QString& text) {
    UpdateStatus(text);
    emit copyEnded();
}

void sddll_FileCopy::FinishedCopy(const QString& text) {
    UpdateStatus(text);
    emit copyEnded();
}

void sddll_FileCopy::UpdateBytes(qint64 copied, qint64 total, qint64 secondsLeft) {
    bytes_->setText(sd::BytesProgressText(copied, total, secondsLeft));
}

void sddll_FileCopy::UpdateTargetText(const QString& text) {
    target_->setText(text);
}

void sddll_FileCopy::InitializeUI(int discValue, int discMaximum, int overallValue, int overallMaximum,
                                  const QString& itemName) {
    discBar_->setMaximum(qMax(discMaximum, discBar_->minimum()));
    discBar_->setValue(qBound(discBar_->minimum(), discValue, discBar_->maximum()));
    overallBar_->setMaximum(qMax(overallMaximum, overallBar_->minimum()));
    overallBar_->setValue(qBound(overallBar_->minimum(), overallValue, overallBar_->maximum()));
    item_->setText(itemName);
}
