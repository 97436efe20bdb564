#include "stagedesk/ui/frm_About.h"

#include "stagedesk/ui/sd_taskpictures.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

frm_About::frm_About(const QString& version, QWidget* parent) : QDialog(parent) {
    setWindowTitle("About");
    setWindowIcon(ApplicationIcon());

    auto* picture = new QLabel(this);
    picture->setPixmap(TaskPicture(sd_Task::InstallationFiles, 40));
    auto* name = new QLabel("Torvik Harborline Kitorium Configurator", this);
    name->setObjectName("name");
    QFont bold = name->font();
    bold.setBold(true);
    name->setFont(bold);
    auto* versionLabel = new QLabel("v. " + version, this);
    versionLabel->setObjectName("version");
    auto* rights = new QLabel("Copyright \u00A9 Torvik. All rights reserved.", this);
    rights->setObjectName("rights");
    auto* ok = new QPushButton("&OK", this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* texts = new QVBoxLayout;
    texts->addWidget(name);
    texts->addWidget(versionLabel);
    texts->addSpacing(12);
    texts->addWidget(rights);
    auto* top = new QHBoxLayout;
    top->addWidget(picture, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(texts);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(12);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
