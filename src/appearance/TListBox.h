#pragma once
// A list box with one selected entry that the user can move but not clear:
// neither a Ctrl+click on the selected entry nor a click below the last
// entry takes the selection away (the program may still clear it).
#include <QListWidget>

class TListBox : public QListWidget {
    Q_OBJECT
public:
    explicit TListBox(QWidget* parent = nullptr);

    // The selected row, -1 while none is selected.
    int ItemIndex() const;
    // Selects the row; -1 clears the selection.
    void setItemIndex(int row);

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index, const QEvent* event) const override;
};
