// The About box: the program's name, "v. " + the configured version, and the rights line.
#pragma once

#include <QDialog>

class frm_About : public QDialog {
    Q_OBJECT
public:
    explicit frm_About(const QString& version, QWidget* parent = nullptr);
};
