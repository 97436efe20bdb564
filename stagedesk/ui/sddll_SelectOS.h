// The wizard's selection page: the category types of a task and the items of the chosen type, each
// list under its prompt.
#pragma once

#include <QWidget>

class QLabel;
class QListWidget;
class sd_xml;

class sddll_SelectOS : public QWidget {
    Q_OBJECT
public:
    explicit sddll_SelectOS(sd_xml& xml, QWidget* parent = nullptr);

    // Lists the category types of the task whose category name this is ("OSFiles", "Driver Files", ...).
    void sddll_OSSelection_Set(const QString& categoryName);
    void SetPrompts(const QString& first, const QString& second);
    void SelectFirstType();
    void FocusTypes();
    QString SelectedItem() const;
    bool BothSelected() const;

signals:
    void typeChanged();
    void itemChosen(const QString& item);

private:
    void ListItems();

    sd_xml& xml_;
    int task_ = -1;
    QLabel* firstPrompt_;
    QLabel* secondPrompt_;
    QListWidget* types_;
    QListWidget* items_;
};
