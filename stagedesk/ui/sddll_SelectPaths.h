// The wizard's paths page: where the item comes from (a folder or a disc's drive) and the name of its
// folder in the kit, with the note that says where that folder goes.
#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class sd_PathLabel;
class sd_xml;

class sddll_SelectPaths : public QWidget {
    Q_OBJECT
public:
    explicit sddll_SelectPaths(sd_xml& xml, QWidget* parent = nullptr);

    void SetItemFile(const QString& itemFile) { itemFile_ = itemFile; }
    // An item that copies into a folder it does not question ("skip_path_check") keeps its proposed
    // name: the destination box is read-only for it.
    void CheckDisableTarget();
    void SetSourcePrompt(const QString& text);
    // prefix followed by the folder the destination goes into.
    void SetDestinationNote(const QString& prefix, const QString& folder);
    // At most 8 characters when the DOS-only naming applies; 0 for no limit.
    void LimitDestination(int characters);

    QString Source() const;
    QString Destination() const;
    void SetSource(const QString& text);
    void SetDestination(const QString& text);
    // Gives the box the focus with its text selected.
    void SelectSource();
    void SelectDestination();
    void FocusSource();

signals:
    void sourceChanged(const QString& text);
    void destinationChanged(const QString& text);

private:
    void Browse();

    sd_xml& xml_;
    QString itemFile_;
    QLabel* sourcePrompt_;
    QLineEdit* source_;
    QLineEdit* destination_;
    sd_PathLabel* note_;
};
