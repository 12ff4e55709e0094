#pragma once

#include <QDialog>

class QLineEdit;
class QListWidget;
class QListWidgetItem;

namespace ferlin {

class ScreenHost;

// The author picker (form F_auteur): the author criterion's value, picked from the base's
// authors or typed and confirmed with Enter. Opened modally or shown beside the search screen;
// built on first use, hidden after use, never destroyed.
class AuthorPicker : public QDialog {
    Q_OBJECT
public:
    explicit AuthorPicker(ScreenHost &window, QWidget *parent = nullptr);

    // Opens the picker as a modal dialog; returns when it is hidden.
    void openModal();
    // Shows the picker without blocking when it is hidden, hides it when it is shown.
    void toggleShown();

Q_SIGNALS:
    // The new caption of Lab_auteur.
    void authorChosen(const QString &author);

private:
    void chooseListedAuthor(QListWidgetItem *item);

    QListWidget *m_authors;
    QLineEdit *m_typed;
};

} // namespace ferlin
