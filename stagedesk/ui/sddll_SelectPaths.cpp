#include "stagedesk/ui/sddll_SelectPaths.h"

#include "stagedesk/core/sd_xml.h"
#include "stagedesk/ui/sd_pathlabel.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

sddll_SelectPaths::sddll_SelectPaths(sd_xml& xml, QWidget* parent) : QWidget(parent), xml_(xml) {
    sourcePrompt_ = new QLabel(this);
    sourcePrompt_->setObjectName("sourcePrompt");
    sourcePrompt_->setWordWrap(true);
    source_ = new QLineEdit(this);
    source_->setObjectName("source");
    auto* browse = new QPushButton("B&rowse...", this);
    browse->setAutoDefault(true);
    auto* destinationPrompt = new QLabel("Please provide a name for the destination directory:", this);
    destination_ = new QLineEdit(this);
    destination_->setObjectName("destination");
    note_ = new sd_PathLabel(this);
    note_->setObjectName("destinationNote");
    note_->setWordWrap(true);

    auto* layout = new QGridLayout(this);
    layout->addWidget(sourcePrompt_, 0, 0, 1, 2);
    layout->addWidget(source_, 1, 0);
    layout->addWidget(browse, 1, 1);
    layout->setRowMinimumHeight(2, 16);
    layout->addWidget(destinationPrompt, 3, 0, 1, 2);
    layout->addWidget(destination_, 4, 0);
    layout->addWidget(note_, 5, 0, 1, 2);
    layout->setRowStretch(6, 1);

    connect(browse, &QPushButton::clicked, this, &sddll_SelectPaths::Browse);
    connect(source_, &QLineEdit::textChanged, this, &sddll_SelectPaths::sourceChanged);
    connect(destination_, &QLineEdit::textChanged, this, &sddll_SelectPaths::destinationChanged);
}

void sddll_SelectPaths::CheckDisableTarget() {
    destination_->setReadOnly(!itemFile_.isEmpty() && xml_.CheckNodeExists("skip_path_check", itemFile_));
}

void sddll_SelectPaths::SetSourcePrompt(const QString& text) {
    sourcePrompt_->setText(text);
}

void sddll_SelectPaths::SetDestinationNote(const QString& prefix, const QString& folder) {
    note_->SetPath(prefix, folder);
}

void sddll_SelectPaths::LimitDestination(int characters) {
    destination_->setMaxLength(characters > 0 ? characters : 32767);
}

QString sddll_SelectPaths::Source() const {
    return source_->text();
}

QString sddll_SelectPaths::Destination() const {
    return destination_->text();
}

void sddll_SelectPaths::SetSource(const QString& text) {
    source_->setText(text);
}

void sddll_SelectPaths::SetDestination(const QString& text) {
    destination_->setText(text);
}

void sddll_SelectPaths::SelectSource() {
    source_->setFocus();
    source_->selectAll();
}

void sddll_SelectPaths::SelectDestination() {
    destination_->setFocus();
    destination_->selectAll();
}

void sddll_SelectPaths::FocusSource() {
    source_->setFocus(Qt::OtherFocusReason);
}

void sddll_SelectPaths::Browse() {
    const QString folder = QFileDialog::getExistingDirectory(this, "Select the source", source_->text());
    if (!folder.isEmpty())
        source_->setText(QDir::toNativeSeparators(folder));
}
