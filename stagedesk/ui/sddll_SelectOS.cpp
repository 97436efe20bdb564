#include "stagedesk/ui/sddll_SelectOS.h"

#include "stagedesk/core/sd_tasks.h"

#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

sddll_SelectOS::sddll_SelectOS(sd_xml& xml, QWidget* parent) : QWidget(parent), xml_(xml) {
    firstPrompt_ = new QLabel(this);
    firstPrompt_->setObjectName("firstPrompt");
    firstPrompt_->setWordWrap(true);
    types_ = new QListWidget(this);
    types_->setObjectName("types");
    secondPrompt_ = new QLabel(this);
    secondPrompt_->setObjectName("secondPrompt");
    secondPrompt_->setWordWrap(true);
    items_ = new QListWidget(this);
    items_->setObjectName("items");

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(firstPrompt_);
    layout->addWidget(types_);
    layout->addSpacing(6);
    layout->addWidget(secondPrompt_);
    layout->addWidget(items_);

    connect(types_, &QListWidget::currentRowChanged, this, [this] {
        ListItems();
        emit typeChanged();
    });
    // Chosen when highlighted: tabbing into the list makes a row current without choosing it.
    connect(items_, &QListWidget::itemSelectionChanged, this, [this] {
        const QString item = SelectedItem();
        if (!item.isNull())
            emit itemChosen(item);
    });
}

void sddll_SelectOS::sddll_OSSelection_Set(const QString& categoryName) {
    task_ = -1;
    for (int task = 0; task <= static_cast<int>(sd_Task::PrebootFiles); ++task) {
        if (categoryName == TaskInfo(sd_Task(task)).categoryName)
            task_ = task;
    }
    const QSignalBlocker quiet(types_);
    types_->clear();
    if (task_ >= 0)
        types_->addItems(CategoryTypes(xml_, sd_Task(task_)));
    ListItems();
}

void sddll_SelectOS::SetPrompts(const QString& first, const QString& second) {
    firstPrompt_->setText(first);
    secondPrompt_->setText(second);
}

void sddll_SelectOS::FocusTypes() {
    types_->setFocus(Qt::OtherFocusReason);
}

void sddll_SelectOS::SelectFirstType() {
    if (types_->count() > 0)
        types_->setCurrentRow(0);
}

QString sddll_SelectOS::SelectedItem() const {
    const QList<QListWidgetItem*> selected = items_->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}

bool sddll_SelectOS::BothSelected() const {
    return types_->currentRow() >= 0 && !items_->selectedItems().isEmpty();
}

void sddll_SelectOS::ListItems() {
    const QSignalBlocker quiet(items_);
    items_->clear();
    const QListWidgetItem* type = types_->currentItem();
    if (task_ >= 0 && type)
        items_->addItems(ItemNames(xml_, sd_Task(task_), type->text()));
}
